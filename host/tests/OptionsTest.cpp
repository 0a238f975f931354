#include "host/Options.h"

#include <gtest/gtest.h>

namespace lumatrel::host {
namespace {

TEST(OptionsTest, DefaultsServeTheProgramOnItsBuiltInAddress) {
  const OptionsReading reading = ReadOptions({}, "/home/ann");
  ASSERT_EQ(reading.error, "");
  EXPECT_FALSE(reading.help);
  EXPECT_EQ(reading.options.dataDir, "/home/ann/.local/share/lumatrel-host");
  EXPECT_EQ(reading.options.listenHost, "127.0.0.1");
  EXPECT_EQ(reading.options.listenPort, 8960);
  EXPECT_EQ(EffectivePublicUrl(reading.options, 8960), "http://127.0.0.1:8960");
  EXPECT_EQ(reading.options.acceptedAccounts, std::vector<std::string>{"9b0e7c2a8d64f1035e9a7b2c6d08e4f1"});
  EXPECT_EQ(reading.options.maxBytes, 52428800u);
  EXPECT_EQ(reading.options.maxPixels, 100000000u);
}

TEST(OptionsTest, EveryFlagTakesItsValueInBothForms) {
  const OptionsReading reading =
      ReadOptions({"--data", "/srv/pics", "--listen=[::1]:0", "--public-url", "https://pics.example.org/",
                   "--accept-uin", "abc123", "--accept-uin=def", "--max-bytes=1000", "--max-pixels", "5000"},
                  "/home/ann");
  ASSERT_EQ(reading.error, "");
  EXPECT_EQ(reading.options.dataDir, "/srv/pics");
  EXPECT_EQ(reading.options.listenHost, "::1");
  EXPECT_EQ(reading.options.listenPort, 0);
  EXPECT_EQ(EffectivePublicUrl(reading.options, 4321), "https://pics.example.org");
  EXPECT_EQ(reading.options.acceptedAccounts,
            (std::vector<std::string>{"9b0e7c2a8d64f1035e9a7b2c6d08e4f1", "abc123", "def"}));
  EXPECT_EQ(reading.options.maxBytes, 1000u);
  EXPECT_EQ(reading.options.maxPixels, 5000u);

  HostOptions v6;
  v6.listenHost = "::1";
  EXPECT_EQ(EffectivePublicUrl(v6, 8960), "http://[::1]:8960");
}

TEST(OptionsTest, HelpIsRecognisedAndDescribesEveryFlag) {
  EXPECT_TRUE(ReadOptions({"--help"}, "").help);
  EXPECT_TRUE(ReadOptions({"-h"}, "").help);
  for (const char* flag : {"--data", "--listen", "--public-url", "--accept-uin", "--max-bytes", "--max-pixels", "--help"}) {
    EXPECT_NE(HelpText().find(flag), std::string::npos) << flag;
  }
}

TEST(OptionsTest, WrongCommandLinesAreRefusedWithAReason) {
  const std::vector<std::vector<std::string>> wrong{
      {"--port", "1"},          {"--data"},
      {"--data="},              {"--listen", "8960"},
      {"--listen", "::1:80"},   {"--listen", "127.0.0.1:65536"},
      {"--listen", ":80"},      {"--listen", "127.0.0.1:x"},
      {"--public-url", "ftp://x"}, {"--public-url", "http://a b"},
      {"--public-url", "http://"}, {"--public-url", "http://x/%41"},
      {"--accept-uin", ""},     {"--accept-uin", "a&b=c"},
      {"--max-bytes", "0"},     {"--max-bytes", "-5"},
      {"--max-bytes", "12k"},   {"--max-pixels", ""},
      {"stray"},
  };
  for (const auto& arguments : wrong) {
    EXPECT_NE(ReadOptions(arguments, "/home/ann").error, "") << arguments.front();
  }
}

}  // namespace
}  // namespace lumatrel::host
