// The batch's uploads for the window test: UploadImage on the program's WebClient, aimed at the
// test's own session of the stand-in picture service instead of the built-in host.
#pragma once

#include <string>

#include "app/Seams.h"
#include "http/WebClient.h"

namespace lumatrel::win::testing {

class StandinUploader : public PictureUploader {
 public:
  explicit StandinUploader(std::string session) : session_(std::move(session)) {}
  // The program's one WebClient, once start-up has made it.
  void Bind(WebClient& client) { client_ = &client; }
  bool Upload(const Bytes& picture, const Text& fileName, Text& pictureAddress, Text& failureText,
              Text& picturePath) override;
  void Abort() override {
    if (client_) client_->Abort();
  }

 private:
  std::string session_;
  WebClient* client_ = nullptr;
};

}  // namespace lumatrel::win::testing
