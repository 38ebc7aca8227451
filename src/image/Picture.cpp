#include "image/Picture.h"

namespace zirvo {

Picture::Picture(std::int32_t width, std::int32_t height)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kBlack),
      spans_(static_cast<std::size_t>(height), Span{width, 0}),
      top_(height) {}

void Picture::TakeSetRows(std::vector<RowSpan>& rows) {
  rows.clear();
  for (std::int32_t y = top_; y < bottom_; ++y) {
    Span& span = spans_[static_cast<std::size_t>(y)];
    if (span.left < span.right)
      rows.push_back(RowSpan{y, span.left, span.right});
    span = Span{width_, 0};
  }
  top_ = height_;
  bottom_ = 0;
}

}  // namespace zirvo
