// The permanent addresses of the stored pictures and the strict reading of request paths.
//
// A picture id is 32 lower-case hexadecimal digits. Its addresses are /p/<id> (the large
// rendition), /p/<id>/2000.jpg and /p/<id>/460.jpg; nothing else names a picture.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lumatrel::host {

inline constexpr std::size_t kPictureIdLength = 32;

enum class Rendition { Large, Small };

struct PictureRequest {
  std::string id;
  Rendition rendition = Rendition::Large;
};

bool IsPictureId(std::string_view id);

// The picture a request path names, or nothing for any other path (a query is not part of it).
std::optional<PictureRequest> ParsePicturePath(std::string_view path);

// "/p/<id>", the address of a picture relative to the host.
std::string PicturePathOf(std::string_view id);

// "2000.jpg" or "460.jpg": the rendition's file name, both in addresses and on disk.
std::string_view RenditionFileName(Rendition rendition);

// The longest side of a rendition's box.
int RenditionSize(Rendition rendition);

}  // namespace lumatrel::host
