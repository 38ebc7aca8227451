#include "check/ShowEnd.h"

#include "scene/KindRules.h"

namespace zirvo::tools {

namespace {

std::string KindName(int index) {
  return "kind " + std::to_string(index + 1);
}

// Why kind `index` keeps the show from ever ending, or "" when it does not.
std::string NeverFinishesBecause(const SwirlSpec& kind, int index) {
  if (!NeverFinishes(kind))
    return "";
  if (kind.stop == 0)
    return KindName(index) + " has no stop time (stop=0)";
  if (NeverPastStop(kind)) {
    return KindName(index) + " stops at " + std::to_string(kind.stop) +
           " s, the last second the show's clock can tell";
  }
  if (StartsAfterStop(kind)) {
    return KindName(index) + " starts (start=" + std::to_string(kind.start) +
           ") after it stops (stop=" + std::to_string(kind.stop) + "), so it never becomes active";
  }
  return KindName(index) + " has dt=" + std::to_string(kind.dt) +
         ": its swirls draw one point and never finish";
}

}  // namespace

ShowEnd EstimateShowEnd(const SpecTable& specs) {
  ShowEnd end;
  if (specs.SpecCount == 0) {
    end.ends = true;
    end.explanation = "the scene has no kinds of swirl: the show ends on its first pass";
    return end;
  }
  for (int i = 0; i < specs.SpecCount; ++i) {
    const std::string never = NeverFinishesBecause(specs[i], i);
    if (!never.empty()) {
      end.decidingKind = i + 1;
      end.explanation = "never: " + never;
      return end;
    }
  }
  int latest = 0;
  for (int i = 1; i < specs.SpecCount; ++i) {
    if (specs[i].stop > specs[latest].stop)
      latest = i;
  }
  end.ends = true;
  end.decidingKind = latest + 1;
  end.earliestSeconds = std::uint64_t{specs[latest].stop} + 1;
  end.explanation = "at " + std::to_string(end.earliestSeconds) +
                    " s at the earliest: the latest stop is " + std::to_string(specs[latest].stop) +
                    " s (" + KindName(latest) +
                    "), and the show ends on the first pass after it at which no swirl is "
                    "still drawing";
  return end;
}

}  // namespace zirvo::tools
