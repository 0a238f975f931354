#include "host/EntityTag.h"

#include <gtest/gtest.h>

namespace lumatrel::host {
namespace {

TEST(EntityTagTest, IfNoneMatchForms) {
  const std::string_view tag = "\"abc-2000\"";
  const std::pair<std::string_view, bool> cases[] = {
      {"\"abc-2000\"", true},
      {"W/\"abc-2000\"", true},
      {"*", true},
      {" \"x\", \"abc-2000\" ", true},
      {"\"x\",W/\"abc-2000\"", true},
      {"\"abc-460\"", false},
      {"abc-2000", false},
      {"\"abc-2000", false},
      {"\"x\" \"abc-2000\"", false},
      {"", false},
  };
  for (const auto& [header, matches] : cases) EXPECT_EQ(IfNoneMatchMatches(header, tag), matches) << header;
}

}  // namespace
}  // namespace lumatrel::host
