// The decision on an upload request before any picture is decoded: the account, the size, the
// form and the first bytes of the picture, in that order. Pure, so that it can be tested and
// fuzzed without a server.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/PictureType.h"
#include "host/Reply.h"
#include "host/UploadForm.h"

namespace lumatrel::host {

struct UploadRequest {
  std::vector<std::string> accounts;  // every uin value of the query
  std::uint64_t declaredLength = 0;   // the Content-Length header (0 when absent)
  bool overLimit = false;             // more body bytes arrived than the limit allows
  bool complete = true;               // the body arrived whole
  std::string_view contentType;       // as the client sent it
  std::string_view body;              // the bytes kept (all of them unless overLimit)
};

struct UploadCheck {
  std::optional<Refusal> refusal;  // set: the request is refused for this reason
  std::string_view picture;        // otherwise the picture's bytes, inside the request's body
  PictureType type = PictureType::None;
};

UploadCheck CheckUpload(const UploadRequest& request, const std::vector<std::string>& acceptedAccounts,
                        std::size_t maxBytes);

}  // namespace lumatrel::host
