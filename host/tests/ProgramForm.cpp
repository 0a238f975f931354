#include "ProgramForm.h"

namespace lumatrel::host::testing {

std::string ProgramForm(std::string_view fileName, std::string_view picture) {
  const std::string delimiter = "------------GI3Ef1KM7gL6gL6Ef1ei4Ef1gL6gL6";
  std::string body;
  body += delimiter + "\r\n";
  body += "Content-Disposition: form-data; name=\"Filename\"\r\n\r\n";
  body += std::string(fileName) + "\r\n";
  body += delimiter + "\r\n";
  body += "Content-Disposition: form-data; name=\"filename\"; filename=\"" + std::string(fileName) + "\"\r\n";
  body += "Content-Type: application/octet-stream\r\n\r\n";
  body += std::string(picture) + "\r\n";
  body += delimiter + "\r\n";
  body += "Content-Disposition: form-data; name=\"Upload\"\r\n\r\n";
  body += "Submit Query\r\n";
  body += delimiter + "--";
  return body;
}

UploadAnswer PostUpload(httplib::Client& client, std::string_view body, std::string_view target,
                        std::string_view contentType) {
  UploadAnswer answer;
  const httplib::Headers headers{{"Referer", "http://127.0.0.1" + std::string(target)}};
  auto reply = client.Post(std::string(target).c_str(), headers, body.data(), body.size(), std::string(contentType).c_str());
  if (!reply) return answer;
  answer.status = reply->status;
  answer.body = reply->body;
  answer.url = AsciiOf(JsonField(answer.body, "url"));
  answer.path = AsciiOf(JsonField(answer.body, "path"));
  answer.msg = JsonField(answer.body, "msg");
  return answer;
}

std::u16string JsonField(std::string_view reply, std::string_view key) {
  const std::string start = "\"" + std::string(key) + "\":\"";
  std::size_t at = reply.find(start);
  if (at == std::string_view::npos) return {};
  at += start.size();
  std::u16string value;
  while (at < reply.size() && reply[at] != '"') {
    if (reply[at] == '\\' && at + 1 < reply.size()) {
      if (reply[at + 1] == 'u' && at + 5 < reply.size()) {
        value += static_cast<char16_t>(std::stoi(std::string(reply.substr(at + 2, 4)), nullptr, 16));
        at += 6;
      } else {
        value += static_cast<char16_t>(reply[at + 1]);
        at += 2;
      }
    } else {
      value += static_cast<char16_t>(static_cast<unsigned char>(reply[at++]));
    }
  }
  return value;
}

std::string AsciiOf(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

httplib::Client HostClient(int port) {
  httplib::Client client("127.0.0.1", port);
  client.set_default_headers({{"User-Agent", "Shockwave Flash"}});
  client.set_connection_timeout(5, 0);
  client.set_read_timeout(60, 0);
  client.set_write_timeout(60, 0);
  client.set_keep_alive(true);
  client.set_tcp_nodelay(true);
  return client;
}

}  // namespace lumatrel::host::testing
