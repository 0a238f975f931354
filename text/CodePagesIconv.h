// The C library's iconv, for the native build's code pages, charset converter and GB18030 table.
#pragma once

#include <iconv.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lumatrel {

class Iconv {
 public:
  Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  ~Iconv() {
    if (IsOpen()) iconv_close(handle_);
  }

  bool IsOpen() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  // Converts from the start of input up to its end or to the first sequence that is invalid or
  // incomplete, appending to output; returns the number of input bytes converted.
  std::size_t ConvertPrefix(std::string_view input, std::string& output);

  // The whole of input converted, or nothing when any sequence is invalid or incomplete.
  std::optional<std::string> Convert(std::string_view input);

 private:
  iconv_t handle_;
};

}  // namespace lumatrel
