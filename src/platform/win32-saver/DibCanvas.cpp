#include "platform/win32-saver/DibCanvas.h"

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
    : dc_(dc),
      bitmap_(bitmap),
      previous_(previous),
      bits_(bits),
      width_(width),
      height_(height),
      left_(width),
      top_(height) {}

DibSurface::~DibSurface() {
  SelectObject(dc_, previous_);
  DeleteDC(dc_);
  DeleteObject(bitmap_);
}

void DibSurface::Touch(const Rect& rect) {
  left_ = std::min(left_, rect.x);
  top_ = std::min(top_, rect.y);
  right_ = std::max(right_, rect.x + rect.width);
  bottom_ = std::max(bottom_, rect.y + rect.height);
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
  Touch(box);
}

void DibSurface::Changed(const Rect& rect) {
  GdiFlush();
  const Rect box = Intersect(rect, Rect{0, 0, width_, height_});
  if (!box.Empty())
    Touch(box);
}

void DibSurface::Present(HDC target) {
  if (right_ <= left_ || bottom_ <= top_)
    return;
  BitBlt(target, left_, top_, right_ - left_, bottom_ - top_, dc_, left_, top_, SRCCOPY);
  left_ = width_;
  top_ = height_;
  right_ = 0;
  bottom_ = 0;
}

void DibSurface::Copy(HDC target, const RECT& rect) const {
  BitBlt(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, dc_,
         rect.left, rect.top, SRCCOPY);
}

void AreaCanvas::PaintBanner() {
  Clear();
  HDC dc = surface_.Dc();
  const int saved = SaveDC(dc);
  SetTextColor(dc, kBannerColour);
  SetBkMode(dc, TRANSPARENT);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  RECT rect{area_.x, area_.y, area_.x + area_.width, area_.y + area_.height};
  rect.top += BannerTop(area_.height, metrics.tmHeight + metrics.tmExternalLeading);
  // Drawn within the area: a long line is cut at its edges, not spilled onto
  // the monitor beside it.
  IntersectClipRect(dc, area_.x, area_.y, area_.x + area_.width, area_.y + area_.height);
  DrawTextA(dc, kBannerText, -1, &rect, DT_CENTER);
  RestoreDC(dc, saved);
  surface_.Changed(area_);
}

}  // namespace zirvo::scr
