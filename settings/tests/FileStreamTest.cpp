#include <gtest/gtest.h>

#include <algorithm>

#include "platform/FileStream.h"
#include "settings/tests/TestFiles.h"

namespace lumatrel {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;

// Every edit replaces count bytes at offset by bytes: an insert when count is 0, a delete when
// bytes is empty.
struct Edit {
  std::int64_t offset;
  std::int64_t count;
  std::string bytes;
};

bool Perform(FileStream& stream, const Edit& e) {
  stream.Seek(e.offset);
  if (e.count == 0) return stream.Insert(e.bytes);
  if (e.bytes.empty()) return stream.Delete(e.count);
  return stream.Replace(e.count, e.bytes);
}

// The same edit on a plain string, as the expected outcome.
std::string Apply(std::string s, const Edit& e) {
  const auto at = static_cast<std::size_t>(std::min<std::int64_t>(e.offset, static_cast<std::int64_t>(s.size())));
  return s.replace(at, static_cast<std::size_t>(e.count), e.bytes);
}

const std::string kContent = "0123456789abcdefghij";
const Edit kEdits[] = {
    {0, 0, "XYZ"},  {7, 0, "XYZ"},   {19, 0, "X"},    {20, 0, "XYZ"},  {99, 0, "XY"},
    {5, 0, std::string(45, '#')},    {3, 0, ""},      {0, 3, ""},      {7, 5, ""},
    {15, 99, ""},   {19, 1, ""},     {20, 4, ""},     {1, 19, ""},     {2, 3, "abc"},
    {2, 3, "a"},    {2, 1, "abcdefgh"}, {10, 99, "tail"}, {0, 20, ""},  {4, 2, std::string(30, '+')},
};

// Small blocks make every move overlap itself, which is where a careless shift overwrites bytes.
TEST(FileStreamTest, InsertAndDeleteMoveOnlyTheBytesAfterTheChange) {
  TempFolder folder;
  for (std::size_t blockSize : {std::size_t{1}, std::size_t{3}, std::size_t{7}, kStreamBlockSize}) {
    for (const Edit& e : kEdits) {
      const std::string path = folder.PathOf("stream.bin");
      WriteFileBytes(path, kContent);
      {
        auto file = OpenExclusiveFile(path, blockSize);
        ASSERT_NE(file, nullptr);
        ASSERT_TRUE(Perform(*file, e));
      }
      EXPECT_EQ(ReadFileBytes(path), Apply(kContent, e)) << "block " << blockSize << " offset " << e.offset;
    }
  }
}

TEST(FileStreamTest, MemoryStreamAndFileAgreeOverASequence) {
  TempFolder folder;
  const std::string path = folder.PathOf("sequence.bin");
  auto file = OpenExclusiveFile(path, 3);
  auto memory = OpenMemoryStream(3);
  ASSERT_NE(file, nullptr);
  for (FileStream* stream : {file.get(), memory.get()}) {
    ASSERT_TRUE(stream->Insert(kContent));
    ASSERT_TRUE(stream->SeekEnd());
    ASSERT_TRUE(stream->Insert("END"));
  }
  std::string expected = kContent + "END";
  for (const Edit& e : kEdits) {
    for (FileStream* stream : {file.get(), memory.get()}) ASSERT_TRUE(Perform(*stream, e));
    expected = Apply(expected, e);
    EXPECT_EQ(memory->ReadAll(), expected);
    EXPECT_EQ(file->ReadAll(), expected);
  }
  file.reset();
  EXPECT_EQ(ReadFileBytes(path), expected);
}

TEST(FileStreamTest, OpenCreatesNeverTruncatesAndShutsOutOtherWriters) {
  TempFolder folder;
  const std::string missing = folder.PathOf("new.ini");
  {
    auto created = OpenExclusiveFile(missing);
    ASSERT_NE(created, nullptr);
    EXPECT_TRUE(testing::Exists(missing));
    EXPECT_EQ(ReadFileBytes(missing), "");
  }
  const std::string path = folder.PathOf("held.ini");
  WriteFileBytes(path, "[S]\r\nK=1");
  auto first = OpenExclusiveFile(path);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(ReadFileBytes(path), "[S]\r\nK=1");
  // A second opener, in this process too, cannot write; readers still read.
  EXPECT_EQ(OpenExclusiveFile(path), nullptr);
  const auto read = ReadWholeFile(path);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(TextFromBytes(*read), "[S]\r\nK=1");
  first.reset();
  EXPECT_NE(OpenExclusiveFile(path), nullptr);

  EXPECT_EQ(OpenExclusiveFile(""), nullptr);
  EXPECT_EQ(OpenExclusiveFile(folder.Folder().string()), nullptr);
  EXPECT_FALSE(ReadWholeFile("").has_value());
  EXPECT_FALSE(ReadWholeFile(folder.PathOf("absent.ini")).has_value());
}

}  // namespace
}  // namespace lumatrel
