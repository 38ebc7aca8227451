#include "report/TraceLine.h"

#include <charconv>

namespace zirvo {

void AppendTraceLine(std::string& out, std::int32_t x, std::int32_t y, COLORREF colour) {
  static constexpr char kHex[] = "0123456789abcdef";
  char line[48];
  char* at = std::to_chars(line, line + 12, x).ptr;
  *at++ = ' ';
  at = std::to_chars(at, at + 12, y).ptr;
  *at++ = ' ';
  // COLORREF is 0x00BBGGRR; the trace writes red first.
  for (std::uint8_t channel : {RedOf(colour), GreenOf(colour), BlueOf(colour)}) {
    *at++ = kHex[channel >> 4];
    *at++ = kHex[channel & 0xF];
  }
  *at++ = '\n';
  out.append(line, at);
}

}  // namespace zirvo
