// The upload exchange on arbitrary service replies (and arbitrary file names and pictures): the
// body always has the form's length, the three fields are read only from the quoted fields of the
// reply, the result says success exactly when there is an address, and the path always carries
// its scheme.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <memory>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "http/tests/RecordingRequest.h"
#include "text/DecodeReplyText.h"
#include "text/Text.h"
#include "upload/UnescapeText.h"
#include "upload/UploadImage.h"

namespace {

using lumatrel::Text;

constexpr std::string_view kEndpoint = "http://127.0.0.1:9/asyn/uploadpicCommon.php?call=2&uin=9b0e7c2a8d64f1035e9a7b2c6d08e4f1";

// The quoted field "name":"value" occurs in the reply (names compare without case).
bool QuotedFieldOccurs(const Text& reply, std::string_view name, const Text& value) {
  return lumatrel::Find(reply, "\"" + Text(name) + "\":\"" + value + "\"", 1, false) != -1;
}

bool HasNoZero(const Text& text) { return text.find('\0') == std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lumatrel;
  FuzzedDataProvider input(data, size);
  const Text fileName = TextFromRaw(input.ConsumeRandomLengthString(24));
  const std::string pictureBytes = input.ConsumeRandomLengthString(64);
  const std::string replyBytes = input.ConsumeRemainingBytesAsString();

  WebClient client;
  auto fake = std::make_unique<RecordingRequest>();
  RecordingRequest& request = *fake;
  client.request = std::move(fake);
  request.responseBody.assign(replyBytes.begin(), replyBytes.end());

  const Bytes picture(pictureBytes.begin(), pictureBytes.end());
  Text address = "old", failure = "old", path = "old";
  const bool uploaded = UploadImage(client, kEndpoint, picture, fileName, address, failure, path);

  FUZZ_CHECK(request.sentBytes.size() == 398 + 2 * fileName.size() + picture.size());
  FUZZ_CHECK(uploaded == !address.empty());
  FUZZ_CHECK(HasNoZero(address) && HasNoZero(failure) && HasNoZero(path));

  // What the exchange reads its fields from: the reply as text, its escapes resolved.
  std::int32_t detected = 0;
  Text decoded;
  const Text reply = UnescapeText(DecodeReplyText({}, 0, detected, decoded, request.responseBody, {}));

  if (!address.empty()) FUZZ_CHECK(QuotedFieldOccurs(reply, "url", address));
  const Text prefix = "上传失败：";
  FUZZ_CHECK(StartsWith(failure, prefix));
  const Text message = failure.substr(prefix.size());
  if (!message.empty()) FUZZ_CHECK(QuotedFieldOccurs(reply, "msg", message));
  FUZZ_CHECK(ToLower(Left(path, 7)) == "http://");
  // Either the field itself (it had its scheme) or the scheme put in front of it.
  FUZZ_CHECK(path == "http://" || QuotedFieldOccurs(reply, "path", path) ||
             QuotedFieldOccurs(reply, "path", path.substr(7)));
  return 0;
}
