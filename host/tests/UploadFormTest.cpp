#include "host/UploadForm.h"

#include <gtest/gtest.h>

namespace lumatrel::host {
namespace {

const std::string kType = "multipart/form-data; boundary=----------GI3Ef1KM7gL6gL6Ef1ei4Ef1gL6gL6";
const std::string kDelimiter = "------------GI3Ef1KM7gL6gL6Ef1ei4Ef1gL6gL6";

std::string Part(const std::string& disposition, const std::string& data) {
  return kDelimiter + "\r\nContent-Disposition: form-data; " + disposition + "\r\n\r\n" + data + "\r\n";
}

TEST(UploadFormTest, AccountMustBeOneAcceptedValue) {
  const std::vector<std::string> accepted{std::string(kProgramAccount), "other"};
  EXPECT_TRUE(AccountAccepted({"9b0e7c2a8d64f1035e9a7b2c6d08e4f1"}, accepted));
  EXPECT_TRUE(AccountAccepted({"other"}, accepted));
  EXPECT_FALSE(AccountAccepted({}, accepted));
  EXPECT_FALSE(AccountAccepted({"9B0E7C2A8D64F1035E9A7B2C6D08E4F1"}, accepted));
  EXPECT_FALSE(AccountAccepted({"other", "other"}, accepted));
  EXPECT_FALSE(AccountAccepted({""}, accepted));
}

TEST(UploadFormTest, ThePictureIsTheFilenamePartWithAFileName) {
  const std::string body = Part("name=\"Filename\"", "a.png") + Part("name=\"filename\"; filename=\"a.png\"", "PIC") +
                           Part("name=\"Upload\"", "Submit Query") + kDelimiter + "--";
  const UploadForm form = ReadUploadForm(kType, body);
  EXPECT_EQ(form.problem, FormProblem::None);
  EXPECT_EQ(form.picture, "PIC");
  EXPECT_EQ(form.fileName, "a.png");
}

TEST(UploadFormTest, FormsWithoutExactlyOnePictureAreRefused) {
  struct Case {
    std::string type;
    std::string body;
    FormProblem problem;
  };
  const Case cases[] = {
      {kType, Part("name=\"Filename\"", "a.png") + Part("name=\"Upload\"", "Submit Query") + kDelimiter + "--",
       FormProblem::MissingPicture},
      {kType, Part("name=\"filename\"", "no file name attribute") + kDelimiter + "--", FormProblem::MissingPicture},
      {kType, Part("name=\"filename\"; filename=\"a\"", "1") + Part("name=\"filename\"; filename=\"b\"", "2") + kDelimiter + "--",
       FormProblem::Malformed},
      {kType, Part("name=\"filename\"; filename=\"a\"", "cut off"), FormProblem::Malformed},
      {"application/octet-stream", Part("name=\"filename\"; filename=\"a\"", "1") + kDelimiter + "--", FormProblem::Malformed},
      {"", "", FormProblem::Malformed},
  };
  for (const Case& c : cases) {
    const UploadForm form = ReadUploadForm(c.type, c.body);
    EXPECT_EQ(form.problem, c.problem) << c.body;
    EXPECT_TRUE(form.picture.empty());
  }
}

}  // namespace
}  // namespace lumatrel::host
