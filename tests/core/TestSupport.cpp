#include "TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <filesystem>
#include <fstream>
#include <iterator>


namespace fs = std::filesystem;

namespace testsupport {

namespace {

bool IsC3dFile(const fs::directory_entry& entry) {
  std::error_code ec;
  return entry.is_regular_file(ec) && entry.path().extension() == ".c3d";
}

}  // namespace

std::string CorpusDir() {
  const char* env = std::getenv("QUORVEL_TESTDATA");
  std::string dir = env && *env ? env : QUORVEL_TESTDATA_DIR;
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) return std::string();
  // A folder without a single C3D file (say, a data checkout that was never
  // filled) counts as no corpus: the tests that need it skip rather than
  // fail on files that are not there.
  fs::directory_iterator it(dir, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    if (IsC3dFile(*it)) return fs::canonical(dir, ec).string();
  }
  return std::string();
}

std::vector<std::string> CorpusFiles() {
  std::vector<std::string> files;
  std::string dir = CorpusDir();
  if (dir.empty()) return files;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (IsC3dFile(entry)) files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string CorpusFile(const std::string& name) {
  std::string dir = CorpusDir();
  return dir.empty() ? std::string() : dir + "/" + name;
}

CTempDir::CTempDir() {
  std::string pattern = (fs::temp_directory_path() / "quorvel-test-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!::mkdtemp(buffer.data())) throw std::runtime_error("cannot create a scratch folder");
  m_strPath = buffer.data();
}

CTempDir::~CTempDir() {
  std::error_code ec;
  fs::remove_all(m_strPath, ec);
}

std::vector<unsigned char> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

}  // namespace testsupport
