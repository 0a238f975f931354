#include "host/PictureId.h"

#include <openssl/evp.h>

#include "host/PicturePath.h"

namespace lumatrel::host {

std::string PictureIdOf(std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1 ||
      length * 2 < kPictureIdLength) {
    return {};
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string id;
  id.reserve(kPictureIdLength);
  for (unsigned int i = 0; id.size() < kPictureIdLength; ++i) {
    id += kHex[digest[i] >> 4];
    id += kHex[digest[i] & 0x0f];
  }
  return id;
}

}  // namespace lumatrel::host
