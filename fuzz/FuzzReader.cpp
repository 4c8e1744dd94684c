// libFuzzer entry for the C3D reader and writer. Each input is opened as a
// C3D file; when it opens, it is saved and the saved file is opened again,
// which must succeed and give the same counts.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "c3d/C3d.h"

namespace {

std::string g_strFolder;

void RemoveFolder() {
  if (!g_strFolder.empty()) ::rmdir(g_strFolder.c_str());
}

bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "quorvel-fuzz-reader: saved file %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Headers that promise huge stores are refused quickly instead of
  // allocating gigabytes.
  CC3d::SetStoreLimit(64ull << 20);
  // Saved copies go to memory when possible: every save syncs its file, and
  // on a disk that would dominate the run.
  char shm[] = "/dev/shm/quorvel-fuzz-XXXXXX";
  char tmp[] = "/tmp/quorvel-fuzz-XXXXXX";
  char* pattern = ::access("/dev/shm", W_OK) == 0 ? shm : tmp;
  if (!::mkdtemp(pattern)) {
    std::perror("quorvel-fuzz-reader: mkdtemp");
    std::exit(1);
  }
  g_strFolder = pattern;
  std::atexit(RemoveFolder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int fd = ::memfd_create("c3d-input", MFD_CLOEXEC);
  if (fd < 0 || !WriteAll(fd, data, size)) {
    if (fd >= 0) ::close(fd);
    return 0;
  }
  CC3d c3d;
  c3d.m_strFileName = "/proc/self/fd/" + std::to_string(fd);
  if (c3d.Open() == 1) {
    std::string saved = g_strFolder + "/saved.c3d";
    std::string error;
    if (c3d.SaveToFile(saved, error)) {
      CC3d again;
      again.m_strFileName = saved;
      Check(again.Open() == 1, "does not open");
      Check(again.PointCount() == c3d.PointCount(), "has another number of points");
      Check(again.AnalogCount() == c3d.AnalogCount(), "has another number of analog channels");
      Check(again.FrameCount() == c3d.FrameCount(), "has another number of frames");
      Check(again.IsReal() == c3d.IsReal(), "has another storage kind");
      // A parameter whose name starts with a zero byte cannot be written (its
      // record would end the section); every other one must come back.
      size_t named = 0;
      for (const CParam& p : c3d.m_params) named += p.m_strName.empty() ? 0 : 1;
      Check(again.m_params.size() == named, "has another number of parameters");
    }
    ::unlink(saved.c_str());
  }
  ::close(fd);
  return 0;
}
