// What the readers tell a scene writer: the line, its text and the code of
// each note, for files that load but probably not as meant, and for the line
// that stops a load.
#include <gtest/gtest.h>

#include "scene/SceneFile.h"
#include "support/TempDir.h"

namespace zirvo {
namespace {

class SceneNotes : public ::testing::Test {
 protected:
  SceneNotes() {
    settings.VirtWidth = 640;
    settings.VirtHeight = 480;
  }

  int Read(const std::string& content) {
    std::string path = dir.Write("scene.zrv", content);
    return ReadSceneFile(path, settings, specs, &diag);
  }

  // The notes of one code, as (line, text) pairs.
  std::vector<std::pair<std::uint32_t, std::string>> Of(NoteCode code) const {
    std::vector<std::pair<std::uint32_t, std::string>> found;
    for (const Note& n : diag.notes) {
      if (n.code == code)
        found.emplace_back(n.line, n.text);
    }
    return found;
  }

  using Lines = std::vector<std::pair<std::uint32_t, std::string>>;

  testing::TempDir dir;
  Settings settings;
  SpecTable specs;
  Diagnostics diag;
};

TEST_F(SceneNotes, AWellWrittenSceneOnlyHearsThatItNeverEnds) {
  ASSERT_EQ(Read("; a comment\nnv=100\nbs=50\nstop=30\n\nNV=200\n"), 1);
  ASSERT_EQ(diag.notes.size(), 1u);
  EXPECT_EQ(diag.notes[0].severity, Severity::kInfo);
  EXPECT_EQ(diag.notes[0].code, NoteCode::kNeverEnds);
  EXPECT_EQ(diag.notes[0].line, 6u);
  EXPECT_EQ(diag.notes[0].text, "NV=200");  // as written, not lower-cased
  EXPECT_FALSE(diag.HasWarnings());
}

TEST_F(SceneNotes, LineLevelMistakes) {
  ASSERT_EQ(Read("stop=9\n"     // 1
                 "nv =100\n"    // 2 blank before =
                 "colour=4\n"   // 3 unknown key
                 "a=big\n"      // 4 not a number
                 "c=16\n"       // 5 colour index
                 "m=2\n"        // 6 m other than 1
                 "px=10\n"      // 7
                 "px=r\n"       // 8 r after a number
                 "fx=\n"        // 9 empty target fixes it
                 "nn=0\n"       // 10 zero angle step
                 "  bs=40\n"),  // 11 indented key
            1);
  EXPECT_EQ(Of(NoteCode::kBlankBeforeEquals), (Lines{{2, "nv =100"}}));
  EXPECT_EQ(Of(NoteCode::kUnknownKey), (Lines{{3, "colour=4"}}));
  EXPECT_EQ(Of(NoteCode::kNotANumber), (Lines{{4, "a=big"}}));
  EXPECT_EQ(Of(NoteCode::kColourIndex), (Lines{{5, "c=16"}}));
  EXPECT_EQ(Of(NoteCode::kMNotOne), (Lines{{6, "m=2"}}));
  EXPECT_EQ(Of(NoteCode::kRandomAfterNumber), (Lines{{8, "px=r"}}));
  EXPECT_EQ(Of(NoteCode::kEmptyValueFixes), (Lines{{9, "fx="}}));
  EXPECT_EQ(Of(NoteCode::kZeroAngleStep), (Lines{{10, "nn=0"}}));
  EXPECT_EQ(Of(NoteCode::kIndentedKey), (Lines{{11, "  bs=40"}}));
  EXPECT_EQ(diag.notes.size(), 9u);
}

TEST_F(SceneNotes, KindsThatNeverLaunchOrNeverEnd) {
  ASSERT_EQ(Read("n=0\nstop=5\n\n"           // 1-3
                 "start=20\nstop=10\n\n"     // 4-6
                 "dt=-1\nstop=5\n\n"         // 7-9
                 "n=800\nstop=5\n\n"         // 10-12
                 "nv=10\nbs=20\nstop=5\n\n"  // 13-16
                 "nv=0\nstop=5\n\n"          // 17-19
                 "n=-3\nstop=5\n\n"          // 20-22
                 "stop=4294967295\n"),       // 23
            1);
  EXPECT_EQ(Of(NoteCode::kNeverLaunches), (Lines{{1, "n=0"}}));
  EXPECT_EQ(Of(NoteCode::kStartAfterStop), (Lines{{4, "start=20"}}));
  EXPECT_EQ(Of(NoteCode::kNegativeDt), (Lines{{7, "dt=-1"}}));
  EXPECT_EQ(Of(NoteCode::kNAbove500), (Lines{{10, "n=800"}}));
  EXPECT_EQ(Of(NoteCode::kBsAboveNv), (Lines{{14, "bs=20"}}));
  EXPECT_EQ(Of(NoteCode::kZeroCount), (Lines{{17, "nv=0"}}));
  // A negative n sets no limit: the kind launches, so it is not told as never launching.
  EXPECT_EQ(Of(NoteCode::kNoLaunchLimit), (Lines{{20, "n=-3"}}));
  // The clock's last second is never passed, like a stop of 0.
  EXPECT_EQ(Of(NoteCode::kNeverEnds), (Lines{{23, "stop=4294967295"}}));
}

TEST_F(SceneNotes, DirectionCarriedIsToldOnceAtTheFirstBlockThatInheritsIt) {
  ASSERT_EQ(Read("d=1\nstop=1\n\nstop=1\n\nstop=1\n\nd=0\nstop=1\n\nd=1\nstop=1\n\nstop=2\n"), 1);
  EXPECT_EQ(Of(NoteCode::kDirectionCarried), (Lines{{4, "stop=1"}, {14, "stop=2"}}));
}

TEST_F(SceneNotes, TheFiftyFirstBlockIsToldWhereItBegins) {
  std::string text;
  for (int i = 0; i < 51; ++i)
    text += "stop=1\n\n";
  ASSERT_EQ(Read(text), 1);
  EXPECT_EQ(Of(NoteCode::kBlockIgnored), (Lines{{101, "stop=1"}}));
}

TEST_F(SceneNotes, TheLineThatStopsTheLoad) {
  EXPECT_EQ(Read("stop=1\n\n# scale next\nscale=q\nnv=5\n"), 0);
  ASSERT_FALSE(diag.notes.empty());
  const Note& last = diag.notes.back();
  EXPECT_EQ(last.severity, Severity::kError);
  EXPECT_EQ(last.code, NoteCode::kScaleLetter);
  EXPECT_EQ(last.line, 4u);
  EXPECT_EQ(last.text, "scale=q");
  EXPECT_NE(last.message.find("scale value must begin with y, u or n"), std::string::npos);
}

TEST_F(SceneNotes, ByteOrderMarkHidesTheFirstKey) {
  ASSERT_EQ(Read("\xEF\xBB\xBFnv=5\nstop=1\n"), 1);
  ASSERT_EQ(Of(NoteCode::kIndentedKey).size(), 1u);
  EXPECT_EQ(Of(NoteCode::kIndentedKey)[0].first, 1u);
  EXPECT_EQ(specs[0].nv, 8192u);
}

TEST_F(SceneNotes, LongLinesKeepTheirPhysicalLineNumber) {
  const std::string longComment(300, '-');
  ASSERT_EQ(Read("stop=1\n" + longComment + "\nbs=9=x\n"), 1);
  EXPECT_EQ(Of(NoteCode::kLongLine), (Lines{{2, std::string(45, '-')}}));
  EXPECT_EQ(specs[0].bs, 9u);
}

}  // namespace
}  // namespace zirvo
