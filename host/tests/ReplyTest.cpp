#include "host/Reply.h"

#include <gtest/gtest.h>

namespace lumatrel::host {
namespace {

TEST(ReplyTest, SuccessInTheServicesForm) {
  EXPECT_EQ(SuccessReply("http://127.0.0.1:8960", "0123456789abcdef0123456789abcdef"),
            "{\"code\":0,\"url\":\"http:\\/\\/127.0.0.1:8960\\/p\\/0123456789abcdef0123456789abcdef\","
            "\"msg\":\"\",\"path\":\"\\/p\\/0123456789abcdef0123456789abcdef\"}");
}

TEST(ReplyTest, JsonStringsAreAsciiWithEscapes) {
  EXPECT_EQ(JsonString(u"上传"), "\"\\u4e0a\\u4f20\"");
  EXPECT_EQ(JsonString(u"a/b\"c\\d\n"), "\"a\\/b\\\"c\\\\d\\u000a\"");
}

TEST(ReplyTest, EveryRefusalHasNoUrlAndAChineseReason) {
  const Limits limits{50 * 1024 * 1024, 100000000};
  const Refusal all[] = {Refusal::UnknownAccount, Refusal::BodyTooLarge,  Refusal::MalformedForm,
                         Refusal::MissingPicture, Refusal::NotAPicture,   Refusal::TooManyPixels,
                         Refusal::DamagedPicture, Refusal::StorageFailed};
  for (Refusal refusal : all) {
    const std::string reply = RefusalReply(refusal, limits);
    EXPECT_EQ(reply.find("\"url\""), std::string::npos) << reply;
    EXPECT_NE(reply.find("\"msg\":\"\\u"), std::string::npos) << reply;
    EXPECT_NE(RefusalCode(refusal), 0);
    EXPECT_GE(RefusalStatus(refusal), 400);
    for (char c : reply) EXPECT_TRUE(c >= 0x20 && c < 0x7f) << reply;
    // The program resolves %XX in replies, so a message must not hold one.
    EXPECT_EQ(reply.find('%'), std::string::npos) << reply;
  }
  EXPECT_EQ(RefusalMessage(Refusal::BodyTooLarge, limits), u"文件太大，上限为 50 MiB");
  EXPECT_EQ(RefusalMessage(Refusal::BodyTooLarge, Limits{1000, 1}), u"文件太大，上限为 1000 字节");
  EXPECT_EQ(RefusalMessage(Refusal::TooManyPixels, limits), u"图片尺寸太大，上限为 100000000 像素");
  EXPECT_EQ(RefusalMessage(Refusal::DamagedPicture, limits), u"图片已损坏或不完整");
}

}  // namespace
}  // namespace lumatrel::host
