#include "host/Multipart.h"

#include <algorithm>

namespace lumatrel::host {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
           return fold(x) == fold(y);
         });
}

struct Parameter {
  std::string key;
  std::string value;
};

// The "; key=value" list after a header's first token. A quoted value runs to the next quote:
// form senders put file names in quotes unescaped.
std::optional<std::vector<Parameter>> ReadParameters(std::string_view text) {
  std::vector<Parameter> parameters;
  std::size_t at = 0;
  auto skipBlanks = [&] { while (at < text.size() && IsBlank(text[at])) ++at; };
  while (true) {
    skipBlanks();
    if (at == text.size()) return parameters;
    if (text[at] != ';') return std::nullopt;
    ++at;
    skipBlanks();
    if (at == text.size()) return parameters;  // a trailing ';' is harmless
    const std::size_t equals = text.find('=', at);
    if (equals == std::string_view::npos) return std::nullopt;
    Parameter parameter{std::string(TrimBlanks(text.substr(at, equals - at))), {}};
    if (parameter.key.empty()) return std::nullopt;
    at = equals + 1;
    skipBlanks();
    if (at < text.size() && text[at] == '"') {
      const std::size_t close = text.find('"', at + 1);
      if (close == std::string_view::npos) return std::nullopt;
      parameter.value = std::string(text.substr(at + 1, close - at - 1));
      at = close + 1;
    } else {
      const std::size_t end = std::min(text.find(';', at), text.size());
      parameter.value = std::string(TrimBlanks(text.substr(at, end - at)));
      at = end;
    }
    parameters.push_back(std::move(parameter));
  }
}

// Fills name and fileName from a Content-Disposition value; false unless it is form-data with a name.
bool ReadDisposition(std::string_view value, FormPart& part) {
  value = TrimBlanks(value);
  const std::size_t end = std::min(value.find(';'), value.size());
  if (!EqualsIgnoringCase(TrimBlanks(value.substr(0, end)), "form-data")) return false;
  const auto parameters = ReadParameters(value.substr(end));
  if (!parameters) return false;
  bool named = false;
  for (const Parameter& parameter : *parameters) {
    if (EqualsIgnoringCase(parameter.key, "name") && !named) {
      part.name = parameter.value;
      named = true;
    } else if (EqualsIgnoringCase(parameter.key, "filename") && !part.fileName) {
      part.fileName = parameter.value;
    }
  }
  return named;
}

bool ReadPartHeaders(std::string_view headers, FormPart& part) {
  bool disposition = false;
  while (!headers.empty()) {
    const std::size_t end = std::min(headers.find("\r\n"), headers.size());
    const std::string_view line = headers.substr(0, end);
    headers.remove_prefix(std::min(end + 2, headers.size()));
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return false;
    const std::string_view name = TrimBlanks(line.substr(0, colon));
    const std::string_view value = line.substr(colon + 1);
    if (EqualsIgnoringCase(name, "Content-Disposition")) {
      if (disposition || !ReadDisposition(value, part)) return false;
      disposition = true;
    } else if (EqualsIgnoringCase(name, "Content-Type")) {
      part.contentType = std::string(TrimBlanks(value));
    }
  }
  return disposition;
}

}  // namespace

std::optional<std::string> BoundaryOfFormType(std::string_view contentType) {
  const std::size_t end = std::min(contentType.find(';'), contentType.size());
  if (!EqualsIgnoringCase(TrimBlanks(contentType.substr(0, end)), "multipart/form-data")) return std::nullopt;
  const auto parameters = ReadParameters(contentType.substr(end));
  if (!parameters) return std::nullopt;
  for (const Parameter& parameter : *parameters) {
    if (!EqualsIgnoringCase(parameter.key, "boundary")) continue;
    const std::string& boundary = parameter.value;
    const bool plain = std::none_of(boundary.begin(), boundary.end(), [](char c) {
      return c == '\r' || c == '\n' || c == '\0';
    });
    if (boundary.empty() || boundary.size() > 70 || !plain) return std::nullopt;
    return boundary;
  }
  return std::nullopt;
}

std::optional<std::vector<FormPart>> ReadMultipart(std::string_view body, std::string_view boundary) {
  if (boundary.empty()) return std::nullopt;
  const std::string delimiter = "--" + std::string(boundary);
  const std::string inner = "\r\n" + delimiter;

  std::size_t at = 0;
  if (body.substr(0, delimiter.size()) == delimiter) {
    at = delimiter.size();
  } else {
    const std::size_t first = body.find(inner);  // skips a preamble
    if (first == std::string_view::npos) return std::nullopt;
    at = first + inner.size();
  }

  std::vector<FormPart> parts;
  while (true) {
    if (body.substr(at, 2) == "--") return parts;  // the close delimiter; an epilogue is ignored
    while (at < body.size() && IsBlank(body[at])) ++at;
    if (body.substr(at, 2) != "\r\n") return std::nullopt;
    at += 2;

    std::size_t contentStart = 0;
    std::string_view headers;
    if (body.substr(at, 2) == "\r\n") {
      contentStart = at + 2;
    } else {
      const std::size_t headersEnd = body.find("\r\n\r\n", at);
      if (headersEnd == std::string_view::npos || headersEnd - at > kMaxPartHeaderBytes) return std::nullopt;
      headers = body.substr(at, headersEnd - at);
      contentStart = headersEnd + 4;
    }
    const std::size_t next = body.find(inner, contentStart);
    if (next == std::string_view::npos) return std::nullopt;

    FormPart part;
    if (!ReadPartHeaders(headers, part)) return std::nullopt;
    part.data = body.substr(contentStart, next - contentStart);
    if (parts.size() == kMaxFormParts) return std::nullopt;
    parts.push_back(std::move(part));
    at = next + inner.size();
  }
}

}  // namespace lumatrel::host
