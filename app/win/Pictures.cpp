#include "app/win/Pictures.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

namespace lumatrel::win {
namespace {

// A drawing is made twice: once in its colours and once as a white silhouette on black. The
// silhouette's brightness becomes the alpha channel, so GDI, which knows no alpha, can draw it.
struct Pen {
  bool silhouette;
  COLORREF Colour(COLORREF colour) const { return silhouette ? RGB(255, 255, 255) : colour; }
};
using Drawing = std::function<void(HDC, const Pen&)>;

struct Dib {
  ScopedBitmap bitmap;
  std::uint32_t* bits = nullptr;
};

Dib CreateDib(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Dib dib;
  dib.bitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  dib.bits = static_cast<std::uint32_t*>(bits);
  return dib;
}

void Render(const Dib& dib, int width, int height, const Drawing& draw, bool silhouette) {
  ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  SelectGuard select(dc.Get(), dib.bitmap.Get());
  std::fill(dib.bits, dib.bits + width * height, 0u);
  SetBkMode(dc.Get(), TRANSPARENT);
  draw(dc.Get(), Pen{silhouette});
  GdiFlush();
}

ScopedBitmap Compose(int width, int height, const Drawing& draw) {
  Dib colour = CreateDib(width, height);
  Dib shape = CreateDib(width, height);
  if (!colour.bits || !shape.bits) return {};
  Render(colour, width, height, draw, false);
  Render(shape, width, height, draw, true);
  for (int i = 0; i < width * height; ++i) {
    const std::uint32_t s = shape.bits[i];
    const std::uint32_t alpha = std::max({s & 0xFF, (s >> 8) & 0xFF, (s >> 16) & 0xFF});
    colour.bits[i] = alpha == 0 ? 0 : (colour.bits[i] & 0x00FFFFFF) | (alpha << 24);
  }
  return std::move(colour.bitmap);
}

void Fill(HDC dc, COLORREF colour, const std::function<void()>& shape) {
  ScopedBrush brush(CreateSolidBrush(colour));
  ScopedPen pen(CreatePen(PS_SOLID, 1, colour));
  SelectGuard b(dc, brush.Get());
  SelectGuard p(dc, pen.Get());
  shape();
}

void ThickLines(HDC dc, COLORREF colour, int width, const std::vector<POINT>& points) {
  LOGBRUSH brush{BS_SOLID, colour, 0};
  ScopedPen pen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, width, &brush, 0, nullptr));
  SelectGuard p(dc, pen.Get());
  Polyline(dc, points.data(), static_cast<int>(points.size()));
}

void Text(HDC dc, COLORREF colour, const wchar_t* face, int height, int weight, BYTE charset, RECT box,
          const wchar_t* text, UINT format) {
  ScopedFont font(CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, face));
  SelectGuard f(dc, font.Get());
  SetTextColor(dc, colour);
  DrawTextW(dc, text, -1, &box, format | DT_NOPREFIX);
}

