// The real main window under Wine: its layout, the logo, a batch against the stand-in picture
// service, the stop command, the copy commands through the clipboard, the double click, and the
// settings file after close and at the next start.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <cstdio>
#include <sstream>

#include "app/Addresses.h"
#include "app/win/Application.h"
#include "app/win/ControlIds.h"
#include "app/win/tests/StandinUploader.h"
#include "app/win/tests/WindowDriver.h"
#include "standin/StandinFiles.h"
#include "text/Gb18030.h"

namespace lumatrel::win {
namespace {

namespace fs = std::filesystem;
namespace si = standin;
using namespace lumatrel::win::testing;

constexpr DWORD kBatchTimeoutMs = 60000;
const std::wstring kDone = L"上传完成！请选定列表，鼠标右键单击复制图片外链！";

class ScriptedPicker : public PicturePicker {
 public:
  std::vector<Text> Pick(const PickRequest& request) override {
    requests.push_back(request);
    return answer;
  }
  std::vector<Text> answer;
  std::vector<PickRequest> requests;
};

class RecordingShell : public Shell {
 public:
  void Open(const Text& target) override { opened.push_back(WideFromText(target)); }
  std::vector<std::wstring> opened;
};

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteBytes(const fs::path& path, std::size_t size) {
  std::ofstream out(path, std::ios::binary);
  for (std::size_t i = 0; i < size; ++i) out.put(static_cast<char>('A' + i % 26));
}

class MainWindowTest : public ::testing::Test {
 public:
  void SetUp() override {
    if (!si::Directory()) GTEST_SKIP() << "LUMATREL_STANDIN_DIR is not set";
    ASSERT_GT(si::Port(), 0) << "the stand-in service is not running";
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    root = fs::path(temp) / (L"lumatrel-window-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                             std::to_wstring(GetTickCount()));
    // A folder name in Chinese, and below a file name outside GBK. Wine maps file names to the
    // Unix locale's character set: in the C locale only ASCII names can exist on disk.
    pictures = root / L"图片";
    std::error_code error;
    fs::create_directories(pictures, error);
    if (error) {
      unicodeNames = false;
      pictures = root / L"pictures";
      fs::create_directories(pictures);
    }
    std::fprintf(stderr, "window test: ANSI code page %u, %s file names\n", GetACP(),
                 unicodeNames ? "Chinese and non-GBK" : "ASCII-only");
    settingsPath = root / L"Lumatrel.ini";
    session = si::NewSession("window");
    uploader = std::make_unique<StandinUploader>(session);
  }

  void TearDown() override {
    application.reset();
    // A window destroyed without its loop (a test that stopped early) leaves its WM_QUIT behind.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }

  void StartApplication() {
    StartupOptions options;
    options.settingsPath = TextFromWide(settingsPath.wstring());
    options.picker = &picker;
    options.shell = &shell;
    options.uploader = uploader.get();
    application = std::make_unique<Application>(options);
    ASSERT_TRUE(application->Start());
    uploader->Bind(*application->Client());
    main = application->Window()->Handle();
  }

  // Closes the window the way the user does and lets the program end: message loop, teardown.
  void CloseApplication() {
    PostMessageW(main, WM_CLOSE, 0, 0);
    application->Run();
    application.reset();
  }

  HWND Child(ControlId id) const { return GetDlgItem(main, Id(id)); }
  HWND StripChild(ControlId id) const { return GetDlgItem(Child(ControlId::图片框1), Id(id)); }
  HWND List() const { return Child(ControlId::列表框); }
  HWND Button() const { return Child(ControlId::按钮上传图片); }
  HWND Label() const { return GetDlgItem(Child(ControlId::进度条), Id(ControlId::透明标签)); }

  // Picks the files and clicks the upload button; returns once the batch has ended.
  bool RunBatch(const std::vector<fs::path>& files, const std::function<void()>& duringBatch = {}) {
    picker.answer.clear();
    for (const fs::path& file : files) picker.answer.push_back(TextFromWide(file.wstring()));
    std::unique_ptr<ThreadTimer> watcher;
    if (duringBatch) watcher = std::make_unique<ThreadTimer>(20, duringBatch);
    SetWindowTextW(Label(), L"");
    PostMessageW(Button(), BM_CLICK, 0, 0);
    return PumpUntil([&] { return WindowText(Label()) == kDone; }, kBatchTimeoutMs);
  }

  fs::path Picture(const std::wstring& name, std::size_t size) {
    const fs::path path = pictures / name;
    WriteBytes(path, size);
    return path;
  }

  std::wstring Folder() const { return pictures.wstring() + L"\\"; }

  // A name in Chinese with a character outside GBK, where the file system can hold it.
  std::wstring SecondName() const { return unicodeNames ? L"风景\U0001F600.png" : L"scenery.png"; }

  fs::path root, pictures, settingsPath;
  bool unicodeNames = true;
  std::string session;
  std::unique_ptr<StandinUploader> uploader;
  ScriptedPicker picker;
  RecordingShell shell;
  std::unique_ptr<Application> application;
  HWND main = nullptr;
};

struct Placement {
  const char* name;
  std::function<HWND(const MainWindowTest&)> control;
  std::function<HWND(const MainWindowTest&)> parent;
  RECT rect;  // left, top, width, height
};

TEST_F(MainWindowTest, ControlsSitWhereTheFormPutsThem) {
  StartApplication();
  RECT outer{};
  GetWindowRect(main, &outer);
  EXPECT_EQ(outer.left, 50);
  EXPECT_EQ(outer.top, 50);
  EXPECT_EQ(outer.right - outer.left, 912);
  EXPECT_EQ(outer.bottom - outer.top, 574);
  EXPECT_EQ(WindowText(main), L"Lumatrel v1.0 - 批量上传图片获取永久外链");

  using C = ControlId;
  const auto main = [](const MainWindowTest& t) { return t.main; };
  const auto strip = [](const MainWindowTest& t) { return t.Child(C::图片框1); };
  const auto bar = [](const MainWindowTest& t) { return t.Child(C::进度条); };
  const auto child = [](C id) { return [id](const MainWindowTest& t) { return t.Child(id); }; };
  const auto inStrip = [](C id) { return [id](const MainWindowTest& t) { return t.StripChild(id); }; };
  const Placement table[] = {
      {"图片框1", child(C::图片框1), main, {0, 0, 1000, 90}},
      {"标签10", inStrip(C::标签10), strip, {-1, 88, 1200, 2}},
      {"图片Brenquil软件", inStrip(C::图片Brenquil软件), strip, {176, 12, 195, 64}},
      {"图片呼叫QQ", inStrip(C::图片呼叫QQ), strip, {16, 0, 64, 64}},
      {"文字呼叫QQ", inStrip(C::文字呼叫QQ), strip, {16, 64, 64, 24}},
      {"图片软件主页", inStrip(C::图片软件主页), strip, {93, 0, 64, 64}},
      {"文字软件主页", inStrip(C::文字软件主页), strip, {93, 64, 64, 24}},
      {"标签1", child(C::标签1), main, {16, 101, 80, 24}},
      {"进度条", child(C::进度条), main, {96, 101, 648, 24}},
      // Moved into the bar at creation: 10 in, 20 narrower than the bar.
      {"透明标签", [](const MainWindowTest& t) { return t.Label(); }, bar, {10, 0, 628, 24}},
      {"按钮上传图片", child(C::按钮上传图片), main, {752, 98, 136, 30}},
      {"列表框", child(C::列表框), main, {16, 136, 872, 384}},
  };
  for (const Placement& p : table) {
    HWND control = p.control(*this);
    ASSERT_NE(control, nullptr) << p.name;
    EXPECT_EQ(GetParent(control), p.parent(*this)) << p.name;
    const RECT r = RectInParent(control);
    EXPECT_EQ(r.left, p.rect.left) << p.name;
    EXPECT_EQ(r.top, p.rect.top) << p.name;
    EXPECT_EQ(r.right - r.left, p.rect.right) << p.name;
    EXPECT_EQ(r.bottom - r.top, p.rect.bottom) << p.name;
  }

  EXPECT_EQ(WindowText(Child(C::标签1)), L"上传进度：");
  EXPECT_EQ(WindowText(Button()), L"上传图片..");
  EXPECT_EQ(WindowText(Label()), L"");
  EXPECT_EQ(SendMessageW(Child(C::进度条), PBM_GETRANGE, TRUE, 0), 0);
  EXPECT_EQ(SendMessageW(Child(C::进度条), PBM_GETRANGE, FALSE, 0), 100);
  EXPECT_EQ(SendMessageW(Child(C::进度条), PBM_GETPOS, 0, 0), 0);
  EXPECT_EQ(WindowText(StripChild(C::文字软件主页)).find(L"软件主页") != std::wstring::npos, true);

  // Fonts: SimSun at 15 pixels, the hyperlink labels at 12, both with the Chinese character set.
  const auto fontOf = [](HWND hwnd) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font;
  };
  for (HWND hwnd : {List(), Button(), Child(C::标签1)}) {
    const LOGFONTW font = fontOf(hwnd);
    EXPECT_EQ(font.lfHeight, -15);
    EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
    EXPECT_STREQ(font.lfFaceName, L"宋体");
  }
  EXPECT_EQ(fontOf(StripChild(C::文字呼叫QQ)).lfHeight, -12);
  EXPECT_EQ(fontOf(StripChild(C::文字软件主页)).lfCharSet, GB2312_CHARSET);

  // The list: four left-aligned columns, grid lines, whole-row and multiple selection.
  const wchar_t* captions[] = {L"图片本地路径", L"图片大小", L"大图外链", L"小图外链"};
  const int widths[] = {200, 100, 300, 300};
  for (int column = 0; column < 4; ++column) {
    wchar_t text[64] = {};
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    lvc.pszText = text;
    lvc.cchTextMax = 64;
    ASSERT_TRUE(SendMessageW(List(), LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&lvc)));
    EXPECT_STREQ(text, captions[column]);
    EXPECT_EQ(lvc.cx, widths[column]);
    EXPECT_EQ(lvc.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
  }
  const LONG_PTR style = GetWindowLongPtrW(List(), GWL_STYLE);
  EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
  EXPECT_FALSE(style & (LVS_SINGLESEL | LVS_EDITLABELS | LVS_NOCOLUMNHEADER));
  const LRESULT extended = SendMessageW(List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  EXPECT_TRUE(extended & LVS_EX_GRIDLINES);
  EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
  EXPECT_FALSE(extended & LVS_EX_CHECKBOXES);
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(List(), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(images), 4);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(images, &cx, &cy);
  EXPECT_EQ(cx, 24);
  EXPECT_EQ(cy, 24);

  // The picture buttons show the hand pointer.
  const auto hand = LoadCursorW(nullptr, IDC_HAND);
  for (C id : {C::图片Brenquil软件, C::图片呼叫QQ, C::图片软件主页}) {
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(StripChild(id), GCLP_HCURSOR)), hand);
  }
  CloseApplication();
}

TEST_F(MainWindowTest, TheLogoTurnsOnePixelBeyondEachBound) {
  StartApplication();
  HWND logo = StripChild(ControlId::图片Brenquil软件);
  RECT client{};
  GetClientRect(main, &client);
  const int rightmost = client.right - 20 - 195 + 1;  // the first left whose right edge passes the bound
  std::vector<int> lefts;
  // The timer's own message, sent as many times as a long run would deliver it.
  for (int tick = 0; tick < 2 * (rightmost - 176) + 10; ++tick) {
    SendMessageW(main, WM_TIMER, Id(TimerId::时钟官网), 0);
    lefts.push_back(RectInParent(logo).left);
  }
  EXPECT_EQ(lefts.front(), 177);
  EXPECT_EQ(*std::max_element(lefts.begin(), lefts.end()), rightmost);
  EXPECT_EQ(*std::min_element(lefts.begin(), lefts.end()), 176);
  const auto top = std::find(lefts.begin(), lefts.end(), rightmost);
  ASSERT_NE(top, lefts.end());
  EXPECT_EQ(*(top + 1), rightmost - 1);
  const auto bottom = std::find(top, lefts.end(), 176);
  ASSERT_NE(bottom, lefts.end());
  EXPECT_EQ(*(bottom + 1), 177);
  EXPECT_EQ(RectInParent(logo).top, 12);
  // And the real timer moves it too.
  const int before = RectInParent(logo).left;
  EXPECT_TRUE(PumpUntil([&] { return RectInParent(logo).left != before; }, 5000));
  CloseApplication();
}

TEST_F(MainWindowTest, TheHeaderStripOpensItsAddresses) {
  StartApplication();
  const auto clickCentre = [](HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    ClickAt(hwnd, r.right / 2, r.bottom / 2);
  };
  clickCentre(StripChild(ControlId::图片呼叫QQ));
  clickCentre(StripChild(ControlId::图片软件主页));
  clickCentre(StripChild(ControlId::图片Brenquil软件));
  ClickAt(StripChild(ControlId::文字呼叫QQ), 4, 6);
  ClickAt(StripChild(ControlId::文字软件主页), 4, 6);
  const std::vector<std::wstring> expected = {
      WideFromText(kContactAddress), WideFromText(kProductPageAddress), WideFromText(kMakerHomeAddress),
      WideFromText(kContactAddress), WideFromText(kProductPageAddress)};
  EXPECT_EQ(shell.opened, expected);
  CloseApplication();
}


// The stand-in's reply to one upload, in the escaped form of the real service.
si::Reply UploadReply(const std::string& picture, int delayMs) {
  const std::string host = "127.0.0.1:" + std::to_string(si::Port());
  si::Reply reply;
  reply.delayMs = delayMs;
  reply.body = "{\"code\":\"0\",\"url\":\"http:\\/\\/" + host + "\\/pic\\/" + picture +
               "\",\"msg\":\"\\u4e0a\\u4f20\\u6210\\u529f\",\"path\":\"" + host + "\\/pic\\/" + picture + ".jpg\"}";
  return reply;
}

si::Reply RefusalReply(int delayMs) {
  si::Reply reply;
  reply.delayMs = delayMs;
  reply.body = "{\"code\":\"-1\",\"msg\":\"\\u56fe\\u7247\\u683c\\u5f0f\\u4e0d\\u652f\\u6301\",\"path\":\"\"}";
  return reply;
}

std::wstring PictureAddress(const std::string& picture) {
  return L"http://127.0.0.1:" + std::to_wstring(si::Port()) + L"/pic/" + std::wstring(picture.begin(), picture.end());
}

// The window as a person sees it, for the test's artifacts: ImageMagick's import of the X
// screen. Wine starts Unix programs but cannot wait for them, so the picture is written under
// a temporary name and appears under its own name only when complete.
bool SaveScreenshot(const std::string& name) {
  const std::string folder = LUMATREL_ARTIFACT_DIR;
  const std::string part = folder + "/" + name + ".part.png";
  const std::string done = folder + "/" + name;
  std::wstring winDone = L"Z:" + std::wstring(done.begin(), done.end());
  for (wchar_t& c : winDone) {
    if (c == L'/') c = L'\\';
  }
  DeleteFileW(winDone.c_str());
  const std::string command = "/bin/sh -c \"import -window root '" + part + "' && mv '" + part + "' '" + done + "'\"";
  std::wstring wide(command.begin(), command.end());
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  if (process.hThread) CloseHandle(process.hThread);
  if (process.hProcess) CloseHandle(process.hProcess);
  return PumpUntil([&] { return GetFileAttributesW(winDone.c_str()) != INVALID_FILE_ATTRIBUTES; }, 30000);
}

std::string LocaleTag() { return "cp" + std::to_string(GetACP()); }

TEST_F(MainWindowTest, ABatchOfThreeThenTheCopyCommandsAndTheSettingsAtTheNextStart) {
  // The stand-in answers each upload after 300 ms, so that every state can be seen.
  ASSERT_TRUE(si::ScriptReply(session, UploadReply("one", 300), 1));
  ASSERT_TRUE(si::ScriptReply(session, UploadReply("two", 300), 2));
  ASSERT_TRUE(si::ScriptReply(session, RefusalReply(300), 3));
  const std::vector<fs::path> files = {Picture(L"a.png", 1536), Picture(SecondName(), 1023),
                                       Picture(L"refuse.gif", 2048)};
  StartApplication();
  ASSERT_TRUE(application->Window()->UploadTag().empty());  // first run: nothing remembered

  std::vector<std::wstring> labels;
  std::vector<std::vector<int>> icons(3);
  std::vector<std::wstring> captions;
  int bestBar = 0;
  const auto record = [](auto& list, const auto& value) {
    if (list.empty() || list.back() != value) list.push_back(value);
  };
  const auto sample = [&] {
    if (const std::wstring label = WindowText(Label()); !label.empty()) record(labels, label);
    record(captions, WindowText(Button()));
    for (int row = 0; row < ListView_GetItemCount(List()) && row < 3; ++row) record(icons[row], RowIcon(List(), row));
    bestBar = std::max(bestBar, static_cast<int>(SendMessageW(Child(ControlId::进度条), PBM_GETPOS, 0, 0)));
  };
  ASSERT_TRUE(RunBatch(files, [&] {
    if (WindowText(Button()) != L"上传图片..") sample();
  }));
  sample();

  const std::wstring folder = Folder();
  EXPECT_EQ(labels, (std::vector<std::wstring>{L"(3:1) " + folder + L"a.png", L"(3:2) " + folder + SecondName(),
                                               L"(3:3) " + folder + L"refuse.gif", kDone}));
  EXPECT_EQ(captions, (std::vector<std::wstring>{L"停止上传", L"上传图片.."}));
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(icons[row], (std::vector<int>{2, 3, row == 2 ? 1 : 0})) << row;
  }
  EXPECT_EQ(bestBar, 100);  // after each exchange, during the pause

