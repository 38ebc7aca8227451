// zirvo-check: reads a scene as the program would and says what every line did.
//
// Exit status: 0 loads without warnings; 1 loads with warnings; 2 does not load,
// or the command line was not understood.
#include <cstdio>
#include <string>

#include "check/CheckOptions.h"
#include "check/CheckResult.h"
#include "check/RunCheck.h"
#include "cli/ToolLoad.h"
#include "report/NoteFormat.h"

int main(int argc, char** argv) {
  using namespace zirvo;
  using namespace zirvo::tools;
  const ParsedCheckOptions parsed = ParseCheckOptions(argc, argv);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "zirvo-check: error: %s\n(zirvo-check --help shows the options)\n",
                 Printable(parsed.error).c_str());
    return 2;
  }
  const CheckOptions& options = parsed.options;
  if (options.help) {
    std::fputs(kCheckUsage, stdout);
    return 0;
  }

  const CheckResult result = RunCheck(options, RealProgramPath(argv[0]));
  const std::string report = options.json ? JsonReport(result) : HumanReport(result);
  std::fputs(report.c_str(), stdout);
  return result.ExitStatus();
}
