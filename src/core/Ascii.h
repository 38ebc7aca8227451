// ASCII case folding, the only kind the show does: A-Z to a-z, every other
// byte as it is (the Windows build lower-cases its command line, and both
// file readers their lines).
#pragma once

#include <string>

namespace zirvo {

inline void LowerAscii(std::string& text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
}

}  // namespace zirvo
