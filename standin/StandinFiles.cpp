#include "standin/StandinFiles.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <process.h>
#define LUMATREL_GETPID _getpid
#else
#include <unistd.h>
#define LUMATREL_GETPID getpid
#endif

namespace lumatrel::standin {

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return text;
}

std::optional<std::string> ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string HeadOf(const std::string& raw) {
  const std::size_t end = raw.find("\r\n\r\n");
  return end == std::string::npos ? raw : raw.substr(0, end + 2);
}

// The header lines after the request line, each without its CR LF.
std::vector<std::string> HeaderLines(const std::string& raw) {
  std::vector<std::string> lines;
  const std::string head = HeadOf(raw);
  std::size_t position = head.find("\r\n");
  while (position != std::string::npos && position + 2 < head.size()) {
    const std::size_t next = head.find("\r\n", position + 2);
    lines.push_back(head.substr(position + 2, next - position - 2));
    position = next;
  }
  return lines;
}

}  // namespace

std::optional<std::string> Directory() {
  const char* dir = std::getenv("LUMATREL_STANDIN_DIR");
  if (!dir || !*dir) return std::nullopt;
  return std::string(dir);
}

int Port() {
  const std::optional<std::string> dir = Directory();
  if (!dir) return 0;
  const std::optional<std::string> port = ReadWhole(*dir + "/port");
  return port ? std::atoi(port->c_str()) : 0;
}

std::string SessionUrl(const std::string& session) {
  return "http://127.0.0.1:" + std::to_string(Port()) + "/t/" + session;
}

std::string NewSession(const std::string& prefix) {
  static std::atomic<int> counter{0};
  return prefix + "-" + std::to_string(LUMATREL_GETPID()) + "-" + std::to_string(++counter);
}

bool ScriptReply(const std::string& session, const Reply& reply, int number) {
  const std::optional<std::string> dir = Directory();
  if (!dir) return false;
  std::string script = "status: " + std::to_string(reply.status) + "\ncontent-type: " + reply.contentType + "\n";
  for (const std::string& header : reply.headers) script += "header: " + header + "\n";
  script += "delay-ms: " + std::to_string(reply.delayMs) + "\nmode: " + reply.mode + "\n\n" + reply.body;
  const std::string name = *dir + "/" + session + (number > 0 ? "." + std::to_string(number) : "") + ".reply";
  {
    std::ofstream out(name + ".tmp", std::ios::binary);
    if (!out.write(script.data(), static_cast<std::streamsize>(script.size()))) return false;
  }
  std::error_code error;
  std::filesystem::rename(name + ".tmp", name, error);
  return !error;
}

std::optional<std::string> RecordedRequest(const std::string& session, int number) {
  const std::optional<std::string> dir = Directory();
  if (!dir) return std::nullopt;
  return ReadWhole(*dir + "/" + session + "." + std::to_string(number) + ".request");
}

std::string RequestLine(const std::string& raw) { return raw.substr(0, raw.find("\r\n")); }

std::string HeaderValue(const std::string& raw, const std::string& name) {
  const std::string wanted = Lower(name) + ":";
  for (const std::string& line : HeaderLines(raw)) {
    if (Lower(line.substr(0, wanted.size())) == wanted) {
      std::string value = line.substr(wanted.size());
      value.erase(0, value.find_first_not_of(' '));
      return value;
    }
  }
  return {};
}

bool HasHeader(const std::string& raw, const std::string& name) {
  const std::string wanted = Lower(name) + ":";
  for (const std::string& line : HeaderLines(raw)) {
    if (Lower(line.substr(0, wanted.size())) == wanted) return true;
  }
  return false;
}

std::string Body(const std::string& raw) {
  const std::size_t end = raw.find("\r\n\r\n");
  return end == std::string::npos ? std::string() : raw.substr(end + 4);
}

}  // namespace lumatrel::standin
