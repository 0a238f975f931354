// The stand-in picture service for tests: a small HTTP/1.1 server on 127.0.0.1 that records
// every request exactly as received and answers what the test scripted in its directory.
// See README.md for the files it reads and writes.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::atomic<bool> g_stop{false};
fs::path g_dir;
int g_port = 0;
std::mutex g_countsMutex;
std::map<std::string, int> g_counts;

void OnSignal(int) { g_stop = true; }

// Writes through a temporary name, so a reader never sees half a file.
bool WriteFileAtomically(const fs::path& path, const std::string& content) {
  const fs::path temporary = path.string() + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary);
    if (!out.write(content.data(), static_cast<std::streamsize>(content.size()))) return false;
  }
  std::error_code error;
  fs::rename(temporary, path, error);
  return !error;
}

std::optional<std::string> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool SendAll(int socket, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t sent = ::send(socket, data, size, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<std::size_t>(sent);
  }
  return true;
}

// Waits for the socket to become readable for at most timeoutMs; false on stop.
bool WaitReadable(int socket, int timeoutMs) {
  pollfd entry{socket, POLLIN, 0};
  return ::poll(&entry, 1, timeoutMs) > 0;
}

// Sleeps in short steps so that a stop request is honoured.
void Pause(int milliseconds) {
  const auto until = Clock::now() + std::chrono::milliseconds(milliseconds);
  while (!g_stop && Clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

std::string HeaderValue(const std::string& head, const std::string& name) {
  std::istringstream lines(head);
  std::string line;
  const std::string wanted = Lower(name) + ":";
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (Lower(line.substr(0, wanted.size())) == wanted) {
      std::string value = line.substr(wanted.size());
      value.erase(0, value.find_first_not_of(' '));
      return value;
    }
  }
  return {};
}

// The session of a request: the segment after "/t/" in its path, else "default".
std::string SessionOf(const std::string& requestLine) {
  const std::size_t pathStart = requestLine.find(' ');
  if (pathStart == std::string::npos) return "default";
  const std::string path = requestLine.substr(pathStart + 1);
  if (path.rfind("/t/", 0) != 0) return "default";
  const std::size_t end = path.find_first_of("/? ", 3);
  std::string session = path.substr(3, end == std::string::npos ? std::string::npos : end - 3);
  const bool safe = !session.empty() && std::all_of(session.begin(), session.end(), [](unsigned char c) {
    return std::isalnum(c) || c == '-' || c == '_' || c == '.';
  });
  return safe && session[0] != '.' ? session : "default";
}

struct Reply {
  int status = 200;
  std::string contentType = "text/html";
  std::vector<std::string> headers;
  int delayMs = 0;
  std::string mode = "normal";  // normal, silent (never answers), half (closes half-way)
  std::string body;
};

// A script file: "key: value" lines, an empty line, then the body bytes to the end of the file.
Reply ParseScript(const std::string& script) {
  Reply reply;
  std::size_t position = 0;
  for (;;) {
    std::size_t end = script.find('\n', position);
    if (end == std::string::npos) end = script.size();
    std::string line = script.substr(position, end - position);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    position = std::min(end + 1, script.size());
    if (line.empty()) break;
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::string key = line.substr(0, colon);
    std::string value = line.substr(colon + 1);
    value.erase(0, value.find_first_not_of(' '));
    if (key == "status") reply.status = std::atoi(value.c_str());
    if (key == "content-type") reply.contentType = value;
    if (key == "header") reply.headers.push_back(value);
    if (key == "delay-ms") reply.delayMs = std::atoi(value.c_str());
    if (key == "mode") reply.mode = value;
    if (end >= script.size()) break;
  }
  reply.body = script.substr(position);
  return reply;
}

// What the service answers when the test scripted nothing: the picture's address, a message and
// a path, with the escapes the real service uses. A Filename field beginning with "refuse" is
// refused, so that a batch can mix outcomes without scripts.
Reply DefaultReply(const std::string& body, const std::string& session, int number) {
  Reply reply;
  const std::string marker = "name=\"Filename\"\r\n\r\n";
  const std::size_t at = body.find(marker);
  const std::string fileName = at == std::string::npos ? "" : body.substr(at + marker.size(), 6);
  const std::string host = "127.0.0.1:" + std::to_string(g_port);
  const std::string picture = "pic\\/" + session + "-" + std::to_string(number);
  if (fileName == "refuse") {
    reply.body = "{\"code\":\"-1\",\"msg\":\"\\u56fe\\u7247\\u683c\\u5f0f\\u4e0d\\u652f\\u6301\",\"path\":\"\"}";
  } else {
    reply.body = "{\"code\":\"0\",\"url\":\"http:\\/\\/" + host + "\\/" + picture +
                 "\",\"msg\":\"\\u4e0a\\u4f20\\u6210\\u529f\",\"path\":\"" + host + "\\/" + picture + ".jpg\"}";
  }
  return reply;
}

std::string ReasonOf(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    default:
      return "Status";
  }
}

