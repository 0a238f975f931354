// The picture host's request handling on arbitrary requests, without a server.
//
// Uploads: the account, size and form checks and the probing of the picture; an accepted picture
// is always a probed picture inside the body, sent with exactly one accepted account, and the
// form's parts always lie in order inside the body.
// Reads: a request path names a picture only in its canonical form; the folder it leads to always
// lies in the store's picture tree; and only a whole picture is ever served, never one that is
// missing a file or still being staged.
#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "host/EntityTag.h"
#include "host/Multipart.h"
#include "host/PictureId.h"
#include "host/PicturePath.h"
#include "host/PictureType.h"
#include "host/Store.h"
#include "host/UploadCheck.h"
#include "host/UploadForm.h"

namespace lumatrel::host {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxBytes = 4096;
// Ids the seed corpus names: one stored whole, one missing its small rendition, one staged only.
constexpr std::string_view kPartialId = "0123456789abcdef0123456789abcdef";
constexpr std::string_view kStagedId = "fedcba9876543210fedcba9876543210";

void WriteFile(const fs::path& path, std::string_view bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

struct Fixture {
  fs::path dataDir;
  PictureStore store;
  std::string wholeId;
  std::string large = "large rendition", small = "small rendition";

  Fixture() : dataDir(MakeDataDir()), store(dataDir) {
    if (!store.Open()) std::abort();
    wholeId = PictureIdOf("the one whole picture");
    if (wholeId.size() != kPictureIdLength) std::abort();
    if (!store.Save(wholeId, "the one whole picture", large, small)) std::abort();
    // What a crash in the middle of an upload could leave, or another program could put there.
    const fs::path partial = store.PictureFolder(kPartialId);
    WriteFile(partial / "original", "partial");
    WriteFile(partial / "2000.jpg", "partial large");
    const fs::path staged = dataDir / "tmp" / (std::string(kStagedId) + ".1.1");
    for (const char* name : {"original", "2000.jpg", "460.jpg"}) WriteFile(staged / name, "staged");
  }

  ~Fixture() {
    std::error_code ignored;
    fs::remove_all(dataDir, ignored);
  }

  static fs::path MakeDataDir() {
    std::string folder = (fs::temp_directory_path() / "lumatrel-fuzz-host-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) std::abort();
    return folder;
  }
};

Fixture& TheFixture() {
  static Fixture fixture;
  return fixture;
}

bool Inside(std::string_view part, std::string_view whole) {
  return part.empty() || (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

void CheckMultipart(std::string_view body, std::string_view boundary) {
  const auto parts = ReadMultipart(body, boundary);
  if (!parts) return;
  FUZZ_CHECK(parts->size() <= kMaxFormParts);
  const char* previousEnd = body.data();
  for (const FormPart& part : *parts) {
    FUZZ_CHECK(Inside(part.data, body));
    if (!part.data.empty()) {
      FUZZ_CHECK(part.data.data() >= previousEnd);
      previousEnd = part.data.data() + part.data.size();
    }
  }
}

void FuzzUpload(FuzzedDataProvider& input) {
  const std::vector<std::string> accepted{std::string(kProgramAccount), "second"};
  UploadRequest request;
  const int accounts = input.ConsumeIntegralInRange<int>(0, 3);
  for (int i = 0; i < accounts; ++i) {
    request.accounts.push_back(input.ConsumeBool() ? std::string(kProgramAccount) : input.ConsumeRandomLengthString(40));
  }
  request.declaredLength = input.ConsumeBool() ? input.ConsumeIntegral<std::uint64_t>() : 0;
  request.overLimit = input.ConsumeIntegralInRange<int>(0, 15) == 0;
  request.complete = input.ConsumeIntegralInRange<int>(0, 15) != 0;
  const std::string boundary = input.ConsumeRandomLengthString(80);
  const std::string contentType =
      input.ConsumeBool() ? "multipart/form-data; boundary=" + boundary : boundary;
  request.contentType = contentType;
  const std::string body = input.ConsumeRemainingBytesAsString();
  request.body = body;

  const UploadCheck check = CheckUpload(request, accepted, kMaxBytes);
  const bool accountOk = AccountAccepted(request.accounts, accepted);
  FUZZ_CHECK(accountOk == (request.accounts.size() == 1 &&
                           (request.accounts[0] == kProgramAccount || request.accounts[0] == "second")));
  if (!accountOk) FUZZ_CHECK(check.refusal == Refusal::UnknownAccount);
  if (!check.refusal) {
    FUZZ_CHECK(accountOk);
    FUZZ_CHECK(!request.overLimit && request.complete && request.declaredLength <= kMaxBytes &&
               body.size() <= kMaxBytes);
    FUZZ_CHECK(Inside(check.picture, body) && !check.picture.empty());
    FUZZ_CHECK(check.type != PictureType::None && ProbePictureType(check.picture) == check.type);
    const UploadForm form = ReadUploadForm(contentType, body);
    FUZZ_CHECK(form.problem == FormProblem::None && form.picture.data() == check.picture.data());
  }
  if (const auto formBoundary = BoundaryOfFormType(contentType)) {
    FUZZ_CHECK(!formBoundary->empty());
    CheckMultipart(body, *formBoundary);
  }
  ProbePictureType(body);
}

void FuzzRead(FuzzedDataProvider& input) {
  Fixture& fixture = TheFixture();
  const std::string ifNoneMatch = input.ConsumeRandomLengthString(80);
  const std::string path = input.ConsumeRemainingBytesAsString();
  const auto picture = ParsePicturePath(path);
  if (!picture) return;

  // Canonical addresses only: the id's own spelling, and one of three forms.
  FUZZ_CHECK(IsPictureId(picture->id));
  const std::string base = PicturePathOf(picture->id);
  FUZZ_CHECK(path == base || path == base + "/" + std::string(RenditionFileName(picture->rendition)));
  if (path == base) FUZZ_CHECK(picture->rendition == Rendition::Large);

  // The folder it leads to lies in the picture tree, whatever the id.
  const fs::path folder = fixture.store.PictureFolder(picture->id);
  const fs::path tree = fixture.dataDir / "pictures";
  const fs::path relative = folder.lexically_normal().lexically_relative(tree);
  FUZZ_CHECK(!relative.empty() && *relative.begin() != "..");
  FUZZ_CHECK(std::distance(relative.begin(), relative.end()) == 3);

  const auto served = fixture.store.Read(picture->id, picture->rendition);
  if (picture->id == fixture.wholeId) {
    FUZZ_CHECK(served == (picture->rendition == Rendition::Large ? fixture.large : fixture.small));
  } else {
    FUZZ_CHECK(!served);  // the partial and the staged picture among them
  }

  const std::string entityTag = "\"" + picture->id + "-" + std::to_string(RenditionSize(picture->rendition)) + "\"";
  IfNoneMatchMatches(ifNoneMatch, entityTag);
  FUZZ_CHECK(IfNoneMatchMatches(entityTag, entityTag) && IfNoneMatchMatches("*", entityTag));
}

}  // namespace
}  // namespace lumatrel::host

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  if (input.ConsumeBool()) {
    lumatrel::host::FuzzUpload(input);
  } else {
    lumatrel::host::FuzzRead(input);
  }
  return 0;
}
