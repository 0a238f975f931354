#include <string>

#include "text/CharsetConverter.h"
#include "text/CodePagesIconv.h"

namespace lumatrel {

std::optional<Bytes> ConvertCharset(std::string_view from, std::string_view to, std::span<const std::uint8_t> input) {
  const std::string fromName(from);
  const std::string toName(to);
  Iconv converter(toName.c_str(), fromName.c_str());
  if (!converter.IsOpen()) return std::nullopt;
  const auto converted =
      converter.Convert(std::string_view(reinterpret_cast<const char*>(input.data()), input.size()));
  if (!converted) return std::nullopt;
  return Bytes(converted->begin(), converted->end());
}

}  // namespace lumatrel
