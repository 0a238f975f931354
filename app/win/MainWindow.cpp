#include "app/win/MainWindow.h"

#include <string>
#include <vector>

#include "app/Addresses.h"
#include "app/Banner.h"
#include "app/win/ControlIds.h"
#include "app/win/Pictures.h"
#include "text/Gb18030.h"

namespace lumatrel::win {
namespace {

constexpr int kListColumnWidths[] = {200, 100, 300, 300};
constexpr const char* kListColumnCaptions[] = {"图片本地路径", "图片大小", "大图外链", "小图外链"};

ScopedFont CreateSimSun(int pixels) {
  // GB2312_CHARSET lets the font mapper find a CJK face for SimSun whatever the locale.
  return ScopedFont(CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"宋体"));
}

HWND CreateChild(const wchar_t* className, const std::wstring& text, DWORD style, int x, int y, int width,
                 int height, HWND parent, ControlId id, HFONT font, DWORD exStyle = 0) {
  HWND hwnd = CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id(id))),
                              GetModuleHandleW(nullptr), nullptr);
  if (hwnd && font) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return hwnd;
}

std::wstring LinkMarkup(std::string_view address, std::string_view text) {
  return L"<a href=\"" + WideFromText(address) + L"\">" + WideFromText(text) + L"</a>";
}

std::wstring LinkAddress(HWND link) {
  LITEM item{};
  item.mask = LIF_ITEMINDEX | LIF_URL;
  item.iLink = 0;
  if (!SendMessageW(link, LM_GETITEM, 0, reinterpret_cast<LPARAM>(&item))) return {};
  return item.szUrl;
}

RECT RectInParent(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

MainWindow::MainWindow(const AppServices& services) : logic_(*this, *this, services) {}

MainWindow::~MainWindow() {
  // Children first go with the window, while every object behind them still exists.
  if (Handle()) DestroyWindow(Handle());
}

bool MainWindow::Create() {
  font15_ = CreateSimSun(15);
  font12_ = CreateSimSun(12);
  stateImages_ = CreateStateImages();
  RegisterClassOnce(L"LumatrelMainWindow", LoadCursorW(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
  if (!CreateWindowFor(L"LumatrelMainWindow", kWindowCaption,
                       WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 0, kWindowLeft,
                       kWindowTop, kWindowWidth, kWindowHeight, nullptr, 0)) {
    return false;
  }
  CreateControls();
  CreateMenu();
  SetTimer(Handle(), Id(TimerId::时钟官网), kBannerPeriod, nullptr);
  OnMainWindowCreated();
  ShowWindow(Handle(), SW_SHOWNORMAL);
  UpdateWindow(Handle());
  return true;
}

void MainWindow::CreateControls() {
  HWND window = Handle();
  strip_.Create(window, Id(ControlId::图片框1), 0, 0, 1000, 90);
  HWND strip = strip_.Handle();
  rule_ = CreateChild(WC_STATICW, L"", SS_GRAYRECT, -1, 88, 1200, 2, strip, ControlId::标签10, nullptr);
  logo_.Create(strip, Id(ControlId::图片Brenquil软件), 176, 12, 195, 64, DrawLogo());
  contactPicture_.Create(strip, Id(ControlId::图片呼叫QQ), 16, 0, 64, 64, DrawContactPicture());
  linkContact_ = CreateChild(WC_LINK, LinkMarkup(kContactAddress, kContactNumber), 0, 16, 64, 64, 24, strip,
                             ControlId::文字呼叫QQ, font12_.Get());
  homePicture_.Create(strip, Id(ControlId::图片软件主页), 93, 0, 64, 64, DrawHomePagePicture());
  linkHome_ = CreateChild(WC_LINK, LinkMarkup(kProductPageAddress, kProductPageText), 0, 93, 64, 64, 24, strip,
                          ControlId::文字软件主页, font12_.Get());

  caption_ = CreateChild(WC_STATICW, L"上传进度：", SS_LEFT | SS_CENTERIMAGE, 16, 101, 80, 24, window,
                         ControlId::标签1, font15_.Get());
  bar_ = CreateChild(PROGRESS_CLASSW, L"", WS_CLIPCHILDREN, 96, 101, 648, 24, window, ControlId::进度条, nullptr);
  SendMessageW(bar_, PBM_SETRANGE32, 0, 100);
  SendMessageW(bar_, PBM_SETPOS, 0, 0);
  label_.Create(window, Id(ControlId::透明标签), 112, 101, 496, 24, font15_.Get());
  button_ = CreateChild(WC_BUTTONW, WideFromText(kCaptionIdle), BS_PUSHBUTTON | WS_TABSTOP, 752, 98, 136, 30, window,
                        ControlId::按钮上传图片, font15_.Get());
  CreateList();
}

void MainWindow::CreateList() {
  list_ = CreateChild(WC_LISTVIEWW, L"", LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | WS_TABSTOP, 16, 136,
                      872, 384, Handle(), ControlId::列表框, font15_.Get(), WS_EX_CLIENTEDGE);
  SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
               LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(stateImages_.Get()));
  for (int column = 0; column < 4; ++column) {
    std::wstring caption = WideFromText(kListColumnCaptions[column]);
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    lvc.fmt = LVCFMT_LEFT;
    lvc.cx = kListColumnWidths[column];
    lvc.pszText = caption.data();
    lvc.iSubItem = column;
    SendMessageW(list_, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&lvc));
  }
}

void MainWindow::CreateMenu() {
  menuBar_.Reset(::CreateMenu());
  menu_ = CreatePopupMenu();
  AppendMenuW(menu_, MF_STRING, Id(ControlId::复制大图外链), L"复制大图外链");
  AppendMenuW(menu_, MF_STRING, Id(ControlId::复制小图外链), L"复制小图外链");
  AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu_, MF_STRING, Id(ControlId::复制整行), L"复制整行");
  AppendMenuW(menu_, MF_STRING, Id(ControlId::复制全部), L"复制全部");
  // Owned by the bar from here on, and destroyed with it.
  AppendMenuW(menuBar_.Get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu_), L"菜单");
}

