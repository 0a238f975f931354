// The HTTP side of the host: the upload endpoint and the permanent picture addresses.
#pragma once

#include <httplib.h>

#include <string>

#include "host/Options.h"
#include "host/Store.h"

namespace lumatrel::host {

class PictureHost {
 public:
  PictureHost(HostOptions options, PictureStore& store);
  PictureHost(const PictureHost&) = delete;
  PictureHost& operator=(const PictureHost&) = delete;

  // Binds the listening socket; the port actually bound, or -1.
  int Bind();
  // Serves until Stop; requests in flight are finished first. False if serving failed.
  bool Serve();
  // Safe from any thread.
  void Stop();

  const std::string& PublicUrl() const { return publicUrl_; }

 private:
  void Upload(const httplib::Request& request, httplib::Response& response, const httplib::ContentReader& reader);
  void Picture(const httplib::Request& request, httplib::Response& response);

  HostOptions options_;
  PictureStore& store_;
  std::string publicUrl_;
  httplib::Server server_;
};

}  // namespace lumatrel::host
