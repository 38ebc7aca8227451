// zirvo-check run as a process on real files: the verdict, the line that
// stopped a load, the warnings with their lines, the kinds as loaded and the
// end of the show, for people and (checked with jq) for machines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BrokenScenes.h"
#include "ToolRun.h"
#include "support/TempDir.h"

namespace zirvo::testing {
namespace {

const std::string kCheck = ZIRVO_CHECK_PATH;
const char* const kSettings = kBrokenScenesSettings;

class CheckRun : public ::testing::Test {
 protected:
  void SetUp() override { dir.Write("settings.ini", kSettings); }

  ToolOutput Check(const std::string& scene, std::vector<std::string> extra = {}) {
    std::vector<std::string> args{"--settings", "settings.ini"};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(scene);
    return RunTool(kCheck, args, dir.path());
  }
  // Runs the check with --json and asks jq whether `filter` holds.
  bool JsonHolds(const std::string& scene, const std::string& filter) {
    if (std::string(ZIRVO_JQ_PATH).empty()) {
      ADD_FAILURE() << "jq is needed to read the JSON report (apt-get install jq)";
      return false;
    }
    const ToolOutput report = Check(scene, {"--json"});
    dir.Write("report.json", report.out);
    const ToolOutput jq = RunTool(ZIRVO_JQ_PATH, {"-e", filter, "report.json"}, dir.path());
    if (jq.status != 0)
      ADD_FAILURE() << filter << "\n" << report.out << jq.err;
    return jq.status == 0;
  }

  TempDir dir;
};

TEST_F(CheckRun, BrokenScenesGiveVerdictLineAndReason) {
  for (const BrokenScene& b : BrokenScenes()) {
    SCOPED_TRACE(b.name);
    std::filesystem::remove(dir.path() / "scene.zrv");
    if (b.scene != nullptr)
      dir.Write("scene.zrv", b.scene);
    dir.Write("settings.ini", b.settings != nullptr ? b.settings : kSettings);

    const ToolOutput human = Check("scene.zrv");
    EXPECT_EQ(human.status, b.status) << human.out << human.err;
    EXPECT_NE(human.out.find(b.where), std::string::npos) << human.out;
    EXPECT_NE(human.out.find(b.status == 2 ? "does not load" : "loads, with"), std::string::npos)
        << human.out;

    EXPECT_TRUE(JsonHolds("scene.zrv", std::string(".loads == ") +
                                           (b.status == 2 ? "false" : "true") +
                                           " and any(.notes[]; .code == \"" + b.code + "\")"));
  }
}

TEST_F(CheckRun, TheStoppingLineIsQuotedUnderItsReason) {
  dir.Write("scene.zrv", "nv=100\n\nc=3\nscale=q\nnv=7\n");
  const ToolOutput out = Check("scene.zrv");
  EXPECT_EQ(out.status, 2);
  // The note, then the line itself, then the verdict naming the line again.
  const auto note = out.out.find("scene.zrv:4: error:");
  ASSERT_NE(note, std::string::npos) << out.out;
  EXPECT_NE(out.out.find("\n    scale=q\n", note), std::string::npos) << out.out;
  EXPECT_NE(out.out.find("does not load: scene.zrv line 4 (\"scale=q\")"), std::string::npos)
      << out.out;
  EXPECT_TRUE(JsonHolds("scene.zrv", R"(.error | .line == 4 and .text == "scale=q" and
                                         .code == "scale-letter")"));
}

TEST_F(CheckRun, ACleanSceneShowsItsKindsAndWhenTheShowEnds) {
  dir.Write("scene.zrv",
            "start=2\nstop=30\nn=4\nnv=500\nbs=100\ndt=3\nc=12\npx=10\npy=20\nv=5\n\n"
            "stop=12\nc=a\nm=1\nd=1\n");
  const ToolOutput out = Check("scene.zrv");
  EXPECT_EQ(out.status, 0) << out.out;
  EXPECT_NE(out.out.find("loads without warnings"), std::string::npos) << out.out;
  EXPECT_NE(out.out.find("virtual 640x480 on physical 1024x768, scaled uniformly"),
            std::string::npos)
      << out.out;
  EXPECT_NE(out.out.find("at 31 s at the earliest"), std::string::npos) << out.out;
  EXPECT_NE(out.out.find("(10, 20)"), std::string::npos) << out.out;
  EXPECT_NE(out.out.find("random per swirl"), std::string::npos) << out.out;

  // The values as the block's end left them: p from bs, v / 10000 and negated
  // for d=1, the default centre from the 640x480 virtual screen.
  EXPECT_TRUE(JsonHolds("scene.zrv", R"(.kinds | length == 2 and
      (.[0] | .start == 2 and .stop == 30 and .n == 4 and .p == 100 and .nv == 500 and
              .bs == 100 and .dt == 3 and .colour == "red" and .v == 0.0005 and
              .start_point == {"x": 10, "y": 20} and .target == {"x": null, "y": null}) and
      (.[1] | .m == 1 and .colour_mode == "per-swirl" and .v == -0.0005 and .bs == 3000))"));
  EXPECT_TRUE(JsonHolds("scene.zrv", R"(.end | .ends and .earliest_seconds == 31 and .kind == 1)"));

  EXPECT_TRUE(JsonHolds("scene.zrv", ".warnings == 0 and .notes == []"));
}

TEST_F(CheckRun, ShowsThatNeverEndTellWhichKindAndWhy) {
  const std::pair<const char*, const char*> kNever[] = {
      {"stop=10\n\nnv=5\n", "kind 2 has no stop time"},
      {"stop=10\ndt=-1\n", "kind 1 has dt=-1"},
      // A negative n is no limit, so these swirls launch and then wait for ever.
      {"n=-3\nstop=10\ndt=-1\n", "kind 1 has dt=-1"},
      {"stop=10\n\nstart=9\nstop=3\n", "kind 2 starts (start=9) after it stops (stop=3)"},
  };
  for (const auto& [scene, why] : kNever) {
    SCOPED_TRACE(scene);
    dir.Write("scene.zrv", scene);
    const ToolOutput out = Check("scene.zrv");
    EXPECT_NE(out.out.find(std::string("end: never: ") + why), std::string::npos) << out.out;
    EXPECT_TRUE(JsonHolds("scene.zrv", ".end.ends == false and .end.earliest_seconds == null"));
  }
  dir.Write("scene.zrv", "");
  EXPECT_NE(Check("scene.zrv").out.find("no kinds of swirl"), std::string::npos);
}

TEST_F(CheckRun, TheScreenOptionChangesTheMapping) {
  dir.Write("scene.zrv", "nv=5\nstop=1\n");
  const ToolOutput out = Check("scene.zrv", {"--screen", "640x480"});
  EXPECT_EQ(out.status, 0) << out.out;
  EXPECT_NE(out.out.find("virtual 640x480 on physical 640x480, not scaled"), std::string::npos)
      << out.out;
  const ToolOutput bad = Check("scene.zrv", {"--screen", "big"});
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("--screen"), std::string::npos);
}

TEST_F(CheckRun, JsonStaysValidForAnyBytesInALine) {
  dir.Write("scene.zrv", std::string("nv=5\n\"q\\\x01\xff\xc3\xa9=1\n"));
  EXPECT_TRUE(JsonHolds(
      "scene.zrv",
      ".notes[] | select(.code == \"unknown-key\") | .line == 2 and .text == \"\\\"q\\\\\\u0001"
      "\\u00ffé=1\""));
}

}  // namespace
}  // namespace zirvo::testing
