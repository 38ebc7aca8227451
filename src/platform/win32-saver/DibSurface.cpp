#include "platform/win32-saver/DibSurface.h"

#include <algorithm>

#include "app/Banner.h"

namespace zirvo::scr {

namespace {

constexpr ::COLORREF kBannerColour = 0x0080FF80;

}  // namespace

std::unique_ptr<DibSurface> DibSurface::Create(std::int32_t width, std::int32_t height) {
  if (width <= 0 || height <= 0)
    return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows top to bottom
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr)
    return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) {
    DeleteObject(bitmap);
    return nullptr;
  }
  HGDIOBJ previous = SelectObject(dc, bitmap);
  std::unique_ptr<DibSurface> surface(
      new DibSurface(dc, bitmap, previous, static_cast<std::uint32_t*>(bits), width, height));
  surface->Fill(Rect{0, 0, width, height}, 0);
  return surface;
}

DibSurface::DibSurface(HDC dc, HBITMAP bitmap, HGDIOBJ previous, std::uint32_t* bits,
                       std::int32_t width, std::int32_t height)
    : dc_(dc), bitmap_(bitmap), previous_(previous), bits_(bits), width_(width), height_(height) {}

DibSurface::~DibSurface() {
  SelectObject(dc_, previous_);
  DeleteDC(dc_);
  DeleteObject(bitmap_);
}

void DibSurface::Fill(const Rect& rect, zirvo::COLORREF colour) {
  const Rect box = Intersect(rect, Rect{0, 0, width_, height_});
  if (box.Empty())
    return;
  GdiFlush();  // nothing GDI still has queued may land on top afterwards
  const std::uint32_t pixel = ToDibPixel(colour);
  for (std::int32_t y = box.y; y < box.y + box.height; ++y) {
    std::uint32_t* row = bits_ + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    std::fill(row + box.x, row + box.x + box.width, pixel);
  }
  changed_.Add(box);
}

void DibSurface::Changed(const Rect& rect) {
  GdiFlush();
  const Rect box = Intersect(rect, Rect{0, 0, width_, height_});
  changed_.Add(box);
}

void DibSurface::Present(HDC target) {
  const Rect box = changed_.Take();
  if (box.Empty())
    return;
  BitBlt(target, box.x, box.y, box.width, box.height, dc_, box.x, box.y, SRCCOPY);
}

void DibSurface::Copy(HDC target, const RECT& rect) const {
  BitBlt(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, dc_,
         rect.left, rect.top, SRCCOPY);
}

void DibSurface::PaintBanner(const Rect& area) {
  Fill(area, kBlack);
  HDC dc = dc_;
  const int saved = SaveDC(dc);
  SetTextColor(dc, kBannerColour);
  SetBkMode(dc, TRANSPARENT);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  RECT rect{area.x, area.y, area.x + area.width, area.y + area.height};
  rect.top += BannerTop(area.height, metrics.tmHeight + metrics.tmExternalLeading);
  // Drawn within the area: a long line is cut at its edges, not spilled onto
  // the monitor beside it.
  IntersectClipRect(dc, area.x, area.y, area.x + area.width, area.y + area.height);
  DrawTextA(dc, kBannerText, -1, &rect, DT_CENTER);
  RestoreDC(dc, saved);
  Changed(area);
}

}  // namespace zirvo::scr
