#include "upload/UploadImage.h"

#include "text/ExtractBetween.h"
#include "upload/UnescapeText.h"

#ifndef LUMATREL_UPLOAD_HOST
#error "LUMATREL_UPLOAD_HOST must name the picture service's host (set by the build)"
#endif

namespace lumatrel {

namespace {

constexpr std::string_view kContentType = "multipart/form-data; boundary=----------GI3Ef1KM7gL6gL6Ef1ei4Ef1gL6gL6";
constexpr std::string_view kUserAgent = "Shockwave Flash";
constexpr std::string_view kFileNamePlaceholder = "#文件名称#";
constexpr std::string_view kPicturePlaceholder = "#图片数据#";
constexpr std::string_view kFailurePrefix = "上传失败：";
constexpr std::string_view kScheme = "http://";
constexpr std::string_view kEndMarker = "\"";

constexpr std::string_view kTemplate =
    "------------GI3Ef1KM7gL6gL6Ef1ei4Ef1gL6gL6\r\n"
    "Content-Disposition: form-data; name=\"Filename\"\r\n"
    "\r\n"
    "#文件名称#\r\n"
    "------------GI3Ef1KM7gL6gL6Ef1ei4Ef1gL6gL6\r\n"
    "Content-Disposition: form-data; name=\"filename\"; filename=\"#文件名称#\"\r\n"
    "Content-Type: application/octet-stream\r\n"
    "\r\n"
    "#图片数据#\r\n"
    "------------GI3Ef1KM7gL6gL6Ef1ei4Ef1gL6gL6\r\n"
    "Content-Disposition: form-data; name=\"Upload\"\r\n"
    "\r\n"
    "Submit Query\r\n"
    "------------GI3Ef1KM7gL6gL6Ef1ei4Ef1gL6gL6--";

Text Field(const Text& reply, std::string_view startMarker) {
  int position = 0;
  return ExtractBetween(reply, startMarker, kEndMarker, position);
}

}  // namespace

Text UploadEndpoint() {
  return Text(kScheme) + LUMATREL_UPLOAD_HOST + "/asyn/uploadpicCommon.php?call=2&uin=9b0e7c2a8d64f1035e9a7b2c6d08e4f1";
}

std::string_view UploadBodyTemplate() { return kTemplate; }

bool UploadImage(WebClient& client, const Bytes& picture, const Text& fileName, Text& pictureAddress, Text& failureText,
                 Text& picturePath) {
  return UploadImage(client, UploadEndpoint(), picture, fileName, pictureAddress, failureText, picturePath);
}

bool UploadImage(WebClient& client, std::string_view endpoint, const Bytes& picture, const Text& fileName,
                 Text& pictureAddress, Text& failureText, Text& picturePath) {
  const Text bodyText = Replace(kTemplate, kFileNamePlaceholder, fileName);

  // The picture goes where the template's own placeholder stands, copied once; a file name that
  // happens to contain the placeholder text stays a name.
  const std::size_t split = kTemplate.find(kPicturePlaceholder);
  const Text head = Replace(kTemplate.substr(0, split), kFileNamePlaceholder, fileName);
  const std::string_view tail = kTemplate.substr(split + kPicturePlaceholder.size());
  Bytes body;
  body.reserve(head.size() + picture.size() + tail.size());
  body.insert(body.end(), head.begin(), head.end());
  body.insert(body.end(), picture.begin(), picture.end());
  body.insert(body.end(), tail.begin(), tail.end());

  const Text reply = UnescapeText(client.FetchText(Text(endpoint), bodyText, 0, 0.0f, std::nullopt, false, body, {},
                                                   nullptr, false, Text(kContentType), Text(kUserAgent)));

  pictureAddress = Field(reply, "''url'':''");
  failureText = Text(kFailurePrefix) + Field(reply, "''msg'':''");
  picturePath = Field(reply, "''path'':''");
  if (ToLower(Left(picturePath, 7)) != kScheme) picturePath = Text(kScheme) + picturePath;
  return !pictureAddress.empty();
}

}  // namespace lumatrel
