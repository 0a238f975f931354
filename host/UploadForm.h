// The checks on an upload request before any picture is decoded: the account and the form that
// carries the picture.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumatrel::host {

// The program's built-in account value, accepted unless the host is told otherwise.
inline constexpr std::string_view kProgramAccount = "9b0e7c2a8d64f1035e9a7b2c6d08e4f1";

// The request must carry exactly one uin value, and it must be one of the accepted ones.
bool AccountAccepted(const std::vector<std::string>& uinValues, const std::vector<std::string>& accepted);

enum class FormProblem { None, Malformed, MissingPicture };

struct UploadForm {
  FormProblem problem = FormProblem::None;
  std::string_view picture;  // the content of the "filename" part; points into the body
  std::string fileName;      // its filename parameter, as sent
};

// Finds the picture in the program's form: the one part named "filename" that has a file name.
// Other fields (Filename, Upload) are not needed. A second picture part makes the form malformed.
UploadForm ReadUploadForm(std::string_view contentType, std::string_view body);

}  // namespace lumatrel::host
