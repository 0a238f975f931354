// The real outside world of the Windows build: the dialog's answer, picture files on disk.
#include "app/win/WinSeams.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/win/Application.h"
#include "app/win/ScopedWin.h"
#include "text/Gb18030.h"

namespace lumatrel::win {
namespace {

namespace fs = std::filesystem;

struct DialogCase {
  std::wstring buffer;  // as the dialog fills it, items separated by zeros, two at the end
  std::vector<std::wstring> paths;
};

TEST(PathsFromDialogBufferTest, JoinsTheFolderAndEachName) {
  const DialogCase cases[] = {
      {std::wstring(L"C:\\pics\\a.png\0\0", 15), {L"C:\\pics\\a.png"}},
      {std::wstring(L"C:\\pics\0a.png\0b c.jpg\0\0", 24), {L"C:\\pics\\a.png", L"C:\\pics\\b c.jpg"}},
      {std::wstring(L"C:\\\0a.png\0b.png\0\0", 17), {L"C:\\a.png", L"C:\\b.png"}},  // a drive's root
      {std::wstring(L"\0\0", 2), {}},
  };
  for (const DialogCase& c : cases) EXPECT_EQ(PathsFromDialogBuffer(c.buffer.data(), c.buffer.size()), c.paths);
}

TEST(SettingsPathTest, IsLumatrelIniBesideTheExecutable) {
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  const fs::path expected = fs::path(exe).parent_path() / L"Lumatrel.ini";
  EXPECT_EQ(WideFromText(SettingsPathBesideExecutable()), expected.wstring());
}

class WinPictureFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder = fs::path(temp) / (L"lumatrel-files-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                               std::to_wstring(GetTickCount64()));
    fs::create_directories(folder);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  Text PathOf(const std::wstring& name) const { return TextFromWide((folder / name).wstring()); }

  fs::path folder;
  WinPictureFiles files;
};

TEST_F(WinPictureFilesTest, ReadsWholeFilesAndSizesThem) {
  {
    std::ofstream out(folder / L"a.png", std::ios::binary);
    out.write("\x89PNG\0\r\n", 7);
  }
  { std::ofstream empty(folder / L"empty.png", std::ios::binary); }
  EXPECT_EQ(files.SizeOf(PathOf(L"a.png")), 7u);
  EXPECT_EQ(files.ReadAll(PathOf(L"a.png")), (Bytes{0x89, 'P', 'N', 'G', 0, '\r', '\n'}));
  EXPECT_EQ(files.SizeOf(PathOf(L"empty.png")), 0u);
  EXPECT_TRUE(files.ReadAll(PathOf(L"empty.png")).empty());
  EXPECT_FALSE(files.SizeOf(PathOf(L"missing.png")));
  EXPECT_TRUE(files.ReadAll(PathOf(L"missing.png")).empty());
}

TEST_F(WinPictureFilesTest, ATwoGibibyteFileIsSizedButNeverRead) {
  const std::wstring path = (folder / L"huge.tif").wstring();
  {
    ScopedFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(file.Get(), INVALID_HANDLE_VALUE);
    LARGE_INTEGER end{};
    end.QuadPart = 2147483648LL;  // sparse on the host's file system: nothing is written
    ASSERT_TRUE(SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file.Get()));
  }
  EXPECT_EQ(files.SizeOf(TextFromWide(path)), 2147483648ull);
  EXPECT_TRUE(files.ReadAll(TextFromWide(path)).empty());
}

}  // namespace
}  // namespace lumatrel::win
