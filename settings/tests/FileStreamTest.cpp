#include <gtest/gtest.h>

#include <algorithm>

#include "platform/FileStream.h"
#include "settings/tests/TestFiles.h"

namespace lumatrel {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;

struct Edit {
  bool insert;
  std::int64_t offset;
  std::string bytes;   // inserted
  std::int64_t count;  // deleted
};

// The same edit on a plain string, as the expected outcome.
std::string Apply(std::string s, const Edit& e) {
  const auto at = static_cast<std::size_t>(std::min<std::int64_t>(e.offset, static_cast<std::int64_t>(s.size())));
  if (e.insert) return s.insert(at, e.bytes);
  return s.erase(at, static_cast<std::size_t>(e.count));
}

const std::string kContent = "0123456789abcdefghij";
const Edit kEdits[] = {
    {true, 0, "XYZ", 0},  {true, 7, "XYZ", 0},  {true, 19, "X", 0},    {true, 20, "XYZ", 0},
    {true, 99, "XY", 0},  {true, 5, std::string(45, '#'), 0},          {true, 3, "", 0},
    {false, 0, "", 3},    {false, 7, "", 5},    {false, 15, "", 99},   {false, 19, "", 1},
    {false, 20, "", 4},   {false, 4, "", 0},    {false, 1, "", 19},
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
        file->Seek(e.offset);
        ASSERT_TRUE(e.insert ? file->Insert(e.bytes) : file->Delete(e.count));
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
    for (FileStream* stream : {file.get(), memory.get()}) {
      stream->Seek(e.offset);
      ASSERT_TRUE(e.insert ? stream->Insert(e.bytes) : stream->Delete(e.count));
    }
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