  ASSERT_EQ(ListView_GetItemCount(List()), 3);
  const std::wstring one = PictureAddress("one"), two = PictureAddress("two");
  const std::wstring rows[3][4] = {
      {L"a.png", L"1.5 KB", one + L"/2000.jpg", one + L"/460.jpg"},
      {SecondName(), L"1023 B", two + L"/2000.jpg", two + L"/460.jpg"},
      {L"refuse.gif", L"2 KB", L"上传失败：图片格式不支持", L"http://"},
  };
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 4; ++column) EXPECT_EQ(CellText(List(), row, column), rows[row][column]);
  }
  EXPECT_EQ(SendMessageW(Child(ControlId::进度条), PBM_GETPOS, 0, 0), 0);
  EXPECT_EQ(WindowText(Button()), L"上传图片..");
  EXPECT_EQ(application->Window()->UploadTag(), TextFromWide(folder));

  // What went out: the picture's bytes under its name, in GB18030 for the one outside GBK.
  const std::optional<std::string> second = si::RecordedRequest(session, 2);
  ASSERT_TRUE(second);
  const std::string name = TextFromWide(SecondName());
  EXPECT_NE(si::Body(*second).find("name=\"Filename\"\r\n\r\n" + name + "\r\n"), std::string::npos);
  EXPECT_NE(si::Body(*second).find("filename=\"" + name + "\""), std::string::npos);

  SelectRows(List(), {0, 2});
  PumpUntil([] { return false; }, 300);  // let it paint
  EXPECT_TRUE(SaveScreenshot("main-window-after-batch-" + LocaleTag() + ".png"));

  // The popup menu, from a right click on a selected row; closed again by the test.
  std::vector<std::wstring> menuCaptions;
  {
    ThreadTimer closer(50, [&] {
      if (HWND popup = FindWindowW(L"#32768", nullptr); popup && IsWindowVisible(popup)) {
        HMENU menu = application->Window()->MenuHandle();
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
          wchar_t text[512] = {};
          GetMenuStringW(menu, static_cast<UINT>(i), text, 512, MF_BYPOSITION);
          menuCaptions.push_back(text);
        }
        EndMenu();
      }
    });
    const POINT at = RowPoint(List(), 0);
    PostMessageW(List(), WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    SendMessageW(List(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    PumpUntil([&] { return !menuCaptions.empty(); }, 5000);
  }
  EXPECT_EQ(menuCaptions, (std::vector<std::wstring>{L"复制大图外链(" + one + L"/2000.jpg)",
                                                     L"复制小图外链(" + one + L"/460.jpg)", L"", L"复制整行",
                                                     L"复制全部"}));
  EXPECT_EQ(application->Window()->Logic().list.SelectedRows(), (std::vector<int>{0, 2}));

  struct Copy {
    ControlId item;
    std::wstring text;
  };
  const auto line = [&](int row) {
    return rows[row][0] + L"," + rows[row][1] + L"," + rows[row][2] + L"," + rows[row][3];
  };
  const Copy copies[] = {
      {ControlId::复制大图外链, rows[0][2] + L"\r\n" + rows[2][2]},
      {ControlId::复制小图外链, rows[0][3] + L"\r\n" + rows[2][3]},
      {ControlId::复制整行, line(0) + L"\r\n" + line(2)},
      {ControlId::复制全部, line(0) + L"\r\n" + line(1) + L"\r\n" + line(2)},
  };
  for (const Copy& copy : copies) {
    PutClipboardMarker();
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(Id(copy.item), 0), 0);
    const ClipboardContents clipboard = ReadClipboard();
    EXPECT_TRUE(clipboard.hasText);
    EXPECT_EQ(clipboard.ansi, TextFromWide(copy.text)) << Id(copy.item);
    EXPECT_TRUE(clipboard.hasUnicode);
    EXPECT_EQ(clipboard.unicode, copy.text) << Id(copy.item);
  }

  // A double click on row 2 opens the first selected row's picture.
  SelectRows(List(), {1, 2});
  const POINT at = RowPoint(List(), 2);
  SendMessageW(List(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  EXPECT_EQ(shell.opened, std::vector<std::wstring>{folder + SecondName()});

  CloseApplication();
  // First run, one pick, a normal close: exactly the section and the entry, no final line break.
  EXPECT_EQ(ReadBytes(settingsPath), "[主界面]\r\n上次目录=" + TextFromWide(folder));

  StartApplication();
  EXPECT_EQ(application->Window()->UploadTag(), TextFromWide(folder));
  picker.answer.clear();
  PostMessageW(Button(), BM_CLICK, 0, 0);
  PumpUntil([&] { return picker.requests.size() == 2; }, 5000);
  ASSERT_EQ(picker.requests.size(), 2u);
  EXPECT_EQ(picker.requests[1].initialFolder, TextFromWide(folder));
  EXPECT_EQ(picker.requests[1].title, "请选择需要上传获取外链的图片：");
  CloseApplication();
  EXPECT_EQ(ReadBytes(settingsPath), "[主界面]\r\n上次目录=" + TextFromWide(folder));
}

TEST_F(MainWindowTest, StopDuringADelayedReplyEndsTheBatchAfterThatRow) {
  ASSERT_TRUE(si::ScriptReply(session, UploadReply("first", 0), 1));
  ASSERT_TRUE(si::ScriptReply(session, UploadReply("late", 20000), 2));
  std::vector<fs::path> files;
  // The second is large enough for the simulated progress to show part of a bar while it waits.
  for (int i = 1; i <= 5; ++i) files.push_back(Picture(L"p" + std::to_wstring(i) + L".png", i == 2 ? 300 * 1024 : 100 * i));
  StartApplication();

  bool clicked = false;
  bool shot = false;
  bool shooting = false;
  std::vector<std::wstring> captions;
  const DWORD start = GetTickCount();
  ASSERT_TRUE(RunBatch(files, [&] {
    if (shooting) return;
    const std::wstring caption = WindowText(Button());
    if (captions.empty() || captions.back() != caption) captions.push_back(caption);
    // The stop click, once the second exchange waits for its slow reply.
    // Once the bar has moved, a picture of the window in the middle of an exchange.
    const LRESULT bar = SendMessageW(Child(ControlId::进度条), PBM_GETPOS, 0, 0);
    if (!clicked && RowIcon(List(), 1) == 3 && si::RecordedRequest(session, 2) && bar > 0 && !shot) {
      // One tick: 60 to 65 KiB of 300 KiB.
      EXPECT_GE(bar, 20);
      EXPECT_LE(bar, 21);
      // The screenshot pumps messages, and so this very watcher: it must not click meanwhile.
      shooting = true;
      EXPECT_TRUE(SaveScreenshot("main-window-during-exchange-" + LocaleTag() + ".png"));
      shooting = false;
      shot = true;
    }
    if (!clicked && shot) {
      clicked = true;
      // Sent, not posted: the stop branch returns at once, and its caption can be read.
      SendMessageW(Button(), BM_CLICK, 0, 0);
      captions.push_back(WindowText(Button()));
    }
  }));
  captions.push_back(WindowText(Button()));
  EXPECT_TRUE(clicked);
  EXPECT_LT(GetTickCount() - start, 15000u) << "the abort did not end the wait for the reply";
  EXPECT_EQ(captions, (std::vector<std::wstring>{L"停止上传", L"停止中..", L"上传图片.."}));
  EXPECT_EQ(RowIcon(List(), 0), 0);
  EXPECT_EQ(RowIcon(List(), 1), 1);
  EXPECT_EQ(CellText(List(), 1, 2), L"上传失败：");
  EXPECT_EQ(CellText(List(), 1, 3), L"http://");
  for (int row = 2; row < 5; ++row) {
    EXPECT_EQ(RowIcon(List(), row), 2);
    EXPECT_EQ(CellText(List(), row, 2), L"");
    EXPECT_EQ(CellText(List(), row, 3), L"");
  }
  EXPECT_FALSE(si::RecordedRequest(session, 3));
  EXPECT_EQ(WindowText(Label()), kDone);
  CloseApplication();
}

}  // namespace
}  // namespace lumatrel::win
