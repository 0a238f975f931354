// The addresses of the header strip: pages of the project's own picture host.
#pragma once

#include <string_view>

namespace lumatrel {

// Opened by the logo.
inline constexpr std::string_view kMakerHomeAddress = "http://127.0.0.1:8960/";
// The address of 文字软件主页 (and of the picture above it).
inline constexpr std::string_view kProductPageAddress = "http://127.0.0.1:8960/lumatrel";
// The contact shown by 文字呼叫QQ and its web contact link; a placeholder, nobody's number.
inline constexpr std::string_view kContactNumber = "000000";
inline constexpr std::string_view kContactAddress = "http://127.0.0.1:8960/contact?qq=000000";
inline constexpr std::string_view kProductPageText = "软件主页";

}  // namespace lumatrel
