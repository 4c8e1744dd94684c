// Saving: the data section, and the whole file through a temporary file that
// replaces the target only once every byte is on the disk.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>
#include <system_error>
#include <thread>
#include <type_traits>
#include <vector>

#include "c3d/C3d.h"
#include "c3d/FileStream.h"
#include "c3d/SafeFile.h"
#include "c3d/SampleCodec.h"

namespace {

constexpr int kBlockSize = 512;
constexpr int64_t kChunkBytes = 4 << 20;
constexpr int64_t kTileBytes = 128 << 10;

int16_t ToInt16(float value) {
  if (!std::isfinite(value)) return 0;
  double t = std::trunc(static_cast<double>(value));
  if (t >= 2147483647.0 || t <= -2147483648.0) return 0;
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<int64_t>(t) & 0xffff));
}

// Sample `index` of a store as the written type; zero when the store is
// shorter than the header says.
template <typename T>
T SampleAs(const CSampleStore& store, size_t index) {
  if (index >= store.Size()) return T(0);
  if constexpr (std::is_same_v<T, float>) {
    return store.IsReal() ? store.Reals()[index] : static_cast<float>(store.Ints()[index]);
  } else {
    return store.IsReal() ? ToInt16(store.Reals()[index]) : store.Ints()[index];
  }
}

template <typename T>
const T* DirectData(const CSampleStore& store, bool real, size_t needed) {
  if (store.IsReal() != real || store.Size() < needed) return nullptr;
  if constexpr (std::is_same_v<T, float>)
    return store.Reals();
  else
    return store.Ints();
}

// Lays out `frames` frames starting at frame `first` in file order (memory
// form) into `buffer`.
template <typename T>
void GatherFrames(unsigned char* buffer, int64_t frameSize, int frames, int first, size_t points,
                  size_t channels, size_t samplesPerFrame, const std::vector<CVideo>& pointStores,
                  const std::vector<CAnalog>& analogStores, size_t frameCount) {
  const bool real = std::is_same_v<T, float>;
  std::vector<const T*> pointData(points, nullptr);
  std::vector<const T*> analogData(channels, nullptr);
  for (size_t j = 0; j < points && j < pointStores.size(); ++j)
    pointData[j] = DirectData<T>(pointStores[j], real, frameCount * 4);
  for (size_t i = 0; i < channels && i < analogStores.size(); ++i)
    analogData[i] = DirectData<T>(analogStores[i], real, frameCount * samplesPerFrame);

  // Tiles of frames, one store at a time (see the reader for why).
  const int tile = static_cast<int>(std::max<int64_t>(1, kTileBytes / frameSize));
  for (int t = 0; t < frames; t += tile) {
    const int count = std::min(tile, frames - t);
    unsigned char* tileStart = buffer + t * frameSize;
    const size_t frame0 = static_cast<size_t>(first + t);
    for (size_t j = 0; j < points; ++j) {
      unsigned char* out = tileStart + j * 4 * sizeof(T);
      for (int f = 0; f < count; ++f) {
        size_t frame = frame0 + static_cast<size_t>(f);
        T values[4];
        if (pointData[j]) {
          std::memcpy(values, pointData[j] + frame * 4, sizeof values);
        } else {
          for (size_t v = 0; v < 4; ++v)
            values[v] = j < pointStores.size() ? SampleAs<T>(pointStores[j], frame * 4 + v) : T(0);
        }
        std::memcpy(out + f * frameSize, values, sizeof values);
      }
    }
    unsigned char* analogStart = tileStart + points * 4 * sizeof(T);
    for (size_t i = 0; i < channels; ++i) {
      unsigned char* out = analogStart + i * sizeof(T);
      for (int f = 0; f < count; ++f) {
        unsigned char* frameOut = out + f * frameSize;
        size_t at = (frame0 + static_cast<size_t>(f)) * samplesPerFrame;
        for (size_t k = 0; k < samplesPerFrame; ++k) {
          T value = analogData[i] ? analogData[i][at + k]
                                  : (i < analogStores.size() ? SampleAs<T>(analogStores[i], at + k) : T(0));
          std::memcpy(frameOut + k * channels * sizeof(T), &value, sizeof(T));
        }
      }
    }
  }
}

}  // namespace

bool CC3d::WriteIntegerData(CFileStream& target) { return WriteData(target, false); }

bool CC3d::WriteRealData(CFileStream& target) { return WriteData(target, true); }

