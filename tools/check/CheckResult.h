// What zirvo-check found: the load's outcome and notes, the values as loaded,
// and the end of the show.
#pragma once

#include <cstddef>
#include <string>

#include "check/ShowEnd.h"
#include "scene/Diagnostics.h"
#include "scene/LoadFiles.h"

namespace zirvo::tools {

struct CheckResult {
  std::string scene;         // as the user named it
  std::string settingsPath;  // where the settings were read from
  bool loads = false;
  Diagnostics diag;
  LoadedScene loaded;
  ShowEnd end;  // only when `loads`

  std::size_t Count(Severity severity) const {
    std::size_t count = 0;
    for (const Note& note : diag.notes)
      count += note.severity == severity ? 1 : 0;
    return count;
  }
  // 0 loads cleanly, 1 loads with warnings, 2 does not load.
  int ExitStatus() const {
    if (!loads)
      return 2;
    return Count(Severity::kWarning) > 0 ? 1 : 0;
  }
};

// The report for a person: the notes like a compiler's, the verdict, the screen,
// the kinds as a table and the end of the show.
std::string HumanReport(const CheckResult& result);

// The same for machines, as one JSON object.
std::string JsonReport(const CheckResult& result);

}  // namespace zirvo::tools
