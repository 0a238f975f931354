// The upload replies, in the picture service's JSON form: slashes escaped and every non-ASCII
// character as a backslash-u escape, so the reply is plain ASCII whatever the client's code page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumatrel::host {

enum class Refusal {
  UnknownAccount,
  BodyTooLarge,
  MalformedForm,
  MissingPicture,
  NotAPicture,
  TooManyPixels,
  DamagedPicture,
  StorageFailed,
};

struct Limits {
  std::size_t maxBytes = 0;
  std::uint64_t maxPixels = 0;
};

// A JSON string literal (quotes included) of UTF-16 text, '/' escaped, non-ASCII as \uXXXX.
std::string JsonString(std::u16string_view text);

// {"code":0,"url":"<publicUrl>/p/<id>","msg":"","path":"/p/<id>"}, escaped. publicUrl is ASCII.
std::string SuccessReply(std::string_view publicUrl, std::string_view id);

// {"code":N,"msg":"..."}: no url, and a message in Chinese saying why.
std::string RefusalReply(Refusal refusal, const Limits& limits);

// The message alone, for tests and logs.
std::u16string RefusalMessage(Refusal refusal, const Limits& limits);

int RefusalCode(Refusal refusal);
int RefusalStatus(Refusal refusal);  // the HTTP status that goes with it
std::string_view RefusalName(Refusal refusal);  // for the log

}  // namespace lumatrel::host
