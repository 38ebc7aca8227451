#include "check/RunCheck.h"

#include "check/ShowEnd.h"
#include "report/NoteFormat.h"

namespace zirvo::tools {

CheckResult RunCheck(const CheckOptions& options, const std::string& programPath, PathStyle style) {
  ToolLoad load(programPath, options.scene, options.settings, options.screen, style);
  CheckResult result;
  result.scene = options.scene;
  result.loads = LoadFiles(load.Args(), load.Environment(), result.loaded, &result.diag) == 1;
  load.NameSettingsFile(result.diag, result.loaded);
  SortNotes(result.diag);
  result.settingsPath =
      result.loaded.settingsPath.empty() ? load.SettingsPath() : result.loaded.settingsPath;
  if (result.loads)
    result.end = EstimateShowEnd(result.loaded.specs);
  return result;
}

}  // namespace zirvo::tools
