#include "host/PicturePath.h"

#include <algorithm>

namespace lumatrel::host {

bool IsPictureId(std::string_view id) {
  return id.size() == kPictureIdLength &&
         std::all_of(id.begin(), id.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

std::optional<PictureRequest> ParsePicturePath(std::string_view path) {
  constexpr std::string_view prefix = "/p/";
  if (path.substr(0, prefix.size()) != prefix) return std::nullopt;
  path.remove_prefix(prefix.size());
  const std::string_view id = path.substr(0, kPictureIdLength);
  if (!IsPictureId(id)) return std::nullopt;
  const std::string_view rest = path.substr(id.size());
  PictureRequest request{std::string(id), Rendition::Large};
  if (rest.empty()) return request;
  for (Rendition rendition : {Rendition::Large, Rendition::Small}) {
    if (rest.size() == 1 + RenditionFileName(rendition).size() && rest[0] == '/' &&
        rest.substr(1) == RenditionFileName(rendition)) {
      request.rendition = rendition;
      return request;
    }
  }
  return std::nullopt;
}

std::string PicturePathOf(std::string_view id) { return "/p/" + std::string(id); }

std::string_view RenditionFileName(Rendition rendition) {
  return rendition == Rendition::Large ? "2000.jpg" : "460.jpg";
}

int RenditionSize(Rendition rendition) { return rendition == Rendition::Large ? 2000 : 460; }

}  // namespace lumatrel::host
