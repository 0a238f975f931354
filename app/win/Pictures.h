// The program's pictures, drawn at run time with GDI into 32-bit bitmaps with alpha: nothing is
// loaded from anywhere.
#pragma once

#include "app/win/ScopedWin.h"

namespace lumatrel::win {

inline constexpr int kLogoWidth = 195;
inline constexpr int kLogoHeight = 66;
inline constexpr int kButtonPictureSize = 64;
inline constexpr int kStatePictureSize = 24;

// Top-down 32-bit DIB sections with straight (not premultiplied) alpha.
ScopedBitmap DrawLogo();
ScopedBitmap DrawContactPicture();
ScopedBitmap DrawHomePagePicture();

// The list's four state pictures in the order of their indexes: check, cross, landscape, arrow.
ScopedImageList CreateStateImages();

// Draws a straight-alpha bitmap over what dc holds, at x, y.
void DrawWithAlpha(HDC dc, HBITMAP bitmap, int x, int y);

}  // namespace lumatrel::win
