// The command line of lumatrel-host: every flag has a default, so the bare command runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumatrel::host {

struct HostOptions {
  std::string dataDir;         // --data
  std::string listenHost = "127.0.0.1";  // --listen host part (IPv6 without brackets)
  int listenPort = 8960;       // --listen port part; 0 picks a free port
  std::string publicUrl;       // --public-url, without a trailing slash; empty: from the listen address
  std::vector<std::string> acceptedAccounts;  // the program's own, then every --accept-uin
  std::size_t maxBytes = 50 * 1024 * 1024;     // --max-bytes
  std::uint64_t maxPixels = 100'000'000;       // --max-pixels
};

struct OptionsReading {
  HostOptions options;
  bool help = false;   // --help was given
  std::string error;   // not empty: the command line is wrong, and this says how
};

// Reads the arguments after the program name. home is $HOME, for the default data folder.
OptionsReading ReadOptions(const std::vector<std::string>& arguments, std::string_view home);

// The address clients reach: publicUrl, or http://host:port from the listen address.
std::string EffectivePublicUrl(const HostOptions& options, int boundPort);

std::string HelpText();

}  // namespace lumatrel::host
