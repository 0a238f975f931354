#include "host/Options.h"

#include <algorithm>
#include <charconv>

#include "host/UploadForm.h"

namespace lumatrel::host {
namespace {

template <typename Number>
bool ReadNumber(std::string_view text, Number& out) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

bool ReadListen(std::string_view text, HostOptions& options) {
  std::string_view host;
  std::string_view port;
  if (!text.empty() && text.front() == '[') {
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos || text.substr(close + 1, 1) != ":") return false;
    host = text.substr(1, close - 1);
    port = text.substr(close + 2);
  } else {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos) return false;
    host = text.substr(0, colon);
    port = text.substr(colon + 1);
    if (host.find(':') != std::string_view::npos) return false;  // IPv6 needs brackets
  }
  int number = -1;
  if (host.empty() || !ReadNumber(port, number) || number < 0 || number > 65535) return false;
  options.listenHost = std::string(host);
  options.listenPort = number;
  return true;
}

// An http or https address of printable ASCII without characters that would need escaping
// inside the reply or a link.
bool ReadPublicUrl(std::string_view text, HostOptions& options) {
  while (!text.empty() && text.back() == '/') text.remove_suffix(1);
  const bool scheme = text.substr(0, 7) == "http://" || text.substr(0, 8) == "https://";
  const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
    return c > 0x20 && c < 0x7f && c != '"' && c != '\\' && c != '%' && c != '\'';
  });
  if (!scheme || !plain || text.size() <= 8) return false;
  options.publicUrl = std::string(text);
  return true;
}

bool IsAccountValue(std::string_view text) {
  return !text.empty() && text.size() <= 64 && std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '-';
  });
}

}  // namespace

OptionsReading ReadOptions(const std::vector<std::string>& arguments, std::string_view home) {
  OptionsReading reading;
  HostOptions& options = reading.options;
  options.dataDir = home.empty() ? std::string("lumatrel-host-data") : std::string(home) + "/.local/share/lumatrel-host";
  options.acceptedAccounts = {std::string(kProgramAccount)};

  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string_view flag = arguments[i];
    std::string value;
    bool hasValue = false;
    if (const std::size_t equals = flag.find('='); flag.substr(0, 2) == "--" && equals != std::string_view::npos) {
      value = std::string(flag.substr(equals + 1));
      flag = flag.substr(0, equals);
      hasValue = true;
    }
    if (flag == "--help" || flag == "-h") {
      reading.help = true;
      continue;
    }
    const bool takesValue = flag == "--data" || flag == "--listen" || flag == "--public-url" ||
                            flag == "--accept-uin" || flag == "--max-bytes" || flag == "--max-pixels";
    if (!takesValue) {
      reading.error = "unknown option: " + std::string(flag);
      return reading;
    }
    if (!hasValue) {
      if (i + 1 == arguments.size()) {
        reading.error = std::string(flag) + " needs a value";
        return reading;
      }
      value = arguments[++i];
    }
    bool good = true;
    if (flag == "--data") {
      good = !value.empty();
      options.dataDir = value;
    } else if (flag == "--listen") {
      good = ReadListen(value, options);
    } else if (flag == "--public-url") {
      good = ReadPublicUrl(value, options);
    } else if (flag == "--accept-uin") {
      good = IsAccountValue(value);
      if (good) options.acceptedAccounts.push_back(value);
    } else if (flag == "--max-bytes") {
      good = ReadNumber(value, options.maxBytes) && options.maxBytes > 0;
    } else if (flag == "--max-pixels") {
      good = ReadNumber(value, options.maxPixels) && options.maxPixels > 0;
    }
    if (!good) {
      reading.error = "bad value for " + std::string(flag) + ": " + value;
      return reading;
    }
  }
  return reading;
}

std::string EffectivePublicUrl(const HostOptions& options, int boundPort) {
  if (!options.publicUrl.empty()) return options.publicUrl;
  const bool v6 = options.listenHost.find(':') != std::string::npos;
  const std::string host = v6 ? "[" + options.listenHost + "]" : options.listenHost;
  return "http://" + host + ":" + std::to_string(boundPort);
}

std::string HelpText() {
  return "Usage: lumatrel-host [options]\n"
         "A picture host for Lumatrel: takes the program's uploads and serves each picture at a\n"
         "permanent address, /p/<id>/2000.jpg (within 2000 x 2000) and /p/<id>/460.jpg (within 460 x 460).\n"
         "\n"
         "  --data DIR          where pictures are stored (default: ~/.local/share/lumatrel-host)\n"
         "  --listen HOST:PORT  address to listen on (default: 127.0.0.1:8960; port 0 picks a free\n"
         "                      port; IPv6 as [::1]:8960)\n"
         "  --public-url URL    address clients use to reach this host, put in front of every link\n"
         "                      (default: http://HOST:PORT of --listen)\n"
         "  --accept-uin VALUE  accept uploads from this account value too (repeatable; the\n"
         "                      program's built-in account is always accepted)\n"
         "  --max-bytes N       largest upload body in bytes (default: 52428800, 50 MiB)\n"
         "  --max-pixels N      largest picture in pixels, width x height (default: 100000000)\n"
         "  --help              show this text\n"
         "\n"
         "Runs until SIGINT or SIGTERM, then finishes the requests in flight and exits 0.\n"
         "Logs one line per request on standard output.\n";
}

}  // namespace lumatrel::host
