// The bytes the store leaves in its file: every write lands at once, at its own positions.
#include <vector>

#include "settings/tests/StoreFixture.h"

namespace lumatrel {
namespace {

// The file before, one write, the file after.
struct WriteCase {
  std::string before, section, key, value, after;
};

class ConfigStoreFileTest : public testing::StoreTest {
 protected:
  // Runs each case on a fresh file; the disk and the document must both hold the bytes after.
  void ExpectWrites(const std::vector<WriteCase>& cases, bool readBack) {
    for (const WriteCase& c : cases) {
      OpenWith(c.before);
      store.SelectSection(c.section);
      EXPECT_TRUE(store.WriteText(c.key, c.value));
      EXPECT_EQ(OnDisk(), c.after) << c.before;
      EXPECT_EQ(InMemory(), c.after) << c.before;
      if (readBack) {
        EXPECT_EQ(store.ReadText(c.key), c.value) << c.before;
      }
    }
  }
};

TEST_F(ConfigStoreFileTest, MissingFileIsCreatedEmptyAndTheFirstWriteAddsOneEntry) {
  ASSERT_FALSE(testing::Exists(path));
  ASSERT_TRUE(store.Open(path, StorageMode::File));
  EXPECT_TRUE(testing::Exists(path));
  EXPECT_EQ(OnDisk(), "");
  EXPECT_EQ(store.Document().Length(), 0);
  store.SelectSection("S");
  EXPECT_TRUE(store.WriteText("K", "V"));
  EXPECT_EQ(OnDisk(), "[S]\r\nK=V");
}

TEST_F(ConfigStoreFileTest, WritesBuildTheDocumentNewestKeyFirst) {
  OpenWith("", false);
  struct Step {
    const char* section;
    const char* key;
    const char* value;
  } steps[] = {{"S", "A", "1"}, {"S", "B", "2"}, {"T", "C", "3"}};
  for (const Step& s : steps) {
    store.SelectSection(s.section);
    EXPECT_TRUE(store.WriteText(s.key, s.value));
    EXPECT_EQ(OnDisk(), InMemory());
  }
  EXPECT_EQ(OnDisk(), "[S]\r\nB=2\r\nA=1\r\n[T]\r\nC=3");
}

TEST_F(ConfigStoreFileTest, FirstRunRemembersTheFolder) {
  OpenWith("", false);
  store.SelectSection("主界面");
  EXPECT_EQ(store.ReadText("上次目录"), "");
  EXPECT_TRUE(store.WriteText("上次目录", "D:\\pics\\"));
  EXPECT_EQ(OnDisk(), "[主界面]\r\n上次目录=D:\\pics\\");
  // The next run reads it back from the file.
  ConfigStore next;
  store.Close();
  ASSERT_TRUE(next.Open(path, StorageMode::File));
  next.SelectSection("主界面");
  EXPECT_EQ(next.ReadText("上次目录"), "D:\\pics\\");
}

// Each case: the file before, one write, the file after. Only the value bytes change.
TEST_F(ConfigStoreFileTest, EachWriteChangesOnlyItsOwnBytes) {
  ExpectWrites({
      {"[S]\r\nK=old\r\nJ=2", "S", "K", "new value", "[S]\r\nK=new value\r\nJ=2"},
      {"[S]\r\nK=old\r\nJ=2\r\n", "S", "K", "x", "[S]\r\nK=x\r\nJ=2\r\n"},
      {"[S]\r\nJ=2\r\nK=old", "S", "K", "longer than before", "[S]\r\nJ=2\r\nK=longer than before"},
      {"[S]\r\nJ=2\r\nK=old\r\n", "S", "K", "", "[S]\r\nJ=2\r\nK=\r\n"},
      {"[S]\r\nK=\r\n[T]\r\nK=t", "S", "K", "v", "[S]\r\nK=v\r\n[T]\r\nK=t"},
      {"[S]\r\nK=same", "S", "K", "same", "[S]\r\nK=same"},
      {"[S]\r\nJ=2\r\n", "S", "K", "v", "[S]\r\nK=v\r\nJ=2\r\n"},
      {"[S]\r\nJ=2\r\n", "T", "K", "v", "[S]\r\nJ=2\r\n\r\n[T]\r\nK=v"},
      {"; comment\r\n[S]\r\nJ=2", "S", "K", "v", "; comment\r\n[S]\r\nK=v\r\nJ=2"},
  }, false);
}

// A value near the start of a long file: the bytes after it move, nothing else changes.
TEST_F(ConfigStoreFileTest, RewritingAValueInALongFileKeepsTheRest) {
  std::string tail;
  for (int i = 0; i < 20000; ++i) tail += "\r\nkey" + std::to_string(i) + "=value " + std::to_string(i);
  OpenWith("[S]\r\nK=1" + tail);
  store.SelectSection("S");
  for (const char* value : {"a much longer value than the first", "", "2"}) {
    EXPECT_TRUE(store.WriteText("K", value));
    ASSERT_EQ(OnDisk(), "[S]\r\nK=" + std::string(value) + tail);
  }
}

// Where a new key or section goes when the file was not written by the store.
TEST_F(ConfigStoreFileTest, WritesIntoHandMadeFiles) {
  ExpectWrites({
      // A key present only in a later section gets a line of its own in this one.
      {"[S]\r\nA=1\r\n[T]\r\nK=2", "S", "K", "9", "[S]\r\nK=9\r\nA=1\r\n[T]\r\nK=2"},
      // The header's bytes inside a value are no header.
      {"[X]\r\nv=[S]", "S", "K", "9", "[X]\r\nv=[S]\r\n[S]\r\nK=9"},
      {"[X]\r\nv=a [S]\r\nK=1", "S", "K", "9", "[X]\r\nv=a [S]\r\nK=1\r\n[S]\r\nK=9"},
      // Only the first of two headers of the same name is written.
      {"[S]\r\nA=1\r\n[S]\r\nK=2", "S", "K", "9", "[S]\r\nK=9\r\nA=1\r\n[S]\r\nK=2"},
      // Names match exactly: letter case and blanks count.
      {"[s]\r\nK=1", "S", "K", "9", "[s]\r\nK=1\r\n[S]\r\nK=9"},
      {"[S]\r\nk=1\r\nK =2", "S", "K", "9", "[S]\r\nK=9\r\nk=1\r\nK =2"},
      // Text after the "]" stays on the header line; the new key goes below it.
      {"[S] ; note\r\nA=1", "S", "K", "9", "[S] ; note\r\nK=9\r\nA=1"},
      {"[S] ; note\r\nK=1", "S", "K", "9", "[S] ; note\r\nK=9"},
      // Such a header line also ends the section before it: the entries below are its own.
      {"[S]\r\nA=1\r\n[T] ; note\r\nK=2", "S", "K", "9", "[S]\r\nK=9\r\nA=1\r\n[T] ; note\r\nK=2"},
      {"[S]\r\nA=1\r\n[T]\r\r\nK=2", "S", "K", "9", "[S]\r\nK=9\r\nA=1\r\n[T]\r\r\nK=2"},
      // LF alone is no line break: the whole file is the header's line, the key goes at its end.
      {"[S]\nK=1\nJ=2", "S", "K", "9", "[S]\nK=1\nJ=2\r\nK=9"},
  }, true);
}

}  // namespace
}  // namespace lumatrel
