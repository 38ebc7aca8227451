#include "scene/SceneFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "scene/MemoryFiles.h"
#include "support/TempDir.h"

namespace zirvo {
namespace {

class SceneFile : public ::testing::Test {
 protected:
  SceneFile() {
    settings.VirtWidth = 640;
    settings.VirtHeight = 480;
  }

  int Read(const std::string& content) {
    scenePath = dir.Write("demo", content);
    return ReadSceneFile(scenePath, settings, specs);
  }

  testing::TempDir dir;
  Settings settings;
  SpecTable specs;
  std::string scenePath;
};

TEST_F(SceneFile, BlankLinesSeparateBlocksAndNeverMakeEmptyKinds) {
  ASSERT_EQ(Read("\n\n  \nnv=10\n\n\n\t\nnv=20\n\n"), 1);
  ASSERT_EQ(specs.SpecCount, 2);
  EXPECT_EQ(specs[0].nv, 10u);
  EXPECT_EQ(specs[1].nv, 20u);
}

TEST_F(SceneFile, TheLastBlockNeedsNoBlankLineAfterIt) {
  ASSERT_EQ(Read("nv=10\n\nnv=20"), 1);
  ASSERT_EQ(specs.SpecCount, 2);
  EXPECT_EQ(specs[1].nv, 20u);
}

TEST_F(SceneFile, CommentsNeitherEndNorStartABlock) {
  ASSERT_EQ(Read("a comment\nnv=10\nanother comment\nbs=5\n\nonly a comment\n"), 1);
  ASSERT_EQ(specs.SpecCount, 1);
  EXPECT_EQ(specs[0].nv, 10u);
  EXPECT_EQ(specs[0].bs, 5u);
}

TEST_F(SceneFile, AnIndentedKeyLineEndsTheBlockAndIsIgnored) {
  ASSERT_EQ(Read("nv=10\n  bs=5\nnv=20\n"), 1);
  ASSERT_EQ(specs.SpecCount, 2);
  EXPECT_EQ(specs[0].bs, 10u);  // cut to nv, not 5
  EXPECT_EQ(specs[1].nv, 20u);
}

TEST_F(SceneFile, AnyKeyGivesContentSoATitleOnlyBlockIsAKindWithDefaults) {
  ASSERT_EQ(Read("title=demo\n"), 1);
  ASSERT_EQ(specs.SpecCount, 1);
  const SwirlSpec& k = specs[0];
  EXPECT_EQ(k.a, 200.0f);
  EXPECT_EQ(k.b, 50.0f);
  EXPECT_EQ(k.v, static_cast<float>(5.0 / 10000.0));
  EXPECT_EQ(k.nw, static_cast<float>(TwoPi / 1024.0));
  EXPECT_EQ(k.nn, static_cast<float>(TwoPi / 100.0));
  EXPECT_EQ(k.px, 320);
  EXPECT_EQ(k.fy, 240);
  EXPECT_EQ(k.pxRandom + k.pyRandom + k.fxRandom + k.fyRandom, 4);
  EXPECT_EQ(k.dt, 50);
  EXPECT_EQ(k.nv, 8192u);
  EXPECT_EQ(k.bs, 3000u);
  EXPECT_EQ(k.p, 3000);
  EXPECT_EQ(k.n, 1);
  EXPECT_EQ(k.launchesLeft, 1);
  EXPECT_EQ(k.colour, Palette16[15]);
  EXPECT_EQ(k.colourMode, 0);
}

TEST_F(SceneFile, ScreenAndScaleLinesGiveNoContentAndMoveLaterCentres) {
  ASSERT_EQ(Read("screen=320x200\nscale=u\n\nnv=10\n\nnv=20\n"), 1);
  ASSERT_EQ(specs.SpecCount, 2);
  EXPECT_EQ(settings.VirtWidth, 320);
  EXPECT_EQ(settings.UniformScale, 1);
  // The first block's defaults were taken when the file was opened.
  EXPECT_EQ(specs[0].px, 320);
  EXPECT_EQ(specs[1].px, 160);
  EXPECT_EQ(specs[1].py, 100);
}

TEST_F(SceneFile, RejectedScreenOrScaleFailsTheRead) {
  EXPECT_EQ(Read("nv=10\n\nscreen=640 x 480\n"), 0);
  EXPECT_EQ(Read("scale=maybe\n"), 0);
}

TEST_F(SceneFile, FiftyOneBlocksReadFifty) {
  std::string text;
  for (int i = 1; i <= 51; ++i)
    text += "nv=" + std::to_string(i) + "\n\n";
  text += "screen=2x2\n";  // after the 50th block: not read either
  ASSERT_EQ(Read(text), 1);
  EXPECT_EQ(specs.SpecCount, 50);
  EXPECT_EQ(specs[49].nv, 50u);
  EXPECT_EQ(settings.VirtWidth, 640);
}

TEST_F(SceneFile, CoordinatesRandomUnlessANumberOrAnotherLetterFixesThem) {
  ASSERT_EQ(Read("px=100\npx=r\npy=\nfx=\nfy=r\n\n"
                 "fx=7\nfx=\npx=q\n"),
            1);
  const SwirlSpec& k = specs[0];
  EXPECT_EQ(k.pxRandom, 0);  // r does not switch it back on
  EXPECT_EQ(k.px, 100);
  EXPECT_EQ(k.pyRandom, 1);  // empty start value: no effect
  EXPECT_EQ(k.fxRandom, 0);  // empty target value: fixed at the centre
  EXPECT_EQ(k.fx, 320);
  EXPECT_EQ(k.fyRandom, 1);
  const SwirlSpec& k2 = specs[1];
  EXPECT_EQ(k2.fx, 7);
  EXPECT_EQ(k2.pxRandom, 0);  // another letter fixes it where it is
  EXPECT_EQ(k2.px, 320);
}

TEST_F(SceneFile, ColourKey) {
  ASSERT_EQ(Read("c=4\nc=0\nc=16\n\nC=A\nc=5\n\nc= r\n\nc=?\n"), 1);
  EXPECT_EQ(specs[0].colour, Palette16[4]);
  EXPECT_EQ(specs[0].colourMode, 0);
  EXPECT_EQ(specs[1].colourMode, 1);  // a number does not cancel "a"
  EXPECT_EQ(specs[1].colour, Palette16[5]);
  EXPECT_EQ(specs[2].colourMode, -1);
  EXPECT_EQ(specs[3].colourMode, 0);
  EXPECT_EQ(specs[3].colour, Palette16[15]);
}

TEST_F(SceneFile, MOnceSetStaysSetForTheBlock) {
  ASSERT_EQ(Read("m=1\nm=0\nm=2\nm=x\n\nm=2\n"), 1);
  EXPECT_EQ(specs[0].m, 1);
  EXPECT_EQ(specs[1].m, 0);
}

TEST_F(SceneFile, DirectionCarriesIntoLaterBlocks) {
  ASSERT_EQ(Read("d=1\nv=5\n\nv=5\n\nd=0\nv=5\n\nd=1\n\nv=5\nd=2\n"), 1);
  ASSERT_EQ(specs.SpecCount, 5);
  EXPECT_EQ(specs[0].v, -0.0005f);
  EXPECT_EQ(specs[1].v, -0.0005f);
  EXPECT_EQ(specs[2].v, 0.0005f);
  EXPECT_EQ(specs[3].v, -0.0005f);  // a lone d=1 is a kind of its own
  EXPECT_EQ(specs[4].v, 0.0005f);   // d=2 is not 1
}

TEST_F(SceneFile, AngleStepsAreTwoPiOverTheCount) {
  ASSERT_EQ(Read("nw=512\nnn=x\n\nnw=0\n"), 1);
  EXPECT_EQ(specs[0].nw, static_cast<float>(TwoPi / 512.0));
  EXPECT_EQ(specs[0].nn, static_cast<float>(TwoPi / 100.0));
  EXPECT_TRUE(std::isinf(specs[1].nw));
}

TEST_F(SceneFile, EndOfBlockCutsAndFillsIn) {
  ASSERT_EQ(Read("nv=100\nn=800\nstart=5\n\nbs=0\np=-3\nstop=-1\n"), 1);
  EXPECT_EQ(specs[0].bs, 100u);
  EXPECT_EQ(specs[0].p, 100);
  EXPECT_EQ(specs[0].n, 500);
  EXPECT_EQ(specs[0].launchesLeft, -1);  // starts later
  EXPECT_EQ(specs[1].bs, 0u);
  EXPECT_EQ(specs[1].p, -3);
  EXPECT_EQ(specs[1].stop, 4294967295u);
}

TEST_F(SceneFile, OpensTheNameOrTheNameWithZrvAppended) {
  dir.Write("show.zrv", "nv=3\n");
  std::string path = dir.PathOf("show");
  ASSERT_EQ(ReadSceneFile(path, settings, specs), 1);
  EXPECT_EQ(path, dir.PathOf("show.zrv"));
  EXPECT_EQ(specs[0].nv, 3u);

  dir.Write("other.zrv.zrv", "nv=4\n");
  path = dir.PathOf("other.zrv");
  ASSERT_EQ(ReadSceneFile(path, settings, specs), 1);
  EXPECT_EQ(path, dir.PathOf("other.zrv.zrv"));

  path = dir.PathOf("missing.txt");
  Diagnostics diag;
  EXPECT_EQ(ReadSceneFile(path, settings, specs, &diag), 0);
  ASSERT_EQ(diag.notes.size(), 1u);
  EXPECT_EQ(diag.notes[0].code, NoteCode::kCannotOpen);
  EXPECT_NE(diag.notes[0].message.find("missing.txt.zrv"), std::string::npos);
}

TEST_F(SceneFile, ADirectoryIsNotTakenForTheScene) {
  std::filesystem::create_directory(dir.path() / "trip");
  dir.Write("trip.zrv", "nv=6\n");
  std::string path = dir.PathOf("trip");
  ASSERT_EQ(ReadSceneFile(path, settings, specs), 1);
  EXPECT_EQ(specs[0].nv, 6u);
}

TEST_F(SceneFile, AReadErrorFailsTheRead) {
  MemoryFiles opener;
  opener.PutUnreadable("demo");
  std::string path = "demo";
  Diagnostics diag;
  EXPECT_EQ(ReadSceneFile(path, settings, specs, &diag, opener), 0);
  ASSERT_EQ(diag.notes.size(), 1u);
  EXPECT_EQ(diag.notes[0].code, NoteCode::kReadError);
}

TEST_F(SceneFile, ALineOfExactly255CharactersEndsWithAnExtraBlankLine) {
  const std::string title = "title=" + std::string(249, 'x');  // 255 characters
  ASSERT_EQ(Read(title + "\nnv=10\n"), 1);
  EXPECT_EQ(specs.SpecCount, 2);
  ASSERT_EQ(Read(title.substr(1) + "\nnv=10\n"), 1);
  EXPECT_EQ(specs.SpecCount, 1);
}

TEST(SpecFinish, CutsBeforeActivatingAndNegatesBeforeDividing) {
  SpecTable specs;
  SwirlSpec& k = specs[0];
  SpecDefaults(k, 640, 480);
  k.n = 900;
  k.nv = 50;
  k.bs = 70;
  k.v = 3.0f;
  SpecFinish(k, 1, specs);
  EXPECT_EQ(k.launchesLeft, 500);  // n was cut first
  EXPECT_EQ(k.bs, 50u);
  EXPECT_EQ(k.p, 50);  // from the cut bs
  EXPECT_EQ(k.v, static_cast<float>(-3.0 / 10000.0));
  EXPECT_EQ(specs.SpecCount, 1);
}

}  // namespace
}  // namespace zirvo
