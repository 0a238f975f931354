// The store against Windows itself: its sharing rules, read-only files, non-ASCII file names,
// and the system's own reader of INI files.
#include <windows.h>

#include "settings/tests/StoreFixture.h"

namespace lumatrel {
namespace {

using ConfigStoreWinTest = testing::StoreTest;

std::wstring Wide(const std::string& path) { return std::filesystem::path(path).wstring(); }

TEST_F(ConfigStoreWinTest, OtherWritersGetASharingViolationWhileReadersRead) {
  OpenWith("[S]\r\nK=1");
  const HANDLE writer = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
  const HANDLE reader = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  char buffer[16] = {};
  DWORD got = 0;
  EXPECT_TRUE(ReadFile(reader, buffer, sizeof buffer, &got, nullptr));
  EXPECT_EQ(std::string(buffer, got), "[S]\r\nK=1");
  CloseHandle(reader);
}

// Another running copy of the program. The test starts its own executable again, limited to
// this test; the copy finds the held file's path in its environment and plays the second copy.
TEST_F(ConfigStoreWinTest, ASecondProcessReadsButCannotWrite) {
  constexpr const char* kHeldFile = "LUMATREL_HELD_SETTINGS";
  char held[1024] = {};
  const DWORD heldLength = GetEnvironmentVariableA(kHeldFile, held, sizeof held);
  if (heldLength > 0 && heldLength < sizeof held) {
    ConfigStore second;
    EXPECT_FALSE(second.Open(held, StorageMode::File));
    second.SelectSection("S");
    EXPECT_EQ(second.ReadText("K"), "1");
    EXPECT_TRUE(second.WriteText("K", "2"));
    EXPECT_EQ(second.ReadText("K"), "2");
    return;
  }
  OpenWith("[S]\r\nK=1");
  wchar_t exe[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
  std::wstring command = L"\"" + std::wstring(exe) +
                         L"\" --gtest_filter=ConfigStoreWinTest.ASecondProcessReadsButCannotWrite";
  ASSERT_TRUE(SetEnvironmentVariableA(kHeldFile, path.c_str()));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const BOOL started =
      CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
  SetEnvironmentVariableA(kHeldFile, nullptr);
  ASSERT_TRUE(started);
  if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);
  DWORD exitCode = 99;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(OnDisk(), "[S]\r\nK=1");
}

// The file is prepared by the test run's fixture with the read-only mode and, where the system
// allows it, the immutable flag: Wine keeps the read-only attribute as the Unix mode, which a
// root user could write anyway.
TEST_F(ConfigStoreWinTest, AReadOnlyFileIsReadButNotWritten) {
  const std::string readOnly = LUMATREL_READONLY_INI;
  ASSERT_NE(GetFileAttributesW(Wide(readOnly).c_str()), INVALID_FILE_ATTRIBUTES) << "prepared by ctest";
  const HANDLE probe = CreateFileW(Wide(readOnly).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe != INVALID_HANDLE_VALUE) {
    CloseHandle(probe);
    GTEST_SKIP() << "this system lets a writer into a read-only file";
  }
  EXPECT_FALSE(store.Open(readOnly, StorageMode::File));
  EXPECT_FALSE(store.HasStream());
  store.SelectSection("S");
  EXPECT_EQ(store.ReadText("K"), "1");
  EXPECT_TRUE(store.WriteText("K", "2"));
  EXPECT_EQ(store.ReadText("K"), "2");
  EXPECT_EQ(testing::ReadFileBytes(Wide(readOnly)), "[S]\r\nK=1");
}

TEST_F(ConfigStoreWinTest, AChineseFileNameReachesTheFileSystemAsItsCharacters) {
  const std::string gbkPath = folder.PathOf("") + "设置.ini";
  ASSERT_TRUE(store.Open(gbkPath, StorageMode::File));
  store.SelectSection("S");
  ASSERT_TRUE(store.WriteText("K", "1"));
  const std::wstring widePath = folder.Folder().wstring() + L"\\设置.ini";
  EXPECT_NE(GetFileAttributesW(widePath.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(testing::ReadFileBytes(std::filesystem::path(widePath)), "[S]\r\nK=1");
}

// The profile functions read the file through the ANSI code page, so names and values are
// compared through the same code page.
std::wstring FromAnsi(const std::string& text) {
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

TEST_F(ConfigStoreWinTest, WindowsReadsTheSameValuesFromTheDocument) {
  OpenWith("", false);
  struct Entry {
    std::string section, key, value;
  } entries[] = {
      {"主界面", "上次目录", "D:\\pics\\"}, {"S", "A", "1"},         {"S", "B", "a=b[c]"},
      {"T", "C", "中文 value"},             {"主界面", "其他", ""},    {"S", "A", "rewritten"},
  };
  for (const Entry& e : entries) {
    store.SelectSection(e.section);
    ASSERT_TRUE(store.WriteText(e.key, e.value));
  }
  // Read while the store still holds the file, then again after it let go.
  for (int round = 0; round < 2; ++round) {
    for (const Entry& e : entries) {
      if (e.section == "S" && e.key == "A" && e.value == "1") continue;
      wchar_t buffer[256] = {};
      GetPrivateProfileStringW(FromAnsi(e.section).c_str(), FromAnsi(e.key).c_str(), L"<missing>", buffer, 256,
                               Wide(path).c_str());
      EXPECT_EQ(std::wstring(buffer), FromAnsi(e.value)) << e.section << "/" << e.key;
    }
    store.Close();
  }
}

}  // namespace
}  // namespace lumatrel
