#include "host/UploadCheck.h"

#include <gtest/gtest.h>

namespace lumatrel::host {
namespace {

const std::string kType = "multipart/form-data; boundary=XyZ";

std::string Form(const std::string& picture) {
  return "--XyZ\r\nContent-Disposition: form-data; name=\"filename\"; filename=\"a.png\"\r\n\r\n" + picture +
         "\r\n--XyZ--";
}

// The checks come in a fixed order: the account, the size, the form, the picture's first bytes.
TEST(UploadCheckTest, RefusesForTheFirstProblemInOrder) {
  const std::vector<std::string> accepted{std::string(kProgramAccount)};
  const std::string png = Form("\x89PNG\r\n\x1a\n....");
  const std::string text = Form("just text");
  struct Case {
    const char* what;
    UploadRequest request;
    std::optional<Refusal> refusal;
  };
  const Case cases[] = {
      {"accepted", {{std::string(kProgramAccount)}, png.size(), false, true, kType, png}, std::nullopt},
      {"no account", {{}, png.size(), false, true, kType, png}, Refusal::UnknownAccount},
      {"two accounts, the rest too large", {{"x", "y"}, 1 << 30, true, false, "", ""}, Refusal::UnknownAccount},
      {"declared too large", {{std::string(kProgramAccount)}, 201, false, true, kType, png}, Refusal::BodyTooLarge},
      {"more arrived than allowed", {{std::string(kProgramAccount)}, 0, true, true, kType, png}, Refusal::BodyTooLarge},
      {"cut short", {{std::string(kProgramAccount)}, 0, false, false, kType, png}, Refusal::MalformedForm},
      {"not a form", {{std::string(kProgramAccount)}, 0, false, true, "text/plain", png}, Refusal::MalformedForm},
      {"no picture part", {{std::string(kProgramAccount)}, 0, false, true, kType, "--XyZ--"}, Refusal::MissingPicture},
      {"not a picture", {{std::string(kProgramAccount)}, 0, false, true, kType, text}, Refusal::NotAPicture},
  };
  for (const Case& c : cases) {
    const UploadCheck check = CheckUpload(c.request, accepted, 200);
    EXPECT_EQ(check.refusal, c.refusal) << c.what;
    if (!check.refusal) {
      EXPECT_EQ(check.type, PictureType::Png);
      EXPECT_EQ(check.picture, "\x89PNG\r\n\x1a\n....");
      EXPECT_GE(check.picture.data(), c.request.body.data());  // a view into the body, not a copy
    }
  }
}

}  // namespace
}  // namespace lumatrel::host
