#include "app/win/WebClientUploader.h"

#include "upload/UploadImage.h"

namespace lumatrel::win {

bool WebClientUploader::Upload(const Bytes& picture, const Text& fileName, Text& pictureAddress, Text& failureText,
                               Text& picturePath) {
  return UploadImage(client_, picture, fileName, pictureAddress, failureText, picturePath);
}

}  // namespace lumatrel::win
