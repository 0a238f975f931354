// The upload request exactly as the Lumatrel program sends it, and the reading of replies.
#pragma once

#include <httplib.h>

#include <string>
#include <string_view>

namespace lumatrel::host::testing {

inline constexpr std::string_view kUploadTarget =
    "/asyn/uploadpicCommon.php?call=2&uin=9b0e7c2a8d64f1035e9a7b2c6d08e4f1";
inline constexpr std::string_view kFormType =
    "multipart/form-data; boundary=----------GI3Ef1KM7gL6gL6Ef1ei4Ef1gL6gL6";

// The program's fourteen-line template with the name and the picture filled in.
std::string ProgramForm(std::string_view fileName, std::string_view picture);

struct UploadAnswer {
  int status = -1;  // -1: no reply at all
  std::string body;
  std::string url;     // the reply's fields with JSON escapes undone; url and path are ASCII
  std::string path;
  std::u16string msg;
};

UploadAnswer PostUpload(httplib::Client& client, std::string_view body, std::string_view target = kUploadTarget,
                        std::string_view contentType = kFormType);

// The value of "key":"..." with \/ \" \\ and \uXXXX undone, or nothing found: empty.
std::u16string JsonField(std::string_view reply, std::string_view key);
std::string AsciiOf(std::u16string_view text);

// A client for the host on this port, with the program's user agent.
httplib::Client HostClient(int port);

}  // namespace lumatrel::host::testing
