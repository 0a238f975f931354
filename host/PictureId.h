// The permanent id of a picture: derived from the SHA-256 of its bytes, so the same picture always
// gets the same address.
#pragma once

#include <string>
#include <string_view>

namespace lumatrel::host {

// The first 128 bits of SHA-256(bytes) as 32 lower-case hex digits; empty if hashing failed.
std::string PictureIdOf(std::string_view bytes);

}  // namespace lumatrel::host
