#include "platform/win32-saver/RegistryStore.h"

#include <cstring>
#include <vector>

namespace zirvo::scr {

namespace {

// Closes a key when it goes out of scope.
class Key {
 public:
  Key() = default;
  ~Key() {
    if (key_ != nullptr)
      RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY* Out() { return &key_; }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

std::string Expanded(const std::string& text) {
  const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  if (needed == 0)
    return text;
  std::vector<char> buffer(needed + 1);
  const DWORD length =
      ExpandEnvironmentStringsA(text.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length == 0 || length > buffer.size())
    return text;
  return std::string(buffer.data());
}

}  // namespace

bool RegistryStore::Query(const char* name, DWORD& type, std::string& bytes) {
  Key key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath_, 0, KEY_QUERY_VALUE, key.Out()) != ERROR_SUCCESS)
    return false;
  // The size first; a value that grows in between is asked for again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return false;
    bytes.assign(size, '\0');
    const LONG result = RegQueryValueExA(key.Get(), name, nullptr, &type,
                                         reinterpret_cast<BYTE*>(bytes.data()), &size);
    if (result == ERROR_MORE_DATA)
      continue;
    if (result != ERROR_SUCCESS)
      return false;
    bytes.resize(size);
    return true;
  }
  return false;
}

std::optional<std::string> RegistryStore::Text(const char* name) {
  DWORD type = 0;
  std::string bytes;
  if (!Query(name, type, bytes) || (type != REG_SZ && type != REG_EXPAND_SZ))
    return std::nullopt;
  // The stored terminator, if any, is not part of the text.
  while (!bytes.empty() && bytes.back() == '\0')
    bytes.pop_back();
  if (type == REG_EXPAND_SZ && bytes.find('\0') == std::string::npos)
    return Expanded(bytes);
  return bytes;
}

std::optional<std::uint32_t> RegistryStore::Number(const char* name) {
  DWORD type = 0;
  std::string bytes;
  if (!Query(name, type, bytes) || type != REG_DWORD || bytes.size() != sizeof(std::uint32_t))
    return std::nullopt;
  std::uint32_t value = 0;
  std::memcpy(&value, bytes.data(), sizeof value);
  return value;
}

bool RegistryStore::Set(const char* name, DWORD type, const void* data, DWORD size) {
  Key key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath_, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, key.Out(), nullptr) != ERROR_SUCCESS)
    return false;
  return RegSetValueExA(key.Get(), name, 0, type, static_cast<const BYTE*>(data), size) ==
         ERROR_SUCCESS;
}

bool RegistryStore::SetText(const char* name, const std::string& value) {
  // With its terminator, as REG_SZ values are kept.
  return Set(name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

bool RegistryStore::SetNumber(const char* name, std::uint32_t value) {
  const DWORD data = value;
  return Set(name, REG_DWORD, &data, sizeof data);
}

}  // namespace zirvo::scr
