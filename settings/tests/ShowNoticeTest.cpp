#include <gtest/gtest.h>

#include <string>

#include "platform/Notice.h"
#include "settings/ShowNotice.h"

namespace lumatrel {
namespace {

TEST(ShowNoticeTest, AddsTheInformationIconWhenNoneIsNamedAndIsSystemModal) {
  std::string shownTitle;
  unsigned shownStyle = 0;
  SetMessageBoxHook([&](std::string_view, std::string_view title, unsigned style) {
    shownTitle = title;
    shownStyle = style;
  });
  struct Case {
    unsigned style, shown;
  } cases[] = {
      {0x0, 0x1040},  {0x1, 0x1041},  {0x10, 0x1010}, {0x20, 0x1020},   {0x30, 0x1030},
      {0x40, 0x1040}, {0x50, 0x1050}, {0x1000, 0x1040}, {0x2000, 0x3040}, {0x34, 0x1034},
  };
  for (const Case& c : cases) {
    ShowNotice("text", c.style, "");
    EXPECT_EQ(shownStyle, c.shown) << std::hex << c.style;
    EXPECT_EQ(shownTitle, "Brenquil：");
  }
  ShowNotice("text", 0, "标题");
  EXPECT_EQ(shownTitle, "标题");
  SetMessageBoxHook({});
}

TEST(ShowNoticeTest, TheDocumentBoxShowsTheTextUpToAZeroByte) {
  std::vector<std::string> texts;
  SetMessageBoxHook([&](std::string_view text, std::string_view, unsigned) { texts.emplace_back(text); });
  using namespace std::string_literals;
  ShowFailureNotice("[S]\r\nK=1\0hidden"s);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1], "[S]\r\nK=1");
  SetMessageBoxHook({});
}

}  // namespace
}  // namespace lumatrel