void MainWindow::OnMainWindowCreated() {
  // The label goes into the bar, 10 pixels in and 20 narrower, so the text lies on the bar.
  HWND label = label_.Handle();
  const RECT labelRect = RectInParent(label);
  const RECT barRect = RectInParent(bar_);
  SetParent(label, bar_);
  SetWindowPos(label, HWND_TOP, 10, 0, (barRect.right - barRect.left) - 20, labelRect.bottom - labelRect.top,
               SWP_NOACTIVATE);
  logic_.OnMainWindowCreated();
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_TIMER:
      if (wParam == static_cast<WPARAM>(Id(TimerId::时钟官网))) logic_.banner.BannerTick();
      if (wParam == static_cast<WPARAM>(Id(TimerId::时钟进度))) logic_.batch.ProgressTick();
      return 0;
    case WM_CLOSE:
      logic_.OnMainWindowClosing();
      DestroyWindow(Handle());
      return 0;
    case WM_DESTROY:
      KillTimer(Handle(), Id(TimerId::时钟官网));
      KillTimer(Handle(), Id(TimerId::时钟进度));
      PostQuitMessage(0);
      return 0;
    default:
      return Window::OnMessage(message, wParam, lParam);
  }
}

void MainWindow::OnCommand(int id, int code) {
  switch (static_cast<ControlId>(id)) {
    case ControlId::按钮上传图片:
      if (code == BN_CLICKED) logic_.batch.OnUploadButtonClicked();
      break;
    case ControlId::图片Brenquil软件:
      OpenMakerHome();
      break;
    case ControlId::图片软件主页:
      OpenProductPage();
      break;
    case ControlId::图片呼叫QQ:
      OpenContact();
      break;
    case ControlId::复制大图外链:
      logic_.list.CopyLargeLinks();
      break;
    case ControlId::复制小图外链:
      logic_.list.CopySmallLinks();
      break;
    case ControlId::复制整行:
      logic_.list.CopyRows();
      break;
    case ControlId::复制全部:
      logic_.list.CopyAll();
      break;
    default:
      break;
  }
}

LRESULT MainWindow::OnNotify(const NMHDR& header) {
  if (header.hwndFrom == list_) {
    if (header.code == NM_RCLICK) logic_.list.OnListRightClick();
    if (header.code == NM_DBLCLK) logic_.list.OnListDoubleClick();
    return 0;
  }
  if ((header.hwndFrom == linkContact_ || header.hwndFrom == linkHome_) &&
      (header.code == NM_CLICK || header.code == NM_RETURN)) {
    const auto& link = reinterpret_cast<const NMLINK&>(header);
    logic_.list.ShellOpen(TextFromWide(link.item.szUrl));
  }
  return 0;
}

