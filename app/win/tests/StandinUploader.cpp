#include "app/win/tests/StandinUploader.h"

#include "standin/StandinFiles.h"
#include "upload/UploadImage.h"

namespace lumatrel::win::testing {

bool StandinUploader::Upload(const Bytes& picture, const Text& fileName, Text& pictureAddress, Text& failureText,
                             Text& picturePath) {
  // The built-in path and query, below the session of the stand-in.
  const Text builtIn = UploadEndpoint();
  const std::size_t path = builtIn.find("/asyn/");
  const Text endpoint = standin::SessionUrl(session_) + (path == Text::npos ? Text() : builtIn.substr(path));
  if (!client_) return false;
  return UploadImage(*client_, endpoint, picture, fileName, pictureAddress, failureText, picturePath);
}

}  // namespace lumatrel::win::testing
