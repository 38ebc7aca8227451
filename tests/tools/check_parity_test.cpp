// zirvo-check's Windows reading, run here in-process: the load with Windows
// paths (the settings file looked for beside "C:\Zirvo\zirvo-check.exe" and
// replaced by --settings, backslashes and drives), on the broken scenes written
// with CR LF line ends as files on Windows have them, gives the very report
// the Linux reading gives on the same scenes with LF. zirvo-check.exe itself
// is compared with the Linux tool under Wine (tests/wine).
#include <gtest/gtest.h>

#include <string>

#include "BrokenScenes.h"
#include "check/CheckResult.h"
#include "check/RunCheck.h"
#include "support/TempDir.h"

namespace zirvo::testing {
namespace {

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n')
      out += '\r';
    out += c;
  }
  return out;
}

struct Reading {
  int status = -1;
  std::string report;
};

Reading Read(const TempDir& dir, PathStyle style, const std::string& programPath) {
  tools::CheckOptions options;
  options.scene = dir.PathOf("scene.zrv");
  options.settings = dir.PathOf("settings.ini");
  const tools::CheckResult result = tools::RunCheck(options, programPath, style);
  return Reading{result.ExitStatus(), tools::HumanReport(result)};
}

// The broken scene `b` in `dir`, its lines ending as `lineEnd` makes them.
void WriteCase(const TempDir& dir, const BrokenScene& b,
               std::string (*lineEnd)(const std::string&)) {
  std::filesystem::remove(dir.path() / "scene.zrv");
  if (b.scene != nullptr)
    dir.Write("scene.zrv", lineEnd(b.scene));
  dir.Write("settings.ini", lineEnd(b.settings != nullptr ? b.settings : kBrokenScenesSettings));
}

std::string AsIs(const std::string& text) {
  return text;
}

TEST(CheckParity, TheWindowsReadingOfCrLfFilesGivesTheLinuxReport) {
  TempDir lfDir;
  TempDir crlfDir;
  for (const BrokenScene& b : BrokenScenes()) {
    SCOPED_TRACE(b.name);
    WriteCase(lfDir, b, &AsIs);
    WriteCase(crlfDir, b, &WithCrLf);
    const Reading onLinux = Read(lfDir, PathStyle::kPosix, "/usr/bin/zirvo-check");
    const Reading onWindows = Read(crlfDir, PathStyle::kWindows, "C:\\Zirvo\\zirvo-check.exe");
    EXPECT_EQ(onLinux.status, b.status);
    EXPECT_NE(onLinux.report.find(b.where), std::string::npos) << onLinux.report;
    EXPECT_EQ(onWindows.status, onLinux.status);
    // The same words, but for the folder the files are in.
    std::string expected = onLinux.report;
    for (std::size_t at = expected.find(lfDir.path().string()); at != std::string::npos;
         at = expected.find(lfDir.path().string(), at + 1)) {
      expected.replace(at, lfDir.path().string().size(), crlfDir.path().string());
    }
    EXPECT_EQ(onWindows.report, expected);
  }
}

TEST(CheckParity, LfFilesReadTheSameOnWindows) {
  // Files copied from Linux keep their LF line ends.
  TempDir dir;
  for (const BrokenScene& b : BrokenScenes()) {
    SCOPED_TRACE(b.name);
    WriteCase(dir, b, &AsIs);
    const Reading onLinux = Read(dir, PathStyle::kPosix, "/usr/bin/zirvo-check");
    const Reading onWindows = Read(dir, PathStyle::kWindows, "C:\\Zirvo\\zirvo-check.exe");
    EXPECT_EQ(onWindows.status, onLinux.status);
    EXPECT_EQ(onWindows.report, onLinux.report);
  }
}

}  // namespace
}  // namespace zirvo::testing
