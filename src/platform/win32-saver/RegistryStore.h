// The saver's settings in the registry: values under one key of
// HKEY_CURRENT_USER. Text values are REG_SZ (REG_EXPAND_SZ is read with its
// variables expanded), numbers REG_DWORD; any other type reads as missing.
#pragma once

#include "platform/win32/WinApi.h"

#include "platform/win32-saver/ScrSettings.h"

namespace zirvo::scr {

class RegistryStore final : public SettingsStore {
 public:
  explicit RegistryStore(const char* keyPath = kSettingsKey) : keyPath_(keyPath) {}

  std::optional<std::string> Text(const char* name) override;
  std::optional<std::uint32_t> Number(const char* name) override;
  bool SetText(const char* name, const std::string& value) override;
  bool SetNumber(const char* name, std::uint32_t value) override;

 private:
  // The value's type and bytes; false when the key or the value is missing.
  bool Query(const char* name, DWORD& type, std::string& bytes);
  bool Set(const char* name, DWORD type, const void* data, DWORD size);

  const char* keyPath_;
};

}  // namespace zirvo::scr
