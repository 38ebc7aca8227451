#include "support/TempDir.h"

#include <atomic>
#include <fstream>
#include <random>
#include <stdexcept>

namespace zirvo::testing {

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  std::random_device device;
  const auto base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    auto candidate = base / ("zirvo-test-" + std::to_string(device()) + "-" +
                             std::to_string(counter.fetch_add(1)));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& content) const {
  const auto file = path_ / name;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  return file.string();
}

}  // namespace zirvo::testing
