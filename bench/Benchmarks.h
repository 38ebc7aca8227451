// The benchmark families, registered at start-up (quick: a few iterations each,
// for CI, whose figures mean nothing).
#pragma once

namespace zirvo::bench {

void RegisterPassBenchmarks(bool quick);
void RegisterPacingBenchmarks(bool quick);
// The SDL backend's screen and present.
void RegisterSdlScreenBenchmarks(bool quick);
void RegisterSdlPresentBenchmarks(bool quick);

}  // namespace zirvo::bench
