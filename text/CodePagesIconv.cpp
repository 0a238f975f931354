#include "text/CodePagesIconv.h"

#include <cerrno>

namespace lumatrel {

std::size_t Iconv::ConvertPrefix(std::string_view input, std::string& output) {
  if (!IsOpen()) return 0;
  iconv(handle_, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(input.data());  // iconv's signature; it does not write the input
  std::size_t inLeft = input.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(handle_, &in, &inLeft, &out, &outLeft);
    const int error = errno;
    output.append(buffer, static_cast<std::size_t>(out - buffer));
    if (result == static_cast<std::size_t>(-1) && error != E2BIG) break;
  }
  char* out = buffer;
  std::size_t outLeft = sizeof buffer;
  iconv(handle_, nullptr, nullptr, &out, &outLeft);  // the shift state back to the initial one
  output.append(buffer, static_cast<std::size_t>(out - buffer));
  return input.size() - inLeft;
}

std::optional<std::string> Iconv::Convert(std::string_view input) {
  std::string output;
  if (!IsOpen() || ConvertPrefix(input, output) != input.size()) return std::nullopt;
  return output;
}

}  // namespace lumatrel
