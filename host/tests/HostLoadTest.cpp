// A bounded load run and a crash in the middle of uploads, against a real host process.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include <vips/vips8>

#include "HostProcess.h"
#include "ProgramForm.h"
#include "TestPictures.h"
#include "host/DurableFile.h"
#include "host/PictureId.h"
#include "host/Renditions.h"

namespace lumatrel::host {
namespace {

namespace fs = std::filesystem;
using testing::Colour;
using testing::DecodePicture;
using testing::HostClient;
using testing::PostUpload;
using testing::ProgramForm;

bool HasColour(const testing::Decoded& decoded, Colour colour) {
  return decoded.ok && decoded.bands == 3 && std::abs(decoded.average[0] - colour.red) < 6 &&
         std::abs(decoded.average[1] - colour.green) < 6 && std::abs(decoded.average[2] - colour.blue) < 6;
}

// Every picture folder under the data folder holds exactly the three files, and every rendition
// there decodes whole.
void ExpectOnlyWholePicturesOnDisk(const fs::path& data) {
  std::size_t folders = 0;
  for (const auto& entry : fs::recursive_directory_iterator(data / "pictures")) {
    if (!entry.is_directory() || entry.path().filename().string().size() != 32) continue;
    ++folders;
    std::set<std::string> names;
    for (const auto& file : fs::directory_iterator(entry.path())) names.insert(file.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"2000.jpg", "460.jpg", "original"})) << entry.path();
    for (const char* rendition : {"2000.jpg", "460.jpg"}) {
      EXPECT_TRUE(DecodePicture(ReadWholeFile(entry.path() / rendition).value_or("")).ok) << entry.path() / rendition;
    }
  }
  EXPECT_GT(folders, 0u);
  EXPECT_TRUE(fs::is_empty(data / "tmp"));
}

// 8 clients x 250 uploads of distinct small pictures, then every link fetched and checked.
TEST(HostLoadTest, ManyClientsLoseNothingAndEveryLinkResolves) {
  constexpr int kClients = 8;
  constexpr int kUploadsEach = 250;
  testing::TempFolder folder;
  testing::HostProcess host;
  ASSERT_TRUE(host.Start(folder.path() / "data", folder.path() / "host.log"));
  // Eight clients already keep both cores busy; libvips' own worker threads would only add
  // switching to the thousands of tiny decodes below.
  StartPictureLibrary();
  vips_concurrency_set(1);

  std::vector<std::string> urls(kClients * kUploadsEach);
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([&, c] {
      auto client = HostClient(host.port());
      for (int i = 0; i < kUploadsEach; ++i) {
        const int seed = c * kUploadsEach + i;
        const std::string picture = testing::SolidPng(24, 16, testing::SeedColour(seed + 1));
        urls[seed] = PostUpload(client, ProgramForm("p" + std::to_string(seed) + ".png", picture)).url;
        if (urls[seed] != "http://127.0.0.1:" + std::to_string(host.port()) + "/p/" + PictureIdOf(picture)) urls[seed] += " (wrong)";
      }
    });
  }
  for (std::thread& client : clients) client.join();
  const std::set<std::string> distinct(urls.begin(), urls.end());
  EXPECT_EQ(distinct.size(), urls.size());
  for (std::size_t seed = 0; seed < urls.size(); ++seed) {
    ASSERT_EQ(urls[seed].find("(wrong)"), std::string::npos) << seed << ": " << urls[seed];
    ASSERT_FALSE(urls[seed].empty()) << seed;
  }

  std::atomic<int> bad{0};
  std::vector<std::thread> fetchers;
  for (int c = 0; c < kClients; ++c) {
    fetchers.emplace_back([&, c] {
      auto client = HostClient(host.port());
      for (int seed = c; seed < kClients * kUploadsEach; seed += kClients) {
        const std::string path = urls[seed].substr(urls[seed].find("/p/"));
        auto large = client.Get(path + "/2000.jpg");
        auto small = client.Get(path + "/460.jpg");
        const bool served = large && small && large->status == 200 && small->status == 200;
        // A picture this small is the same in both renditions, so one decode checks both.
        const auto decoded = served && small->body == large->body ? DecodePicture(large->body) : testing::Decoded{};
        if (!HasColour(decoded, testing::SeedColour(seed + 1)) || decoded.width != 24 || decoded.height != 16) ++bad;
      }
    });
  }
  for (std::thread& fetcher : fetchers) fetcher.join();
  EXPECT_EQ(bad, 0);
  EXPECT_EQ(host.Stop(), 0);
  ExpectOnlyWholePicturesOnDisk(folder.path() / "data");
}

// Kills the host while clients upload; after a restart every upload answered with a url is
// served whole, and nothing partial is served or left behind.
TEST(HostLoadTest, AKillDuringUploadsLosesNoAnsweredPicture) {
  constexpr int kClients = 4;
  testing::TempFolder folder;
  testing::HostProcess host;
  ASSERT_TRUE(host.Start(folder.path() / "data", folder.path() / "host.log"));
  const int port = host.port();

  std::mutex lock;
  std::map<int, std::string> answered;  // seed -> id
  std::set<int> attempted;
  std::atomic<bool> down{false};
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([&, c] {
      auto client = HostClient(port);
      for (int i = 0; i < 400 && !down; ++i) {
        const int seed = c * 1000 + i;
        const std::string picture = testing::SolidPicture(1200, 900, testing::SeedColour(seed + 7));
        {
          std::lock_guard<std::mutex> guard(lock);
          attempted.insert(seed);
        }
        const auto answer = PostUpload(client, ProgramForm("k.png", picture));
        if (answer.status == 200 && !answer.url.empty()) {
          std::lock_guard<std::mutex> guard(lock);
          answered[seed] = answer.path.substr(3);
        } else if (answer.status == -1) {
          break;  // the host is gone
        }
      }
    });
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < deadline) {
    {
      std::lock_guard<std::mutex> guard(lock);
      if (answered.size() >= 24) break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  host.Kill();
  down = true;
  for (std::thread& client : clients) client.join();
  ASSERT_GE(answered.size(), 24u);
  ASSERT_GT(attempted.size(), answered.size());  // some uploads were cut off

  ASSERT_TRUE(host.Start(folder.path() / "data", folder.path() / "host2.log", port));
  ExpectOnlyWholePicturesOnDisk(folder.path() / "data");
  auto client = HostClient(port);
  for (int seed : attempted) {
    const std::string id = PictureIdOf(testing::SolidPicture(1200, 900, testing::SeedColour(seed + 7)));
    const bool wasAnswered = answered.count(seed) != 0;
    if (wasAnswered) {
      ASSERT_EQ(answered[seed], id);
    }
    int served = 0;
    for (const auto& [suffix, width] : {std::pair{"/2000.jpg", 1200}, std::pair{"/460.jpg", 460}}) {
      auto reply = client.Get("/p/" + id + suffix);
      ASSERT_TRUE(reply);
      if (reply->status == 404) continue;
      ASSERT_EQ(reply->status, 200);
      const auto decoded = DecodePicture(reply->body);
      EXPECT_TRUE(HasColour(decoded, testing::SeedColour(seed + 7))) << seed << suffix;
      EXPECT_EQ(decoded.width, width) << seed << suffix;
      ++served;
    }
    // A picture is served with both renditions or not at all; an answered one always is.
    EXPECT_TRUE(served == 2 || (served == 0 && !wasAnswered)) << seed << " served " << served;
  }
  EXPECT_EQ(host.Stop(), 0);
}

}  // namespace
}  // namespace lumatrel::host
