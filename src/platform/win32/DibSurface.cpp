#include "platform/win32/DibSurface.h"

namespace sxf {

TDibSurface::TDibSurface(int width, int height) {
  if (width < 1 || height < 1) return;
  const unsigned long long bytes =
      4ULL * static_cast<unsigned>(width) * static_cast<unsigned>(height);
  section_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                static_cast<DWORD>(bytes >> 32),
                                static_cast<DWORD>(bytes & 0xFFFFFFFFu), nullptr);
  // Without a section the picture still draws, on one thread.
  Make(width, height, section_);
  if (!Valid() && section_) {
    CloseHandle(section_);
    section_ = nullptr;
    Make(width, height, nullptr);
  }
}

TDibSurface::TDibSurface(const TDibSurface& whole, int top, int bottom) {
  if (!whole.Valid() || !whole.section_ || top < 0 || top >= bottom || bottom > whole.height_)
    return;
  // Offset 0: the band's bitmap starts at the picture's first row, so GDI's coordinates, brush
  // origins and pattern positions are the whole picture's.
  Make(whole.width_, bottom, whole.section_);
  if (Valid() && IntersectClipRect(dc_, 0, top, width_, bottom) == ERROR) Release();
}

void TDibSurface::Make(int width, int height, HANDLE section) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, section, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    return;
  }
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) {
    DeleteObject(bitmap);
    return;
  }
  bitmap_ = bitmap;
  dc_ = dc;
  oldBitmap_ = SelectObject(dc_, bitmap_);
  bits_ = static_cast<std::uint32_t*>(bits);
  width_ = width;
  height_ = height;
}

void TDibSurface::Release() noexcept {
  if (dc_) {
    if (oldBitmap_) SelectObject(dc_, oldBitmap_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  oldBitmap_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = 0;
}

TDibSurface::~TDibSurface() {
  Release();
  // After the bitmap: its view of the section goes with it.
  if (section_) CloseHandle(section_);
}

const std::uint32_t* TDibSurface::Pixels() const noexcept {
  GdiFlush();
  return bits_;
}

}  // namespace sxf
