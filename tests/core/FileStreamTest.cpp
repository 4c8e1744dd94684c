// Positional file I/O: buffered writes and cached reads must always show the
// file as written, whatever the order of seeks, reads and writes.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "c3d/FileStream.h"

using testsupport::CTempDir;
using testsupport::ReadAll;

namespace {

std::string ReadAt(CFileStream& file, int64_t position, int64_t count) {
  std::string text(static_cast<size_t>(count), '?');
  file.Seek(position);
  text.resize(static_cast<size_t>(file.Read(text.data(), count)));
  return text;
}

}  // namespace

TEST(FileStream, ReadsSeeWhatWasWrittenInAnyOrder) {
  CTempDir dir;
  CFileStream file;
  ASSERT_TRUE(file.Open(dir.File("f.bin"), CFileStream::READ_WRITE_CREATE));
  file.Write("abc", 3);
  file.Seek(10);
  file.Write("xyz", 3);
  EXPECT_EQ(file.Length(), 13);
  EXPECT_EQ(ReadAt(file, 0, 20), std::string("abc\0\0\0\0\0\0\0xyz", 13));
  // A write after a read replaces what the read cache holds.
  file.Seek(1);
  file.Write("Q", 1);
  EXPECT_EQ(ReadAt(file, 0, 3), "aQc");
  EXPECT_EQ(file.Position(), 3);

  // A write larger than the buffer, between small ones.
  std::vector<unsigned char> big(3 << 20);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<unsigned char>(i * 7);
  file.Seek(13);
  file.Write("-", 1);
  file.Write(big.data(), static_cast<int64_t>(big.size()));
  file.Write("+", 1);
  EXPECT_EQ(file.Length(), 13 + 1 + static_cast<int64_t>(big.size()) + 1);
  std::string tail = ReadAt(file, 14 + static_cast<int64_t>(big.size()) - 2, 10);
  EXPECT_EQ(tail.size(), 3u);
  EXPECT_EQ(static_cast<unsigned char>(tail[0]), big[big.size() - 2]);
  EXPECT_EQ(tail[2], '+');

  ASSERT_TRUE(file.SetLength(5));
  EXPECT_EQ(ReadAt(file, 0, 100), std::string("aQc\0\0", 5));
  file.Seek(5);
  ASSERT_TRUE(file.WriteZeros(10000));
  ASSERT_TRUE(file.Sync());
  ASSERT_TRUE(file.Close());
  EXPECT_EQ(ReadAll(dir.File("f.bin")).size(), 10005u);
}

TEST(FileStream, ErrorsCarryTheSystemsReason) {
  CTempDir dir;
  CFileStream file;
  EXPECT_FALSE(file.Open(dir.File("missing.bin"), CFileStream::READ));
  EXPECT_TRUE(file.Failed());
  EXPECT_FALSE(file.ErrorText().empty());
  EXPECT_FALSE(file.Open(dir.Path(), CFileStream::READ));  // a folder is no file
  ASSERT_TRUE(file.Open(dir.File("ok.bin"), CFileStream::READ_WRITE_CREATE));
  EXPECT_FALSE(file.Failed());
  char byte;
  EXPECT_EQ(file.Read(&byte, 1), 0);  // empty file
}

TEST(FileStream, NamedPipesAreRefusedWithoutWaiting) {
  CTempDir dir;
  ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
  CFileStream file;
  EXPECT_FALSE(file.Open(dir.File("pipe"), CFileStream::READ));
}
