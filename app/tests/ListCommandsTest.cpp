#include "app/ListCommands.h"

#include <gtest/gtest.h>

#include "app/tests/Fakes.h"

namespace lumatrel {
namespace {

using namespace lumatrel::testing;

class ListCommandsTest : public ::testing::Test {
 protected:
  // Rows: name, size, large, small, selected.
  void Row(const Text& name, const Text& size, const Text& large, const Text& small, bool selected) {
    FakeRow row;
    row.cells = {name, size, large, small};
    row.selected = selected;
    view.rows.push_back(row);
  }

  FakeView view;
  FakeClipboard clipboard;
  FakeShell shell;
  ListCommands commands{view, clipboard, shell};
};

struct JoinCase {
  std::vector<Text> items;
  Text joined;
  friend void PrintTo(const JoinCase& c, std::ostream* out) { *out << c.items.size() << " items"; }
};

class JoinLinesTest : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinLinesTest, PutsCrLfBetweenNonEmptyText) { EXPECT_EQ(JoinLines(GetParam().items), GetParam().joined); }

INSTANTIATE_TEST_SUITE_P(Joins, JoinLinesTest,
                         ::testing::Values(JoinCase{{}, ""}, JoinCase{{"A", "B"}, "A\r\nB"},
                                           // Empty items before the first text add no leading break.
                                           JoinCase{{"", "", "A"}, "A"}, JoinCase{{"A", ""}, "A\r\n"},
                                           JoinCase{{"A", "", "B"}, "A\r\n\r\nB"}));

TEST_F(ListCommandsTest, CopiesTheLinksOfTheSelectedRows) {
  Row("a.png", "1 KB", "A2", "A4", true);
  Row("b.png", "2 KB", "B2", "B4", false);
  Row("c.png", "3 KB", "C2", "C4", true);
  EXPECT_EQ(commands.SelectedRows(), (std::vector<int>{0, 2}));
  commands.CopyLargeLinks();
  EXPECT_EQ(clipboard.contents, "A2\r\nC2");
  commands.CopySmallLinks();
  EXPECT_EQ(clipboard.contents, "A4\r\nC4");
  commands.CopyRows();
  EXPECT_EQ(clipboard.contents, "a.png,1 KB,A2,A4\r\nc.png,3 KB,C2,C4");
  commands.CopyAll();
  EXPECT_EQ(clipboard.contents, "a.png,1 KB,A2,A4\r\nb.png,2 KB,B2,B4\r\nc.png,3 KB,C2,C4");
}

TEST_F(ListCommandsTest, CopiesRowsWhateverTheirStateAndQuotesNothing) {
  Row("a,b.png", "1.5 KB", "上传失败：x,y", "http://", true);
  Row("c.png", "0 B", "", "", true);
  commands.CopyRows();
  EXPECT_EQ(clipboard.contents, "a,b.png,1.5 KB,上传失败：x,y,http://\r\nc.png,0 B,,");
}

TEST_F(ListCommandsTest, AnEmptyListOrSelectionPutsTheEmptyText) {
  commands.CopyAll();
  EXPECT_EQ(clipboard.contents, "");
  Row("a.png", "1 KB", "A2", "A4", false);
  commands.CopyLargeLinks();
  EXPECT_EQ(clipboard.contents, "");
  EXPECT_EQ(clipboard.puts, 2);
}

TEST_F(ListCommandsTest, RightClickShowsTheFirstSelectedRowsLinks) {
  for (int row = 0; row < 5; ++row) {
    const Text n = std::to_string(row);
    Row(n + ".png", "1 KB", "L" + n, "S" + n, row == 2 || row == 4);
  }
  commands.OnListRightClick();
  EXPECT_EQ(view.menuShown, 1);
  EXPECT_EQ(view.menuCaptions[MenuItem::复制大图外链], "复制大图外链(L2)");
  EXPECT_EQ(view.menuCaptions[MenuItem::复制小图外链], "复制小图外链(S2)");
  commands.CopyLargeLinks();
  EXPECT_EQ(clipboard.contents, "L2\r\nL4");
}

TEST_F(ListCommandsTest, RightClickWithoutSelectionShowsNoMenu) {
  Row("a.png", "1 KB", "A2", "A4", false);
  commands.OnListRightClick();
  EXPECT_EQ(view.menuShown, 0);
  EXPECT_TRUE(view.menuCaptions.empty());
}

TEST_F(ListCommandsTest, DoubleClickOpensTheFirstSelectedFile) {
  view.tag = "D:\\图片\\";
  Row("a.png", "", "", "", false);
  Row("风景.png", "", "", "", true);
  Row("c.png", "", "", "", true);
  commands.OnListDoubleClick();
  EXPECT_EQ(shell.opened, std::vector<Text>{"D:\\图片\\风景.png"});
  for (auto& row : view.rows) row.selected = false;
  commands.OnListDoubleClick();
  EXPECT_EQ(shell.opened.size(), 1u);
}

}  // namespace
}  // namespace lumatrel
