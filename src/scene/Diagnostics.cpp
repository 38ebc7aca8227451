#include "scene/Diagnostics.h"

#include <algorithm>

namespace zirvo {

bool Diagnostics::HasErrors() const {
  return std::any_of(notes.begin(), notes.end(),
                     [](const Note& n) { return n.severity == Severity::kError; });
}

bool Diagnostics::HasWarnings() const {
  return std::any_of(notes.begin(), notes.end(),
                     [](const Note& n) { return n.severity == Severity::kWarning; });
}

}  // namespace zirvo
