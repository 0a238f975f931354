// One exchange with the picture service for one picture: the multipart post and the reading of
// its reply.
#pragma once

#include <string_view>

#include "http/WebClient.h"
#include "text/Text.h"

namespace lumatrel {

// The built-in upload endpoint (its host is fixed when the program is built).
Text UploadEndpoint();

// The 428-byte body template, file name and picture placeholders still in place.
std::string_view UploadBodyTemplate();

// Posts the picture to the endpoint through client and reads the reply: pictureAddress the
// reply's url, failureText "上传失败：" and its msg (also on success), picturePath its path made
// absolute. True exactly when pictureAddress is not empty. All three outputs are always written.
bool UploadImage(WebClient& client, const Bytes& picture, const Text& fileName, Text& pictureAddress, Text& failureText,
                 Text& picturePath);

// The same exchange with another endpoint (tests aim it at a stand-in service).
bool UploadImage(WebClient& client, std::string_view endpoint, const Bytes& picture, const Text& fileName,
                 Text& pictureAddress, Text& failureText, Text& picturePath);

}  // namespace lumatrel
