// The benchmark families, registered at start-up (quick: a few iterations each,
// for CI, whose figures mean nothing).
#pragma once

namespace zirvo::bench {

void RegisterPassBenchmarks(bool quick);
void RegisterPacingBenchmarks(bool quick);

}  // namespace zirvo::bench