bool CC3d::WriteData(CFileStream& target, bool real) {
  const int frames = FrameCount();
  const size_t points = m_header.m_nPoints;
  const size_t channels = m_header.m_nAnalogChannels;
  const size_t samples = m_header.m_nSamplesPerFrame;
  const size_t valuesPerFrame = points * 4 + channels * samples;
  const int64_t valueSize = real ? 4 : 2;
  const int64_t frameSize = static_cast<int64_t>(valuesPerFrame) * valueSize;

  target.Seek((static_cast<int64_t>(m_header.m_nDataStart) - 1) * kBlockSize);
  if (frameSize > 0 && frames > 0) {
    const int chunkFrames = static_cast<int>(std::max<int64_t>(1, kChunkBytes / frameSize));
    const size_t bufferBytes = static_cast<size_t>(std::min(chunkFrames, frames) * frameSize);
    // One chunk is laid out while a second thread writes the one before; the
    // stream is used by one thread at a time, so the bytes are the same.
    std::vector<unsigned char> buffers[2] = {std::vector<unsigned char>(bufferBytes),
                                             std::vector<unsigned char>(frames > chunkFrames ? bufferBytes : 0)};
    std::thread writer;
    bool written = true;
    auto finishWrite = [&] {
      if (writer.joinable()) writer.join();
      return written;
    };
    int turn = 0;
    for (int first = 0; first < frames; first += chunkFrames, turn ^= 1) {
      int count = std::min(chunkFrames, frames - first);
      unsigned char* buffer = buffers[turn].data();
      if (real)
        GatherFrames<float>(buffer, frameSize, count, first, points, channels, samples, m_points,
                            m_analogs, static_cast<size_t>(frames));
      else
        GatherFrames<int16_t>(buffer, frameSize, count, first, points, channels, samples,
                              m_points, m_analogs, static_cast<size_t>(frames));
      SamplesToFile(buffer, valuesPerFrame * static_cast<size_t>(count), real, m_nProcessor);
      if (!finishWrite()) return false;
      const int64_t bytes = count * frameSize;
      if (first + count >= frames) {
        // The last chunk (for a small file the only one) is written here:
        // nothing is left to lay out beside it, and a thread would only cost.
        if (!target.Write(buffer, bytes)) return false;
        break;
      }
      try {
        writer = std::thread([&target, &written, buffer, bytes] {
          try {
            written = target.Write(buffer, bytes);
          } catch (...) {
            written = false;
          }
        });
      } catch (const std::system_error&) {
        written = target.Write(buffer, bytes);  // no thread to be had: write here
      }
    }
    if (!finishWrite()) return false;
  }
  int64_t rest = target.Position() % kBlockSize;
  if (rest != 0) target.WriteZeros(kBlockSize - rest);
  if (!m_trailing.empty()) target.Write(m_trailing.data(), static_cast<int64_t>(m_trailing.size()));
  return !target.Failed();
}

bool CC3d::SaveToFile(const std::string& requestedPath, std::string& error) {
  error.clear();
  // Saving through a symbolic link replaces the file it points to, not the
  // link itself.
  std::string path = requestedPath;
  std::error_code ec;
  if (std::filesystem::is_symlink(path, ec)) {
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
    if (!ec) path = resolved.string();
  }
  uint32_t analogValues =
      static_cast<uint32_t>(m_header.m_nAnalogChannels) * m_header.m_nSamplesPerFrame;
  if (analogValues <= 0xffff) m_header.m_nAnalogPerFrame = static_cast<uint16_t>(analogValues);
  m_header.m_fHeaderScale = m_header.m_fScale;

  std::string temp = CreateTempFileBeside(path, error);
  if (temp.empty()) return false;

  bool ok = false;
  bool ownMessage = false;  // a writer step has shown why it stopped
  CFileStream out;
  try {
    if (!out.Open(temp, CFileStream::READ_WRITE_CREATE)) {
      error = out.ErrorText();
    } else if (!WriteHeader(out)) {
      ownMessage = !out.Failed();
    } else if (!WriteParameters(out)) {
      ownMessage = !out.Failed();
    } else if (IsReal() ? WriteRealData(out) : WriteIntegerData(out)) {
      ok = out.Sync();
    }
  } catch (const std::bad_alloc&) {
    Prompt().ShowMessage("Not enough memory to perform operation");
    ownMessage = true;
  }
  if (!out.Close()) ok = false;
  if (!ok) {
    if (ownMessage)
      error.clear();
    else if (error.empty())
      error = out.ErrorText().empty() ? "The file could not be written" : out.ErrorText();
    ::unlink(temp.c_str());
    return false;
  }
  if (!ReplaceWithTempFile(temp, path, error)) return false;
  m_strFileName = requestedPath;
  return true;
}
