// Reading a multipart/form-data body (RFC 7578 over RFC 2046) as it arrived, without copying
// the part contents.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumatrel::host {

struct FormPart {
  std::string name;                     // the name parameter of Content-Disposition
  std::optional<std::string> fileName;  // the filename parameter, when present (bytes as sent)
  std::string contentType;              // empty when the part has none
  std::string_view data;                // points into the body given to ReadMultipart
};

// The boundary of a "multipart/form-data; boundary=..." content type, or nothing.
std::optional<std::string> BoundaryOfFormType(std::string_view contentType);

// Every part of the body in order, or nothing when the body is not a complete form with that
// boundary (no delimiter, a part without headers' end or without a following delimiter, a part
// without a form-data name, more than kMaxFormParts parts, headers over kMaxPartHeaderBytes).
inline constexpr std::size_t kMaxFormParts = 32;
inline constexpr std::size_t kMaxPartHeaderBytes = 8192;
std::optional<std::vector<FormPart>> ReadMultipart(std::string_view body, std::string_view boundary);

}  // namespace lumatrel::host
