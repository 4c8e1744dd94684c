#pragma once
// Helpers shared by the core tests: the folder of real C3D files, scratch
// folders, and whole-file reads.

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testsupport {

// Folder of the real C3D corpus, or empty when this checkout has none (a
// folder that holds no .c3d file counts as none).
// QUORVEL_TESTDATA (environment) overrides the build-time location.
std::string CorpusDir();
// Every .c3d file of the corpus, sorted by name.
std::vector<std::string> CorpusFiles();
// Full path of one corpus file (empty when the corpus is missing).
std::string CorpusFile(const std::string& name);

// A fresh folder removed (with its contents) when the object goes away.
class CTempDir {
 public:
  CTempDir();
  ~CTempDir();
  CTempDir(const CTempDir&) = delete;
  CTempDir& operator=(const CTempDir&) = delete;
  const std::string& Path() const { return m_strPath; }
  std::string File(const std::string& name) const { return m_strPath + "/" + name; }

 private:
  std::string m_strPath;
};

std::vector<unsigned char> ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::vector<unsigned char>& bytes);
void WriteText(const std::string& path, const std::string& text);

}  // namespace testsupport

// Skips the current test when the corpus is not there.
#define REQUIRE_CORPUS()                                                                 \
  do {                                                                                   \
    if (testsupport::CorpusDir().empty())                                                \
      GTEST_SKIP() << "C3D corpus not found (set QUORVEL_TESTDATA or check out the "     \
                      "shared test data beside the repository)";                         \
  } while (0)