void Answer(int socket, const std::string& session, int number, const std::string& body) {
  const fs::path base = g_dir / session;
  std::optional<std::string> script = ReadFile(base.string() + "." + std::to_string(number) + ".reply");
  if (!script) script = ReadFile(base.string() + ".reply");
  const Reply reply = script ? ParseScript(*script) : DefaultReply(body, session, number);

  Pause(reply.delayMs);
  if (g_stop) return;
  if (reply.mode == "silent") {
    // Hold the connection without a word until the client gives up or the service stops.
    char scratch[4096];
    while (!g_stop) {
      if (WaitReadable(socket, 50) && ::recv(socket, scratch, sizeof scratch, 0) <= 0) return;
    }
    return;
  }
  std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " " + ReasonOf(reply.status) + "\r\n";
  head += "Content-Type: " + reply.contentType + "\r\n";
  for (const std::string& header : reply.headers) head += header + "\r\n";
  head += "Content-Length: " + std::to_string(reply.body.size()) + "\r\nConnection: close\r\n\r\n";
  if (!SendAll(socket, head.data(), head.size())) return;
  const std::size_t bodySize = reply.mode == "half" ? reply.body.size() / 2 : reply.body.size();
  SendAll(socket, reply.body.data(), bodySize);
}

void Serve(int socket) {
  std::string received;
  std::size_t headEnd = std::string::npos;
  char buffer[65536];
  while (!g_stop && headEnd == std::string::npos && received.size() < (1u << 20)) {
    if (!WaitReadable(socket, 100)) continue;
    const ssize_t got = ::recv(socket, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    received.append(buffer, static_cast<std::size_t>(got));
    headEnd = received.find("\r\n\r\n");
  }
  if (headEnd == std::string::npos) {
    ::close(socket);
    return;
  }
  const std::string head = received.substr(0, headEnd + 2);
  const std::size_t length = std::strtoull(HeaderValue(head, "Content-Length").c_str(), nullptr, 10);
  if (Lower(HeaderValue(head, "Expect")) == "100-continue" && received.size() == headEnd + 4) {
    const std::string goOn = "HTTP/1.1 100 Continue\r\n\r\n";
    SendAll(socket, goOn.data(), goOn.size());
  }
  const std::size_t total = headEnd + 4 + length;
  received.reserve(total);
  while (!g_stop && received.size() < total) {
    if (!WaitReadable(socket, 100)) continue;
    const ssize_t got = ::recv(socket, buffer, std::min(sizeof buffer, total - received.size()), 0);
    if (got <= 0) break;
    received.append(buffer, static_cast<std::size_t>(got));
  }

  const std::string requestLine = received.substr(0, received.find("\r\n"));
  const std::string session = SessionOf(requestLine);
  int number = 0;
  {
    std::lock_guard<std::mutex> lock(g_countsMutex);
    number = ++g_counts[session];
  }
  WriteFileAtomically(g_dir / (session + "." + std::to_string(number) + ".request"), received);
  Answer(socket, session, number, received.substr(std::min(received.size(), headEnd + 4)));
  ::shutdown(socket, SHUT_WR);
  ::close(socket);
}

int Usage() {
  std::fprintf(stderr, "usage: lumatrel_standin --dir DIR [--port N] [--lifetime SECONDS]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int port = 0;
  int lifetimeSeconds = 1800;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--dir") {
      g_dir = argv[i + 1];
    } else if (option == "--port") {
      port = std::atoi(argv[i + 1]);
    } else if (option == "--lifetime") {
      lifetimeSeconds = std::atoi(argv[i + 1]);
    } else {
      return Usage();
    }
  }
  if (g_dir.empty()) return Usage();
  fs::create_directories(g_dir);

  signal(SIGTERM, OnSignal);
  signal(SIGINT, OnSignal);
  signal(SIGPIPE, SIG_IGN);

  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  const int yes = 1;
  ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // never beyond loopback
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener, 64) != 0) {
    std::perror("lumatrel_standin: bind/listen");
    return 1;
  }
  socklen_t size = sizeof address;
  ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
  g_port = ntohs(address.sin_port);
  WriteFileAtomically(g_dir / "port", std::to_string(g_port) + "\n");
  std::printf("lumatrel_standin: listening on 127.0.0.1:%d, directory %s\n", g_port, g_dir.c_str());
  std::fflush(stdout);

  // Ends by itself after its lifetime, so that a test run that never stops it leaves nothing behind.
  const auto end = Clock::now() + std::chrono::seconds(lifetimeSeconds);
  while (!g_stop && Clock::now() < end) {
    if (!WaitReadable(listener, 100)) continue;
    const int connection = ::accept(listener, nullptr, nullptr);
    if (connection < 0) continue;
    std::thread(Serve, connection).detach();
  }
  ::close(listener);
  std::error_code ignored;
  fs::remove(g_dir / "port", ignored);
  std::fflush(stdout);
  // Connections that are held open on purpose must not delay the exit.
  _exit(0);
}
