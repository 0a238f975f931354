#include "host/PictureHost.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "host/EntityTag.h"
#include "host/PictureId.h"
#include "host/PicturePath.h"
#include "host/PictureType.h"
#include "host/Renditions.h"
#include "host/Reply.h"
#include "host/UploadCheck.h"

namespace lumatrel::host {
namespace {

constexpr const char* kUploadPath = "/asyn/uploadpicCommon.php";
// cpp-httplib parses multipart bodies itself and then keeps no raw body; the upload route
// moves the content type aside so that the body reaches our own form reader as it arrived.
constexpr const char* kFormTypeHeader = "X-Lumatrel-Form-Type";
constexpr const char* kCacheControl = "public, max-age=31536000, immutable";

// What the handler of the request on this thread wants in its log line (the id or the refusal).
thread_local std::string logNote;

std::string UtcNow() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm parts{};
  gmtime_r(&now, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
  return text;
}

// A request path is the client's text: control bytes (a decoded %0a) must not start a forged
// log line.
std::string Printable(std::string_view text) {
  std::string out(text.substr(0, 512));
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  }
  return out;
}

std::string EntityTagOf(const PictureRequest& picture) {
  return "\"" + picture.id + "-" + std::to_string(RenditionSize(picture.rendition)) + "\"";
}

}  // namespace

PictureHost::PictureHost(HostOptions options, PictureStore& store) : options_(std::move(options)), store_(store) {
  server_.set_payload_max_length(options_.maxBytes);
  // Headers and body go out in separate writes; with Nagle's algorithm the body would wait for
  // the client's delayed acknowledgement (40 ms on Linux) on every reply.
  server_.set_tcp_nodelay(true);
  server_.set_read_timeout(30, 0);
  server_.set_write_timeout(30, 0);

  server_.set_pre_routing_handler([](const httplib::Request& request, httplib::Response&) {
    logNote.clear();
    if (request.method == "POST" && request.path == kUploadPath) {
      // The Request object cpp-httplib hands over is its own non-const local.
      auto& editable = const_cast<httplib::Request&>(request);
      const std::string formType = editable.get_header_value("Content-Type");
      editable.headers.erase("Content-Type");
      editable.headers.emplace(kFormTypeHeader, formType);
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });
  server_.Post(kUploadPath, [this](const httplib::Request& request, httplib::Response& response,
                                   const httplib::ContentReader& reader) { Upload(request, response, reader); });
  server_.Get("/.*", [this](const httplib::Request& request, httplib::Response& response) { Picture(request, response); });
  server_.set_error_handler([](const httplib::Request&, httplib::Response& response) {
    if (response.body.empty() && response.status != 304) {
      response.set_content(response.status == 404 ? "Not Found\n" : "Bad Request\n", "text/plain");
    }
  });
  server_.set_logger([](const httplib::Request& request, const httplib::Response& response) {
    std::printf("%s %s %s %s %d %zu%s%s\n", UtcNow().c_str(), request.remote_addr.c_str(), request.method.c_str(),
                Printable(request.path).c_str(), response.status, response.body.size(), logNote.empty() ? "" : " ",
                logNote.c_str());
    std::fflush(stdout);
  });
}

int PictureHost::Bind() {
  const int port = options_.listenPort == 0 ? server_.bind_to_any_port(options_.listenHost)
                                            : (server_.bind_to_port(options_.listenHost, options_.listenPort)
                                                   ? options_.listenPort
                                                   : -1);
  if (port > 0) publicUrl_ = EffectivePublicUrl(options_, port);
  return port;
}

bool PictureHost::Serve() { return server_.listen_after_bind(); }

void PictureHost::Stop() { server_.stop(); }

void PictureHost::Upload(const httplib::Request& request, httplib::Response& response,
                         const httplib::ContentReader& reader) {
  const Limits limits{options_.maxBytes, options_.maxPixels};
  auto refuse = [&](Refusal refusal) {
    response.status = RefusalStatus(refusal);
    response.set_content(RefusalReply(refusal, limits), "application/json");
    logNote = RefusalName(refusal);
  };

  // The body is read in every case, so that the reply reaches a client still sending it.
  std::string body;
  bool overLimit = false;
  const bool complete = reader([&](const char* data, std::size_t length) {
    if (body.size() + length > options_.maxBytes) overLimit = true;
    if (!overLimit) body.append(data, length);
    return true;
  });

  UploadRequest checked;
  for (std::size_t i = 0; i < request.get_param_value_count("uin"); ++i) {
    checked.accounts.push_back(request.get_param_value("uin", i));
  }
  checked.declaredLength = request.get_header_value<std::uint64_t>("Content-Length");
  checked.overLimit = overLimit;
  checked.complete = complete;
  const std::string contentType = request.get_header_value(kFormTypeHeader);
  checked.contentType = contentType;
  checked.body = body;
  const UploadCheck check = CheckUpload(checked, options_.acceptedAccounts, options_.maxBytes);
  if (check.refusal) return refuse(*check.refusal);
  const std::string_view picture = check.picture;
  const PictureType type = check.type;
  const std::string id = PictureIdOf(picture);
  if (id.empty()) return refuse(Refusal::StorageFailed);

  if (!store_.HoldsSame(id, picture)) {
    const Renditions renditions = MakeRenditions(picture, type, options_.maxPixels);
    switch (renditions.outcome) {
      case DecodeOutcome::Made: break;
      case DecodeOutcome::NotAPicture: return refuse(Refusal::NotAPicture);
      case DecodeOutcome::TooManyPixels: return refuse(Refusal::TooManyPixels);
      case DecodeOutcome::Damaged: return refuse(Refusal::DamagedPicture);
    }
    if (!store_.Save(id, picture, renditions.large, renditions.small)) return refuse(Refusal::StorageFailed);
  }
  response.status = 200;
  response.set_content(SuccessReply(publicUrl_, id), "application/json");
  logNote = id + " " + std::string(PictureTypeName(type)) + " " + std::to_string(picture.size());
}

void PictureHost::Picture(const httplib::Request& request, httplib::Response& response) {
  const auto picture = ParsePicturePath(request.path);
  if (!picture) {
    response.status = 404;
    return;
  }
  const std::string entityTag = EntityTagOf(*picture);
  if (IfNoneMatchMatches(request.get_header_value("If-None-Match"), entityTag) && store_.Holds(picture->id)) {
    response.status = 304;
    response.set_header("ETag", entityTag);
    response.set_header("Cache-Control", kCacheControl);
    return;
  }
  auto bytes = store_.Read(picture->id, picture->rendition);
  if (!bytes) {
    response.status = 404;
    return;
  }
  response.status = 200;
  response.set_header("ETag", entityTag);
  response.set_header("Cache-Control", kCacheControl);
  response.set_content(std::move(*bytes), "image/jpeg");
}

}  // namespace lumatrel::host
