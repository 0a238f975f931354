#include "host/UploadCheck.h"

#include "host/UploadForm.h"

namespace lumatrel::host {

UploadCheck CheckUpload(const UploadRequest& request, const std::vector<std::string>& acceptedAccounts,
                        std::size_t maxBytes) {
  auto refuse = [](Refusal refusal) { return UploadCheck{refusal, {}, PictureType::None}; };
  if (!AccountAccepted(request.accounts, acceptedAccounts)) return refuse(Refusal::UnknownAccount);
  if (request.overLimit || request.declaredLength > maxBytes || request.body.size() > maxBytes) {
    return refuse(Refusal::BodyTooLarge);
  }
  if (!request.complete) return refuse(Refusal::MalformedForm);

  const UploadForm form = ReadUploadForm(request.contentType, request.body);
  if (form.problem == FormProblem::Malformed) return refuse(Refusal::MalformedForm);
  if (form.problem == FormProblem::MissingPicture) return refuse(Refusal::MissingPicture);
  const PictureType type = ProbePictureType(form.picture);
  if (type == PictureType::None) return refuse(Refusal::NotAPicture);
  return UploadCheck{std::nullopt, form.picture, type};
}

}  // namespace lumatrel::host
