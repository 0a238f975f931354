// The batch's picture service: UploadImage on the program's one WebClient, and its abort.
#pragma once

#include "app/Seams.h"
#include "http/WebClient.h"

namespace lumatrel::win {

class WebClientUploader : public PictureUploader {
 public:
  explicit WebClientUploader(WebClient& client) : client_(client) {}
  bool Upload(const Bytes& picture, const Text& fileName, Text& pictureAddress, Text& failureText,
              Text& picturePath) override;
  void Abort() override { client_.Abort(); }

 private:
  WebClient& client_;
};

}  // namespace lumatrel::win
