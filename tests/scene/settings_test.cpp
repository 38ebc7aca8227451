#include "scene/Settings.h"

#include <gtest/gtest.h>

#include "scene/MemoryFiles.h"
#include "support/TempDir.h"

namespace zirvo {
namespace {

constexpr ScreenSize kScreen{1024, 768};

class SettingsFile : public ::testing::Test {
 protected:
  // Reads `content` as the settings file; the result of ReadSettings.
  int Read(const std::string& content) {
    settings = Settings{};
    return ReadSettings(dir.Write("zirvo.ini", content), kScreen, settings, &diag);
  }

  testing::TempDir dir;
  Settings settings;
  Diagnostics diag;
};

TEST_F(SettingsFile, EmptyOrCommentsOnlyGivesThePhysicalScreenUnscaled) {
  ASSERT_EQ(Read("just a comment\n\n"), 1);
  EXPECT_EQ(settings.VirtWidth, 1024);
  EXPECT_EQ(settings.VirtHeight, 768);
  EXPECT_EQ(settings.Scaling, 0);
  EXPECT_EQ(settings.BufferNodes, 65536u);
  EXPECT_EQ(settings.WaitCount, 0u);
}

TEST_F(SettingsFile, ScreenKeyInAnyCase) {
  ASSERT_EQ(Read("Screen=800X600\n"), 1);
  EXPECT_EQ(settings.VirtWidth, 800);
  EXPECT_EQ(settings.VirtHeight, 600);
  EXPECT_EQ(settings.Scaling, 1);
  ASSERT_EQ(Read("screen= 640x 480 pixels\n"), 1);
  EXPECT_EQ(settings.VirtWidth, 640);
  EXPECT_EQ(settings.VirtHeight, 480);
}

TEST_F(SettingsFile, ZeroStandsForThePhysicalSizeAndEqualSizeIsNeverScaled) {
  ASSERT_EQ(Read("screen=0x480\n"), 1);
  EXPECT_EQ(settings.VirtWidth, 1024);
  EXPECT_EQ(settings.VirtHeight, 480);
  EXPECT_EQ(settings.Scaling, 1);
  ASSERT_EQ(Read("scale=y\nscreen=1024x768\n"), 1);
  EXPECT_EQ(settings.Scaling, 0);
}

TEST_F(SettingsFile, ScreenNeedsTwoNumbersWithTheXRightAfterTheFirst) {
  for (const char* bad : {"screen=640 x 480\n", "screen=\n", "screen=640\n", "screen=640x\n"}) {
    diag = Diagnostics{};
    EXPECT_EQ(Read(std::string("wait=7\n") + bad), 0) << bad;
    // Lines before the rejected one keep their effect.
    EXPECT_EQ(settings.WaitCount, 7u);
    ASSERT_EQ(diag.notes.size(), 1u);
    EXPECT_EQ(diag.notes[0].code, NoteCode::kScreenNeedsTwo);
    EXPECT_EQ(diag.notes[0].line, 2u);
  }
}

TEST_F(SettingsFile, BlankBeforeTheEqualsMakesAnUnknownKey) {
  ASSERT_EQ(Read("screen = 640x480\n"), 1);
  EXPECT_EQ(settings.VirtWidth, 1024);
  ASSERT_EQ(diag.notes.size(), 1u);
  EXPECT_EQ(diag.notes[0].code, NoteCode::kBlankBeforeEquals);
  EXPECT_EQ(diag.notes[0].text, "screen = 640x480");
}

TEST_F(SettingsFile, ScaleLetters) {
  ASSERT_EQ(Read("screen=640x480\nscale=Yes\n"), 1);
  EXPECT_EQ(settings.Scaling, 1);
  EXPECT_EQ(settings.UniformScale, 0);
  ASSERT_EQ(Read("screen=640x480\nscale= uniform\n"), 1);
  EXPECT_EQ(settings.Scaling, 1);
  EXPECT_EQ(settings.UniformScale, 1);
  ASSERT_EQ(Read("screen=640x480\nscale=u\nscale=no\n"), 1);
  EXPECT_EQ(settings.Scaling, 0);
  EXPECT_EQ(settings.UniformScale, 1);
  ASSERT_EQ(Read("screen=640x480\nscale=n\nscale=\n"), 1);
  EXPECT_EQ(settings.Scaling, 1);
  EXPECT_EQ(Read("scale=x\nwait=5\n"), 0);
  EXPECT_EQ(settings.WaitCount, 0u);  // the lines after a rejection are not read
  EXPECT_EQ(diag.notes.back().code, NoteCode::kScaleLetter);
}

TEST_F(SettingsFile, BufferIsBlocksOf65536UpTo4096) {
  ASSERT_EQ(Read("buffer=4096\n"), 1);
  EXPECT_EQ(settings.BufferNodes, 268435456u);
  ASSERT_EQ(Read("buffer=0\n"), 1);
  EXPECT_EQ(settings.BufferNodes, 0u);
  EXPECT_EQ(Read("buffer=4097\n"), 0);
  EXPECT_EQ(diag.notes.back().code, NoteCode::kBufferTooBig);
  EXPECT_EQ(Read("buffer=-1\n"), 0);  // 4294967295 as the C library reads it
  EXPECT_EQ(Read("buffer=lots\n"), 0);
  EXPECT_EQ(diag.notes.back().code, NoteCode::kBufferNotNumber);
}

TEST_F(SettingsFile, WaitTakesAnyUnsignedNumber) {
  ASSERT_EQ(Read("wait=250 reps\n"), 1);
  EXPECT_EQ(settings.WaitCount, 250u);
  ASSERT_EQ(Read("wait=99999999999\n"), 1);
  EXPECT_EQ(settings.WaitCount, 4294967295u);
  EXPECT_EQ(Read("wait=\n"), 0);
  EXPECT_EQ(diag.notes.back().code, NoteCode::kWaitNotNumber);
}

TEST_F(SettingsFile, LastLineWinsAndCarriageReturnsAreHarmless) {
  ASSERT_EQ(Read("wait=1\r\nwait=2\r\nscale=\r\nscreen=320x200\r\n"), 1);
  EXPECT_EQ(settings.WaitCount, 2u);
  EXPECT_EQ(settings.VirtWidth, 320);
  EXPECT_EQ(settings.Scaling, 1);
  EXPECT_TRUE(diag.notes.empty());
}

TEST_F(SettingsFile, MissingFileFails) {
  EXPECT_EQ(ReadSettings(dir.PathOf("absent.ini"), kScreen, settings, &diag), 0);
  ASSERT_EQ(diag.notes.size(), 1u);
  EXPECT_EQ(diag.notes[0].code, NoteCode::kCannotOpen);
}

TEST_F(SettingsFile, AReadErrorFailsInsteadOfPassingForAnEmptyFile) {
  MemoryFiles opener;
  opener.PutUnreadable("zirvo.ini");
  EXPECT_EQ(ReadSettings("zirvo.ini", kScreen, settings, &diag, opener), 0);
  ASSERT_EQ(diag.notes.size(), 1u);
  EXPECT_EQ(diag.notes[0].code, NoteCode::kReadError);
}

TEST_F(SettingsFile, LinesAreReadInPiecesOf255) {
  // 255 characters of comment, then "wait=9" on the same line: the second
  // piece begins at character 256 and is read as a line of its own.
  const std::string line = std::string(255, '#') + "wait=9\n";
  ASSERT_EQ(Read(line), 1);
  EXPECT_EQ(settings.WaitCount, 9u);
  ASSERT_EQ(diag.notes.size(), 1u);
  EXPECT_EQ(diag.notes[0].code, NoteCode::kLongLine);
  EXPECT_EQ(diag.notes[0].line, 1u);
  EXPECT_EQ(diag.notes[0].text, "wait=9");
}

TEST_F(SettingsFile, TextStopsAtANulByte) {
  ASSERT_EQ(Read(std::string("wait=12\0"
                             "3\nbuffer=1\0=7\n",
                             22)),
            1);
  EXPECT_EQ(settings.WaitCount, 12u);
  EXPECT_EQ(settings.BufferNodes, 65536u);
}

}  // namespace
}  // namespace zirvo
