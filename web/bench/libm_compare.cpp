// How far the two C libraries' sin, cos and exp (the native build's and the
// WebAssembly module's) agree on arguments like the engine's: writes the
// results of both kinds of call for a fixed stream of arguments, as binary
// doubles, to the file named by argv[1]. libm-compare.sh builds it both ways
// and compares.
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

std::uint64_t state = 88172645463325252ull;

// 0 <= U() < 1, the same stream on every build.
double U() {
  state ^= state << 13;
  state ^= state >> 7;
  state ^= state << 17;
  return static_cast<double>(state >> 11) * (1.0 / 9007199254740992.0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2)
    return 2;
  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr)
    return 1;
  constexpr int kCalls = 2000000;
  for (int i = 0; i < kCalls; ++i) {
    // A swirl's float angle; the tilt phi = k * nn + tilt (large); u * v.
    const float angle = static_cast<float>((U() * 2 - 1) * 6300.0);
    const double phi =
        double(float(int(U() * 7000))) * double(float(U() * 100)) + double(float(U() * 6.283));
    const double u = double(float(-(U() * 7000))) * double(float((U() * 2 - 1) * 0.001));
    const double results[4] = {std::sin(double(angle)), std::cos(double(angle)), std::sin(phi),
                               std::exp(u)};
    std::fwrite(results, sizeof results, 1, out);
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
