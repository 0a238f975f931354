#include "LoopbackRequest.h"

#include <httplib.h>

#include <optional>

namespace lumatrel::host::testing {
namespace {

struct Address {
  int port = 0;
  std::string target;  // path and query
};

std::optional<Address> LoopbackAddress(const Text& url) {
  constexpr std::string_view prefix = "http://127.0.0.1:";
  if (url.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
  const std::size_t slash = url.find('/', prefix.size());
  if (slash == std::string::npos) return std::nullopt;
  Address address{std::atoi(url.substr(prefix.size(), slash - prefix.size()).c_str()), url.substr(slash)};
  if (address.port <= 0) return std::nullopt;
  return address;
}

class LoopbackRequest final : public RequestComponent {
 public:
  bool Open(const Text& method, const Text& url, bool) override {
    method_ = method;
    address_ = LoopbackAddress(url);
    headers_.clear();
    reply_.reset();
    return address_.has_value();
  }
  bool SetRequestHeader(const Text& name, const Text& value) override {
    headers_.emplace(name, value);
    return true;
  }
  bool SetTimeouts(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override { return true; }
  bool SetProxy(std::int32_t, const Text&, const Text&) override { return true; }
  bool Send(const RequestBody& body) override {
    if (!address_) return false;
    httplib::Client client("127.0.0.1", address_->port);
    client.set_read_timeout(60, 0);
    std::string content;
    if (const auto* text = std::get_if<std::string_view>(&body)) content = std::string(*text);
    if (const auto* bytes = std::get_if<std::span<const std::uint8_t>>(&body)) content.assign(bytes->begin(), bytes->end());
    httplib::Headers headers = headers_;
    const std::string type = headers.count("Content-Type") ? headers.find("Content-Type")->second : "";
    headers.erase("Content-Type");
    auto result = method_ == "POST" ? client.Post(address_->target.c_str(), headers, content, type.c_str())
                                    : client.Get(address_->target.c_str(), headers);
    if (result) reply_ = result.value();
    return result;
  }
  bool WaitForResponse(std::int32_t) override { return reply_.has_value(); }
  Text GetAllResponseHeaders() override {
    Text all;
    if (reply_) {
      for (const auto& [name, value] : reply_->headers) all += name + ": " + value + "\r\n";
    }
    return all;
  }
  Bytes ResponseBody() override { return reply_ ? Bytes(reply_->body.begin(), reply_->body.end()) : Bytes{}; }
  Text ResponseText() override { return reply_ ? reply_->body : Text{}; }
  void Abort() override { reply_.reset(); }

 private:
  Text method_;
  std::optional<Address> address_;
  httplib::Headers headers_;
  std::optional<httplib::Response> reply_;
};

}  // namespace

std::unique_ptr<RequestComponent> CreateLoopbackRequest() { return std::make_unique<LoopbackRequest>(); }

Bytes FetchLoopback(const Text& url) {
  LoopbackRequest request;
  if (!request.Open("GET", url, false) || !request.Send(RequestBody{})) return {};
  return request.ResponseBody();
}

}  // namespace lumatrel::host::testing