void Logo(HDC dc, const Pen& pen) {
  // A blue plaque with a round emblem and the maker's name.
  Fill(dc, pen.Colour(RGB(24, 94, 170)), [&] { RoundRect(dc, 0, 0, kLogoWidth, kLogoHeight, 18, 18); });
  Fill(dc, pen.Colour(RGB(250, 190, 40)), [&] { Ellipse(dc, 9, 9, 57, 57); });
  Text(dc, pen.Colour(RGB(24, 94, 170)), L"Arial", 34, FW_BOLD, ANSI_CHARSET, RECT{9, 9, 57, 57}, L"B",
       DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  Text(dc, pen.Colour(RGB(255, 255, 255)), L"Arial", 24, FW_BOLD, ANSI_CHARSET, RECT{64, 6, 192, 36},
       L"Brenquil", DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  Text(dc, pen.Colour(RGB(210, 230, 250)), L"宋体", 18, FW_NORMAL, GB2312_CHARSET, RECT{66, 36, 192, 60},
       L"软件 · Lumatrel", DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void Contact(HDC dc, const Pen& pen) {
  // A person in a green disc: the contact.
  Fill(dc, pen.Colour(RGB(46, 160, 90)), [&] { Ellipse(dc, 2, 2, 62, 62); });
  Fill(dc, pen.Colour(RGB(255, 255, 255)), [&] {
    Ellipse(dc, 22, 12, 42, 32);
    Chord(dc, 12, 34, 52, 74, 52, 50, 12, 50);
  });
}

void HomePage(HDC dc, const Pen& pen) {
  // A house: the product's home page.
  Fill(dc, pen.Colour(RGB(220, 80, 50)), [&] {
    const POINT roof[] = {{32, 4}, {62, 32}, {2, 32}};
    Polygon(dc, roof, 3);
  });
  Fill(dc, pen.Colour(RGB(245, 200, 120)), [&] { Rectangle(dc, 10, 30, 54, 62); });
  Fill(dc, pen.Colour(RGB(120, 70, 30)), [&] { Rectangle(dc, 26, 40, 38, 62); });
}

void Check(HDC dc, const Pen& pen) { ThickLines(dc, pen.Colour(RGB(30, 170, 60)), 4, {{4, 13}, {10, 19}, {20, 5}}); }

void Cross(HDC dc, const Pen& pen) {
  ThickLines(dc, pen.Colour(RGB(220, 30, 30)), 4, {{5, 5}, {19, 19}});
  ThickLines(dc, pen.Colour(RGB(220, 30, 30)), 4, {{19, 5}, {5, 19}});
}

void Landscape(HDC dc, const Pen& pen) {
  Fill(dc, pen.Colour(RGB(120, 120, 120)), [&] { Rectangle(dc, 1, 3, 23, 21); });
  Fill(dc, pen.Colour(RGB(150, 200, 245)), [&] { Rectangle(dc, 2, 4, 22, 20); });
  Fill(dc, pen.Colour(RGB(250, 210, 40)), [&] { Ellipse(dc, 14, 6, 19, 11); });
  Fill(dc, pen.Colour(RGB(60, 150, 60)), [&] {
    const POINT hills[] = {{2, 19}, {9, 10}, {14, 16}, {17, 13}, {21, 19}};
    Polygon(dc, hills, 5);
  });
}

void UpArrow(HDC dc, const Pen& pen) {
  Fill(dc, pen.Colour(RGB(30, 100, 220)), [&] {
    const POINT arrow[] = {{12, 2}, {22, 12}, {16, 12}, {16, 22}, {8, 22}, {8, 12}, {2, 12}};
    Polygon(dc, arrow, 7);
  });
}

// Monochrome mask for the image list: set where the picture is transparent.
ScopedBitmap MaskFromAlpha(HBITMAP picture, int size) {
  DIBSECTION section{};
  if (!GetObjectW(picture, sizeof(section), &section) || !section.dsBm.bmBits) return {};
  const auto* bits = static_cast<const std::uint32_t*>(section.dsBm.bmBits);
  const int stride = ((size + 15) / 16) * 2;
  std::vector<BYTE> rows(static_cast<std::size_t>(stride) * size, 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if ((bits[y * size + x] >> 24) < 128) rows[y * stride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
    }
  }
  return ScopedBitmap(CreateBitmap(size, size, 1, 1, rows.data()));
}

}  // namespace

ScopedBitmap DrawLogo() { return Compose(kLogoWidth, kLogoHeight, Logo); }
ScopedBitmap DrawContactPicture() { return Compose(kButtonPictureSize, kButtonPictureSize, Contact); }
ScopedBitmap DrawHomePagePicture() { return Compose(kButtonPictureSize, kButtonPictureSize, HomePage); }

ScopedImageList CreateStateImages() {
  ScopedImageList list(ImageList_Create(kStatePictureSize, kStatePictureSize, ILC_COLOR32 | ILC_MASK, 4, 0));
  if (!list) return list;
  for (const Drawing& drawing : {Drawing(Check), Drawing(Cross), Drawing(Landscape), Drawing(UpArrow)}) {
    ScopedBitmap picture = Compose(kStatePictureSize, kStatePictureSize, drawing);
    ScopedBitmap mask = MaskFromAlpha(picture.Get(), kStatePictureSize);
    ImageList_Add(list.Get(), picture.Get(), mask.Get());
  }
  return list;
}

void DrawWithAlpha(HDC dc, HBITMAP bitmap, int x, int y) {
  DIBSECTION section{};
  if (!GetObjectW(bitmap, sizeof(section), &section) || !section.dsBm.bmBits) return;
  const int width = section.dsBm.bmWidth;
  const int height = section.dsBm.bmHeight;
  // AlphaBlend wants premultiplied colours.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  ScopedBitmap premultiplied(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bits) return;
  const auto* from = static_cast<const std::uint32_t*>(section.dsBm.bmBits);
  auto* to = static_cast<std::uint32_t*>(bits);
  for (int i = 0; i < width * height; ++i) {
    const std::uint32_t p = from[i];
    const std::uint32_t a = p >> 24;
    const auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    to[i] = (a << 24) | (scale((p >> 16) & 0xFF) << 16) | (scale((p >> 8) & 0xFF) << 8) | scale(p & 0xFF);
  }
  ScopedMemoryDc source(CreateCompatibleDC(dc));
  SelectGuard select(source.Get(), premultiplied.Get());
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc, x, y, width, height, source.Get(), 0, 0, width, height, blend);
}

}  // namespace lumatrel::win
