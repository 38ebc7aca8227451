// The full path of the running program as Windows knows it, however long;
// empty when Windows cannot tell. For the programs beside zirvo.exe (zirvo.exe
// itself reads its path from its command line).
#pragma once

#include "platform/win32/WinApi.h"

#include <string>
#include <vector>

namespace zirvo::win32 {

inline std::string ModulePath() {
  // GetModuleFileNameA truncates silently; a full buffer means: try larger.
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0)
      return {};
    if (length < buffer.size())
      return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace zirvo::win32
