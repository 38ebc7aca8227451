// Whether the show can end by itself, and at the earliest when. The show is
// over on the first pass at which every kind is past its stop time (stop < the
// elapsed whole seconds) and has none of its swirls live; so with every kind
// able to finish, the earliest end is the latest stop + 1 second, and later when
// swirls are still drawing then.
#pragma once

#include <cstdint>
#include <string>

#include "scene/KindTable.h"

namespace zirvo::tools {

struct ShowEnd {
  bool ends = false;
  std::uint64_t earliestSeconds = 0;  // when `ends`
  int decidingKind = 0;               // 1-based kind that decides it; 0 for none
  std::string explanation;            // one line for a person
};

ShowEnd EstimateShowEnd(const SpecTable& specs);

}  // namespace zirvo::tools