void MainWindow::OpenMakerHome() { logic_.list.ShellOpen(Text(kMakerHomeAddress)); }
void MainWindow::OpenProductPage() { logic_.list.ShellOpen(TextFromWide(LinkAddress(linkHome_))); }
void MainWindow::OpenContact() { logic_.list.ShellOpen(TextFromWide(LinkAddress(linkContact_))); }

Text MainWindow::UploadCaption() const { return TextFromWide(WindowText(button_)); }

void MainWindow::SetUploadCaption(const Text& caption) { SetWindowTextW(button_, WideFromText(caption).c_str()); }

void MainWindow::SetProgressLabel(const Text& text) {
  SetWindowTextW(label_.Handle(), WideFromText(text).c_str());
}

void MainWindow::SetProgressPosition(int position) {
  SendMessageW(bar_, PBM_SETPOS, position, 0);
  // The bar does not paint under its child; the label shows the new bar itself.
  InvalidateRect(label_.Handle(), nullptr, FALSE);
}

void MainWindow::SetProgressTimerPeriod(int milliseconds) {
  if (milliseconds > 0) {
    SetTimer(Handle(), Id(TimerId::时钟进度), static_cast<UINT>(milliseconds), nullptr);
  } else {
    KillTimer(Handle(), Id(TimerId::时钟进度));
  }
}

int MainWindow::RowCount() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

void MainWindow::DeleteAllRows() { SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0); }

int MainWindow::AddRow(const Text& name, int icon, int value) {
  std::wstring text = WideFromText(name);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  item.iItem = RowCount();
  item.pszText = text.data();
  item.iImage = icon;
  item.lParam = value;
  return static_cast<int>(SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

Text MainWindow::Cell(int row, int column) const {
  // The list copies at most the buffer; grow it until the text fits with room to spare.
  for (std::size_t size = 512;; size *= 4) {
    std::vector<wchar_t> buffer(size, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(size);
    const auto copied = static_cast<std::size_t>(
        SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (copied + 1 < size || size >= (1u << 24)) return TextFromWide(std::wstring_view(buffer.data(), copied));
  }
}

void MainWindow::SetCell(int row, int column, const Text& text) {
  std::wstring wide = WideFromText(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(list_, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void MainWindow::SetRowIcon(int row, int icon) {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iImage = icon;
  SendMessageW(list_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

int MainWindow::RowValue(int row) const {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return 0;
  return static_cast<int>(item.lParam);
}

bool MainWindow::IsRowSelected(int row) const {
  return (SendMessageW(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void MainWindow::EnsureRowVisible(int row) { SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE); }

void MainWindow::SetMenuCaption(MenuItem item, const Text& caption) {
  const int id = item == MenuItem::复制大图外链 ? Id(ControlId::复制大图外链) : Id(ControlId::复制小图外链);
  ModifyMenuW(menu_, static_cast<UINT>(id), MF_BYCOMMAND | MF_STRING, static_cast<UINT_PTR>(id),
              WideFromText(caption).c_str());
}

void MainWindow::PopUpMenu() {
  POINT at{};
  GetCursorPos(&at);
  TrackPopupMenu(menu_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr);
}

int MainWindow::LogoLeft() const { return RectInParent(logo_.Handle()).left; }

int MainWindow::LogoWidth() const {
  const RECT rect = RectInParent(logo_.Handle());
  return rect.right - rect.left;
}

void MainWindow::SetLogoLeft(int left) {
  const RECT rect = RectInParent(logo_.Handle());
  SetWindowPos(logo_.Handle(), nullptr, left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int MainWindow::HomeButtonLeft() const { return RectInParent(homePicture_.Handle()).left; }

int MainWindow::HomeButtonWidth() const {
  const RECT rect = RectInParent(homePicture_.Handle());
  return rect.right - rect.left;
}

int MainWindow::ClientWidth() const {
  RECT client{};
  GetClientRect(Handle(), &client);
  return client.right;
}

}  // namespace lumatrel::win
