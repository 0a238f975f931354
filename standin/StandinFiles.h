// The test side of the stand-in picture service: where it runs, scripting its replies and
// reading the requests it recorded. Everything goes through the service's directory, named by
// the environment variable LUMATREL_STANDIN_DIR (set by the CTest fixture).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lumatrel::standin {

// The service's directory, or nothing when the variable is not set.
std::optional<std::string> Directory();
// The port it listens on (127.0.0.1), or 0 when it is not running.
int Port();
// "http://127.0.0.1:PORT/t/SESSION": requests below it belong to the session.
std::string SessionUrl(const std::string& session);
// A session name no other test process uses: the prefix, the process id and a counter.
std::string NewSession(const std::string& prefix);

struct Reply {
  int status = 200;
  std::string contentType = "text/html";
  std::vector<std::string> headers;  // whole lines, "Name: value"
  int delayMs = 0;
  std::string mode = "normal";  // "normal", "silent" (never answers), "half" (closes half-way)
  std::string body;             // raw bytes
};

// The reply to the session's request number `number` (1-based), or to every request of the
// session that has no numbered script when number is 0.
bool ScriptReply(const std::string& session, const Reply& reply, int number = 0);
// The raw bytes of the session's request number `number` (request line, headers, body).
std::optional<std::string> RecordedRequest(const std::string& session, int number);

// Parts of a raw request.
std::string RequestLine(const std::string& raw);
std::string HeaderValue(const std::string& raw, const std::string& name);  // first match, any case
bool HasHeader(const std::string& raw, const std::string& name);
std::string Body(const std::string& raw);

}  // namespace lumatrel::standin
