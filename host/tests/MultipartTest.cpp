#include "host/Multipart.h"

#include <gtest/gtest.h>

namespace lumatrel::host {
namespace {

using namespace std::string_view_literals;

TEST(MultipartTest, BoundaryIsTakenFromTheContentType) {
  EXPECT_EQ(BoundaryOfFormType("multipart/form-data; boundary=----------GI3Ef1KM7gL6gL6Ef1ei4Ef1gL6gL6"),
            "----------GI3Ef1KM7gL6gL6Ef1ei4Ef1gL6gL6");
  EXPECT_EQ(BoundaryOfFormType("Multipart/Form-Data;charset=x; BOUNDARY=\"a b;c\""), "a b;c");
  for (std::string_view wrong : {"multipart/mixed; boundary=x"sv, "multipart/form-data"sv,
                                 "multipart/form-data; boundary="sv, "multipart/form-data; boundary=\"x"sv,
                                 "text/plain"sv, ""sv}) {
    EXPECT_FALSE(BoundaryOfFormType(wrong)) << wrong;
  }
  EXPECT_FALSE(BoundaryOfFormType("multipart/form-data; boundary=" + std::string(71, 'a')));
}

TEST(MultipartTest, ReadsEveryPartWithItsNameFileNameTypeAndExactBytes) {
  const char raw[] = "\x89PNG\r\n\x1a\n\0\r\n-\r\n--b";  // a zero byte and near-delimiters inside
  const std::string picture(raw, sizeof raw - 1);
  const std::string body = "preamble\r\n--XyZ\r\n"
                           "Content-Disposition: form-data; name=\"Filename\"\r\n\r\n"
                           "\xc3\xfb.png\r\n--XyZ  \r\n"
                           "content-disposition: Form-Data; name=filename; filename=\"\xc3\xfb;\xd7\xd6.png\"\r\n"
                           "Content-Type:  application/octet-stream \r\n\r\n" +
                           picture + "\r\n--XyZ\r\n"
                           "Content-Disposition: form-data; name=\"Upload\"\r\n\r\n"
                           "Submit Query\r\n--XyZ--";
  const auto parts = ReadMultipart(body, "XyZ");
  ASSERT_TRUE(parts);
  ASSERT_EQ(parts->size(), 3u);
  EXPECT_EQ((*parts)[0].name, "Filename");
  EXPECT_FALSE((*parts)[0].fileName);
  EXPECT_EQ((*parts)[0].data, "\xc3\xfb.png");
  EXPECT_EQ((*parts)[1].name, "filename");
  EXPECT_EQ((*parts)[1].fileName, "\xc3\xfb;\xd7\xd6.png");
  EXPECT_EQ((*parts)[1].contentType, "application/octet-stream");
  EXPECT_EQ((*parts)[1].data, picture);
  EXPECT_EQ((*parts)[2].data, "Submit Query");
}

TEST(MultipartTest, AnEmptyPartAndAnEpilogueAreFine) {
  const auto parts = ReadMultipart("--b\r\nContent-Disposition: form-data; name=\"f\"; filename=\"\"\r\n\r\n\r\n--b--\r\nbye", "b");
  ASSERT_TRUE(parts);
  ASSERT_EQ(parts->size(), 1u);
  EXPECT_EQ((*parts)[0].fileName, "");
  EXPECT_TRUE((*parts)[0].data.empty());
}

TEST(MultipartTest, IncompleteOrMalformedBodiesAreRefused) {
  const std::string_view good = "--b\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\nxyz\r\n--b--";
  ASSERT_TRUE(ReadMultipart(good, "b"));
  const std::string_view wrong[] = {
      ""sv,
      "no delimiter at all"sv,
      "--b\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\nxyz"sv,             // cut: no next delimiter
      "--b\r\nContent-Disposition: form-data; name=\"a\"\r\n"sv,                     // cut in the headers
      "--b\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\nxyz\r\n--b"sv,       // neither "--" nor CR LF after
      "--b\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\nxyz\r\n--bX\r\n"sv,  // the boundary inside data
      "--b\r\nContent-Disposition: attachment; name=\"a\"\r\n\r\nx\r\n--b--"sv,
      "--b\r\nContent-Disposition: form-data; filename=\"a\"\r\n\r\nx\r\n--b--"sv,  // no name
      "--b\r\nContent-Disposition: form-data; name=\"a\r\n\r\nx\r\n--b--"sv,       // unclosed quote
      "--b\r\nContent-Disposition: form-data; name=\"a\"\r\nContent-Disposition: form-data; name=\"c\"\r\n\r\nx\r\n--b--"sv,
      "--b\r\nNo-Colon-Here\r\n\r\nx\r\n--b--"sv,
      "--b\r\n\r\nheaderless\r\n--b--"sv,
      "--bxyz"sv,
  };
  for (std::string_view body : wrong) EXPECT_FALSE(ReadMultipart(body, "b")) << body;
  EXPECT_FALSE(ReadMultipart(good, ""));
}

TEST(MultipartTest, LimitsBoundTheWork) {
  std::string many;
  for (std::size_t i = 0; i <= kMaxFormParts; ++i) many += "--b\r\nContent-Disposition: form-data; name=\"p\"\r\n\r\nx\r\n";
  EXPECT_FALSE(ReadMultipart(many + "--b--", "b"));
  const std::string longHeader = "--b\r\nContent-Disposition: form-data; name=\"a\"\r\nX-Pad: " +
                                 std::string(kMaxPartHeaderBytes, 'p') + "\r\n\r\nx\r\n--b--";
  EXPECT_FALSE(ReadMultipart(longHeader, "b"));
}

}  // namespace
}  // namespace lumatrel::host
