#include "scene/CommandLine.h"

#include <gtest/gtest.h>

namespace zirvo {
namespace {

struct Tokens {
  std::vector<std::string> tokens;
  std::vector<std::int32_t> counts;
};

Tokens AllTokens(const std::string& line) {
  Tokens out;
  const char* at = line.c_str();
  std::string token;
  std::int32_t count = 0;
  while (NextToken(token, at, count) == 1) {
    out.tokens.push_back(token);
    out.counts.push_back(count);
    at += count;
  }
  return out;
}

TEST(NextToken, CountsSkippedSeparatorsTheTokenAndBothQuotes) {
  const Tokens t = AllTokens("  prog.exe \"my scene\"\tx");
  ASSERT_EQ(t.tokens, (std::vector<std::string>{"prog.exe", "my scene", "x"}));
  EXPECT_EQ(t.counts, (std::vector<std::int32_t>{10, 11, 2}));
}

TEST(NextToken, TextAfterAClosingQuoteIsTheNextToken) {
  EXPECT_EQ(AllTokens("\"a b\"c").tokens, (std::vector<std::string>{"a b", "c"}));
  // A quote after the first character is an ordinary character.
  EXPECT_EQ(AllTokens("ab\"c d").tokens, (std::vector<std::string>{"ab\"c", "d"}));
}

TEST(NextToken, EmptyQuotesAreAnEmptyToken) {
  std::string token = "old";
  std::int32_t count = 0;
  EXPECT_EQ(NextToken(token, " \"\" x", count), 1);
  EXPECT_EQ(token, "");
  EXPECT_EQ(count, 3);
}

TEST(NextToken, NoTokenAtTheEndOrInAnUnclosedQuote) {
  std::string token = "untouched";
  std::int32_t count = 0;
  EXPECT_EQ(NextToken(token, " \t ", count), 0);
  EXPECT_EQ(NextToken(token, "", count), 0);
  EXPECT_EQ(NextToken(token, " \"demo", count), 0);
  EXPECT_EQ(token, "untouched");
}

TEST(NextToken, HighBytesSeparateOutsideQuotesOnly) {
  EXPECT_EQ(AllTokens("ab\xE9"
                      "cd")
                .tokens,
            (std::vector<std::string>{"ab", "cd"}));
  EXPECT_EQ(AllTokens("\"ab\xE9"
                      "cd\"")
                .tokens,
            (std::vector<std::string>{"ab\xE9"
                                      "cd"}));
}

TEST(NextToken, TokensOfAnyLength) {
  const std::string longName(5000, 'q');
  const Tokens t = AllTokens("p " + longName);
  ASSERT_EQ(t.tokens.size(), 2u);
  EXPECT_EQ(t.tokens[1], longName);
}

TEST(DirectoryOf, WindowsRules) {
  std::string dir = "untouched";
  EXPECT_EQ(DirectoryOf(dir, "c:\\my dir\\prog.exe", PathStyle::kWindows), 1);
  EXPECT_EQ(dir, "c:\\my dir\\");
  EXPECT_EQ(DirectoryOf(dir, "D:prog.exe", PathStyle::kWindows), 1);
  EXPECT_EQ(dir, "D:");
  dir = "untouched";
  EXPECT_EQ(DirectoryOf(dir, "prog.exe", PathStyle::kWindows), 0);
  // A forward slash is an ordinary character there, and "1:" is no drive.
  EXPECT_EQ(DirectoryOf(dir, "bin/prog.exe", PathStyle::kWindows), 0);
  EXPECT_EQ(DirectoryOf(dir, "1:prog.exe", PathStyle::kWindows), 0);
  EXPECT_EQ(dir, "untouched");
}

TEST(DirectoryOf, PosixRules) {
  std::string dir = "untouched";
  EXPECT_EQ(DirectoryOf(dir, "/opt/zirvo/bin/zirvo", PathStyle::kPosix), 1);
  EXPECT_EQ(dir, "/opt/zirvo/bin/");
  EXPECT_EQ(DirectoryOf(dir, "a\\b", PathStyle::kPosix), 1);
  EXPECT_EQ(dir, "a\\");
  dir = "untouched";
  EXPECT_EQ(DirectoryOf(dir, "d:zirvo", PathStyle::kPosix), 0);
  EXPECT_EQ(dir, "untouched");
}

TEST(ProgramArgs, FromTheWindowsCommandLine) {
  ProgramArgs a = ArgsFromCommandLine("   prog.exe one two three");
  EXPECT_TRUE(a.hasProgram);
  EXPECT_EQ(a.program, "prog.exe");
  EXPECT_TRUE(a.hasScene);
  EXPECT_EQ(a.scene, "one");

  a = ArgsFromCommandLine("prog.exe \"demo");
  EXPECT_TRUE(a.hasProgram);
  EXPECT_FALSE(a.hasScene);
  EXPECT_EQ(a.sceneProblem, NoteCode::kUnclosedQuote);

  a = ArgsFromCommandLine("prog.exe ");
  EXPECT_FALSE(a.hasScene);
  EXPECT_EQ(a.sceneProblem, NoteCode::kNoSceneName);

  a = ArgsFromCommandLine("\"c:\\my dir\\prog.exe");
  EXPECT_FALSE(a.hasProgram);
  EXPECT_EQ(a.programProblem, NoteCode::kUnclosedQuote);
  EXPECT_EQ(ArgsFromCommandLine("").programProblem, NoteCode::kNoProgramPath);
}

TEST(ProgramArgs, FromArgvKeepsCaseAndIgnoresTheRest) {
  ProgramArgs a = ArgsFromArgv("/usr/bin/zirvo", {"zirvo", "My Scene", "extra"});
  EXPECT_EQ(a.program, "/usr/bin/zirvo");
  EXPECT_TRUE(a.hasScene);
  EXPECT_EQ(a.scene, "My Scene");
  a = ArgsFromArgv("/usr/bin/zirvo", {"zirvo"});
  EXPECT_TRUE(a.hasProgram);
  EXPECT_FALSE(a.hasScene);
}

}  // namespace
}  // namespace zirvo
