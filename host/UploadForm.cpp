#include "host/UploadForm.h"

#include <algorithm>

#include "host/Multipart.h"

namespace lumatrel::host {

bool AccountAccepted(const std::vector<std::string>& uinValues, const std::vector<std::string>& accepted) {
  return uinValues.size() == 1 && std::find(accepted.begin(), accepted.end(), uinValues.front()) != accepted.end();
}

UploadForm ReadUploadForm(std::string_view contentType, std::string_view body) {
  UploadForm form;
  const auto boundary = BoundaryOfFormType(contentType);
  const auto parts = boundary ? ReadMultipart(body, *boundary) : std::nullopt;
  if (!parts) {
    form.problem = FormProblem::Malformed;
    return form;
  }
  int pictures = 0;
  for (const FormPart& part : *parts) {
    if (part.name != "filename" || !part.fileName) continue;
    if (++pictures == 1) {
      form.picture = part.data;
      form.fileName = *part.fileName;
    }
  }
  if (pictures == 0) form.problem = FormProblem::MissingPicture;
  if (pictures > 1) form.problem = FormProblem::Malformed;
  if (form.problem != FormProblem::None) form = UploadForm{form.problem, {}, {}};
  return form;
}

}  // namespace lumatrel::host
