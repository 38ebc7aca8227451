// zirvo.scr's command line as Windows and screensaver hosts write it: the
// program's path (quoted or not, with blanks or not), then one switch.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32-saver/ScrCommandLine.h"

namespace zirvo::scr {
namespace {

ScrMode ModeOf(const std::string& commandLine) {
  return ParseScrCommandLine(commandLine).mode;
}

TEST(ScrCommandLine, EachSwitchInEitherCaseAfterSlashOrDash) {
  for (const char* show : {"/s", "/S", "-s", "-S"})
    EXPECT_EQ(ModeOf(std::string("zirvo.scr ") + show), ScrMode::kShow) << show;
  for (const char* settings : {"/c", "/C", "-c", "-C"})
    EXPECT_EQ(ModeOf(std::string("zirvo.scr ") + settings), ScrMode::kSettings) << settings;
  for (const char* password : {"/a", "/A 1234", "-a"})
    EXPECT_EQ(ModeOf(std::string("zirvo.scr ") + password), ScrMode::kPassword) << password;
  EXPECT_EQ(ModeOf("zirvo.scr /p 66"), ScrMode::kPreview);
  EXPECT_EQ(ModeOf("zirvo.scr -P:66"), ScrMode::kPreview);
}

TEST(ScrCommandLine, NoSwitchOrOneNotUnderstoodOpensTheSettings) {
  EXPECT_EQ(ModeOf("C:\\WINDOWS\\system32\\zirvo.scr"), ScrMode::kSettings);
  EXPECT_EQ(ModeOf(""), ScrMode::kSettings);
  EXPECT_EQ(ModeOf("zirvo.scr /x"), ScrMode::kSettings);
  EXPECT_EQ(ModeOf("zirvo.scr / s"), ScrMode::kSettings);   // a lone slash is no switch
  EXPECT_EQ(ModeOf("zirvo.scr \"/s"), ScrMode::kSettings);  // an unclosed quote: no word
}

TEST(ScrCommandLine, TheHandleFollowsAColonOrABlank) {
  EXPECT_EQ(ParseScrCommandLine("zirvo.scr /p 1050638").window, 1050638u);
  EXPECT_EQ(ParseScrCommandLine("zirvo.scr /p:1050638").window, 1050638u);
  EXPECT_EQ(ParseScrCommandLine("zirvo.scr /p    77").window, 77u);
  EXPECT_EQ(ParseScrCommandLine("zirvo.scr /c:65732").window, 65732u);
  EXPECT_EQ(ParseScrCommandLine("zirvo.scr /c 65732").window, 65732u);
  EXPECT_EQ(ParseScrCommandLine("zirvo.scr /c").window, 0u);
  EXPECT_EQ(ParseScrCommandLine("zirvo.scr /c:").window, 0u);
  EXPECT_EQ(ParseScrCommandLine("zirvo.scr /p").window, 0u);
  // /s takes no handle: a word after it is not read as one.
  EXPECT_EQ(ParseScrCommandLine("zirvo.scr /s 99").window, 0u);
}

TEST(ScrCommandLine, TheProgramPathMayBeQuotedOrHoldUnquotedBlanks) {
  const ScrCommand quoted = ParseScrCommandLine("\"C:\\Program Files\\Zirvo\\zirvo.scr\" /p 4242");
  EXPECT_EQ(quoted.mode, ScrMode::kPreview);
  EXPECT_EQ(quoted.window, 4242u);
  // A host that did not quote a path with blanks: its words are passed over.
  const ScrCommand unquoted = ParseScrCommandLine("C:\\Program Files\\Zirvo\\zirvo.scr /c:17");
  EXPECT_EQ(unquoted.mode, ScrMode::kSettings);
  EXPECT_EQ(unquoted.window, 17u);
  // The program's own path is never taken for the switch, whatever it looks like.
  EXPECT_EQ(ModeOf("/s"), ScrMode::kSettings);
  EXPECT_EQ(ModeOf("-s.scr /p 5"), ScrMode::kPreview);
}

TEST(ScrCommandLine, HandlesThatAreNotNumbersAreNone) {
  EXPECT_EQ(ParseWindowHandle(""), 0u);
  EXPECT_EQ(ParseWindowHandle("abc"), 0u);
  EXPECT_EQ(ParseWindowHandle("12ab"), 0u);
  EXPECT_EQ(ParseWindowHandle("0x1F"), 0u);
  EXPECT_EQ(ParseWindowHandle("-"), 0u);
  EXPECT_EQ(ParseWindowHandle("99999999999999999999999"), 0u);  // beyond 64 bits
  EXPECT_EQ(ParseScrCommandLine("zirvo.scr /p window").window, 0u);
}

TEST(ScrCommandLine, HandlesWrittenSignedOrSignExtendedKeepTheirLow32Bits) {
  EXPECT_EQ(ParseWindowHandle("4294967295"), 0xFFFFFFFFu);
  EXPECT_EQ(ParseWindowHandle("-2"), 0xFFFFFFFEu);
  EXPECT_EQ(ParseWindowHandle("+300"), 300u);
  // A 64-bit host's handle with the top bit set, sign-extended.
  EXPECT_EQ(ParseWindowHandle("18446744071562133504"), 0x80010000u);
}

}  // namespace
}  // namespace zirvo::scr
