// Reading entries, the stored form of values, and where a section ends.
#include "settings/StoredForm.h"
#include "settings/tests/StoreFixture.h"

namespace lumatrel {
namespace {

using ConfigStoreEntriesTest = testing::StoreTest;

TEST_F(ConfigStoreEntriesTest, ReadsFindTheEntryOfTheirOwnSectionOnly) {
  struct Case {
    std::string document, section, key, expected;
  } cases[] = {
      {"[S]\r\nK=1", "S", "K", "1"},
      {"[S]\r\nK=", "S", "K", ""},  // present but empty: not the default
      {"[S]\r\nK=a=b[c]=", "S", "K", "a=b[c]="},
      {"[S]\r\nK=1\r\n", "S", "K", "1"},
      {"[S]\r\nA=1\r\n[T]\r\nK=2", "S", "K", "<default>"},
      {"[S]\r\nA=1\r\n[T]\r\nK=2", "T", "K", "2"},
      {"[S]\r\n[T]\r\nK=2", "S", "K", "<default>"},  // a header line right before the entry
      {"[S]\r\n[a\r\nb]\r\nK=2", "S", "K", "2"},     // brackets spanning a line break: no header
      {"[S]\r\n[T]x\r\nK=2", "S", "K", "<default>"}, // text after "]": still the next section's
      {"[S]\r\n[T]x\r\nK=2", "T", "K", "2"},
      {"[X]\r\nv=[S]\r\nK=1", "S", "K", "<default>"},
      {"x [S]\r\nK=1", "S", "K", "<default>"},
      {"[S] ; note\r\nK=1", "S", "K", "1"},
      {"[S]\r\nA=1\r\n[S]\r\nK=2", "S", "K", "<default>"},
      {"[S]\r\nA=1\r\n[S]\r\nK=2", "S", "A", "1"},
      {"[S]\nK=1\nJ=2", "S", "K", "<default>"},   // LF alone: no entry
      {"[S]\r\nk=1", "S", "K", "<default>"},
      {"[s]\r\nK=1", "S", "K", "<default>"},
      {"[S]\r\nK =1", "S", "K", "<default>"},
      {"[S]\r\nK =1", "S", "K ", "1"},
      {"[S ]\r\nK=1", "S", "K", "<default>"},
      {"\r\nK=0\r\n[S]\r\nA=1", "S", "K", "<default>"},  // nothing before the header counts
      {"K=0\r\n[S]", "", "K", "<default>"},
      {"[主界面]\r\n上次目录=D:\\图片\\", "主界面", "上次目录", "D:\\图片\\"},
      {"", "S", "K", "<default>"},
  };
  for (const Case& c : cases) {
    OpenWith(c.document);
    store.SelectSection(c.section);
    EXPECT_EQ(store.ReadText(c.key, "<default>"), c.expected) << c.document << " / " << c.key;
    EXPECT_EQ(OnDisk(), c.document);
  }
}

TEST_F(ConfigStoreEntriesTest, EmptyIsMissingGivesTheDefaultForAnEmptyValue) {
  OpenWith("[S]\r\nK=\r\nJ=1");
  EXPECT_EQ(store.ReadEntry("S", "K", "d", true), "d");
  EXPECT_EQ(store.ReadEntry("S", "K", "d", false), "");
  EXPECT_EQ(store.ReadEntry("S", "J", "d", true), "1");
}

TEST(StoredFormTest, LineBreaksBecomeTheMarkAndBack) {
  struct Case {
    std::string value, stored, readBack;
  } cases[] = {
      {"a\r\nb\r\n", "a┊*┊b┊*┊", "a\r\nb\r\n"},
      {"a┊*┊b", "a┊*┊b", "a\r\nb"},
      {"lone\rCR and\nLF", "lone\rCR and\nLF", "lone\rCR and\nLF"},
      {"\n\r", "\n\r", "\n\r"},
      {"中\r\n文", "中┊*┊文", "中\r\n文"},
      // A stray lead byte before CR LF is a byte of its own: the line break never reaches the
      // document. (Reading back pairs the lead byte with the mark's first byte, as any scan would.)
      {"\xBF\r\n[S]", "\xBF┊*┊[S]", "\xBF┊*┊[S]"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StoredFormOf(c.value), c.stored);
    EXPECT_EQ(ValueFromStoredForm(c.stored), c.readBack);
  }
  EXPECT_EQ(kStoredLineBreak, "\xA9\xAE*\xA9\xAE");
}

TEST_F(ConfigStoreEntriesTest, AValueNeverAddsALineToTheDocument) {
  OpenWith("[S]\r\nK=1");
  store.SelectSection("S");
  ASSERT_TRUE(store.WriteText("J", "x\xBF\r\n[T]\r\nK=forged"));
  EXPECT_EQ(OnDisk(), "[S]\r\nJ=x\xBF┊*┊[T]┊*┊K=forged\r\nK=1");
  EXPECT_EQ(store.ReadEntry("S", "K", "d", false), "1");
  EXPECT_EQ(store.ReadEntry("T", "K", "d", false), "d");
}

TEST_F(ConfigStoreEntriesTest, ValuesAndDefaultsKeepTheirLineBreaks) {
  OpenWith("");
  store.SelectSection("S");
  ASSERT_TRUE(store.WriteText("K", "line 1\r\nline 2\nstill 2\r"));
  EXPECT_EQ(OnDisk(), "[S]\r\nK=line 1┊*┊line 2\nstill 2\r");
  EXPECT_EQ(store.ReadText("K"), "line 1\r\nline 2\nstill 2\r");
  ASSERT_TRUE(store.WriteText("M", "has ┊*┊ mark"));
  EXPECT_EQ(store.ReadText("M"), "has \r\n mark");
  // Defaults pass through the same round trip.
  EXPECT_EQ(store.ReadText("missing", "a\r\nb"), "a\r\nb");
  EXPECT_EQ(store.ReadText("missing", "a┊*┊b"), "a\r\nb");
  EXPECT_EQ(store.ReadText("missing", "a\nb"), "a\nb");
}

}  // namespace
}  // namespace lumatrel
