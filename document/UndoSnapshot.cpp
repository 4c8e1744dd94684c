// The undo snapshot file: a private temporary file holding every sample
// store of the document as it was before the last snapshot-based command.
#include "document/UndoSnapshot.h"

#include <fcntl.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <utility>
#include <vector>

#include "c3d/C3d.h"

namespace {

void PutU16(unsigned char* out, unsigned value) {
  out[0] = static_cast<unsigned char>(value & 0xff);
  out[1] = static_cast<unsigned char>((value >> 8) & 0xff);
}

unsigned GetU16(const unsigned char* in) { return in[0] | (static_cast<unsigned>(in[1]) << 8); }

// Samples go to the file in little-endian order whatever the host's order.
template <typename T>
void ToLittleEndian(T* values, size_t count) {
  if constexpr (std::endian::native == std::endian::big) {
    for (size_t i = 0; i < count; ++i) {
      unsigned char* b = reinterpret_cast<unsigned char*>(&values[i]);
      for (size_t k = 0; k < sizeof(T) / 2; ++k) std::swap(b[k], b[sizeof(T) - 1 - k]);
    }
  }
}

}  // namespace

CUndoSnapshot::~CUndoSnapshot() { Destroy(); }

bool CUndoSnapshot::Create() {
  Destroy();
  std::error_code ec;
  std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
  if (ec || dir.empty()) dir = "/tmp";
  std::string pattern = (dir / "c3dXXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  // mkostemp makes the file readable and writable by its owner only.
  int fd = ::mkostemp(buffer.data(), O_CLOEXEC);
  if (fd < 0) return false;
  m_fd = fd;
  m_strPath = buffer.data();
  m_bValid = false;
  return true;
}

void CUndoSnapshot::Destroy() {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
  if (!m_strPath.empty()) ::unlink(m_strPath.c_str());
  m_strPath.clear();
  m_bValid = false;
}

bool CUndoSnapshot::WriteAt(int64_t offset, const void* data, size_t count) {
  const char* p = static_cast<const char*>(data);
  while (count > 0) {
    ssize_t n = ::pwrite(m_fd, p, count, static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    p += n;
    offset += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

bool CUndoSnapshot::ReadAt(int64_t offset, void* buffer, size_t count) const {
  char* p = static_cast<char*>(buffer);
  while (count > 0) {
    ssize_t n = ::pread(m_fd, p, count, static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;  // the file ends early
    p += n;
    offset += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

bool CUndoSnapshot::Write(const CC3d& c3d) {
  m_bValid = false;
  if (m_fd < 0) return false;

  const int analog = c3d.AnalogCount();
  const int points = c3d.PointCount();
  const int frames = c3d.FrameCount();
  const int samplesPerFrame = c3d.m_header.m_nSamplesPerFrame;
  // The counts are 16-bit fields; a value that does not fit would be read
  // back as another count and restore the wrong amount of data.
  if (analog > 0xffff || points > 0xffff || frames < 0 || frames > 0xffff) return false;

  const bool real = c3d.IsReal();
  unsigned char head[12];
  PutU16(head + 0, static_cast<unsigned>(analog));
  PutU16(head + 2, static_cast<unsigned>(points));
  PutU16(head + 4, static_cast<unsigned>(frames));
  PutU16(head + 6, static_cast<unsigned>(samplesPerFrame));
  float rate = c3d.m_header.m_fFrameRate;
  uint32_t rateBits;
  std::memcpy(&rateBits, &rate, 4);
  ToLittleEndian(&rateBits, 1);
  std::memcpy(head + 8, &rateBits, 4);

  if (::ftruncate(m_fd, 130) != 0) return false;
  if (!WriteAt(0, head, sizeof head)) return false;

  const size_t analogSamples = static_cast<size_t>(frames) * samplesPerFrame;
  const size_t pointValues = static_cast<size_t>(frames) * 4;
  int64_t offset = kDataOffset;
  auto writeStore = [&](const CSampleStore& store, size_t expected) -> bool {
    // Every store must hold exactly the samples the header counts promise,
    // otherwise the offsets of the stores after it would be wrong.
    if (store.Size() != expected || store.IsReal() != real) return false;
    if (expected == 0) return true;
    bool ok;
    if (real) {
      if constexpr (std::endian::native == std::endian::little) {
        ok = WriteAt(offset, store.Reals(), expected * 4);
      } else {
        std::vector<float> copy(store.Reals(), store.Reals() + expected);
        ToLittleEndian(copy.data(), copy.size());
        ok = WriteAt(offset, copy.data(), expected * 4);
      }
      offset += static_cast<int64_t>(expected) * 4;
    } else {
      if constexpr (std::endian::native == std::endian::little) {
        ok = WriteAt(offset, store.Ints(), expected * 2);
      } else {
        std::vector<int16_t> copy(store.Ints(), store.Ints() + expected);
        ToLittleEndian(copy.data(), copy.size());
        ok = WriteAt(offset, copy.data(), expected * 2);
      }
      offset += static_cast<int64_t>(expected) * 2;
    }
    return ok;
  };
  try {
    for (const CAnalog& a : c3d.m_analogs)
      if (!writeStore(a, analogSamples)) return false;
    for (const CVideo& v : c3d.m_points)
      if (!writeStore(v, pointValues)) return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
  m_bReal = real;
  m_bValid = true;
  return true;
}

bool CUndoSnapshot::ReadHeader(CSnapshotHeader& header) const {
  if (!IsValid()) return false;
  unsigned char head[12];
  if (!ReadAt(0, head, sizeof head)) return false;
  header.m_nAnalog = static_cast<int>(GetU16(head + 0));
  header.m_nPoints = static_cast<int>(GetU16(head + 2));
  header.m_nFrames = static_cast<int>(GetU16(head + 4));
  header.m_nSamplesPerFrame = static_cast<int>(GetU16(head + 6));
  uint32_t rateBits;
  std::memcpy(&rateBits, head + 8, 4);
  ToLittleEndian(&rateBits, 1);
  std::memcpy(&header.m_fRate, &rateBits, 4);
  return true;
}

bool CUndoSnapshot::ReadSamples(int64_t offset, size_t count, CSampleStore& store) const {
  if (!IsValid()) return false;
  try {
    store.Allocate(count, m_bReal);
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (count == 0) return true;
  if (m_bReal) {
    if (!ReadAt(offset, store.Reals(), count * 4)) return false;
    ToLittleEndian(store.Reals(), count);
  } else {
    if (!ReadAt(offset, store.Ints(), count * 2)) return false;
    ToLittleEndian(store.Ints(), count);
  }
  return true;
}
