// The command lines of the programs, read from their tables: values after '='
// or apart, flags, the two conventions (one dash or two; "--" ending the
// options), and the mistakes each is told in one line; the tools' own
// arguments: one scene, "-h", the settings and the screen.
#include "cli/Options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "cli/ToolArguments.h"

namespace zirvo {
namespace {

struct Parsed {
  bool flag = false;
  std::optional<std::string> text;
  std::vector<std::string> values;
  std::vector<std::string> positionals;
  std::string error;
};

Parsed Parse(const std::vector<std::string>& args, OptionRules rules = {}) {
  Parsed parsed;
  const std::vector<Option> table = {
      FlagOption("--flag", parsed.flag),
      TextOption("--text", parsed.text),
      {"--even", Option::Takes::kValue,
       [&parsed](const std::string& value) {
         if (value.size() % 2 != 0)
           return "--even needs an even length, not '" + value + "'";
         parsed.values.push_back(value);
         return std::string();
       }},
  };
  parsed.error = ParseOptions(args, table, rules, [&parsed](const std::string& arg) {
    parsed.positionals.push_back(arg);
    return std::string();
  });
  return parsed;
}

TEST(Options, ValuesComeAfterEqualsOrAsTheNextArgumentWhateverItLooksLike) {
  const Parsed parsed = Parse({"--text=a=b", "--even", "--flag", "x", "--even=", "--flag"});
  EXPECT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.text, "a=b");
  EXPECT_EQ(parsed.values, (std::vector<std::string>{"--flag", ""}));
  EXPECT_TRUE(parsed.flag);
  EXPECT_EQ(parsed.positionals, std::vector<std::string>{"x"});
}

TEST(Options, OneDashIsAnOptionOnlyWhereTheProgramSaysSo) {
  EXPECT_EQ(Parse({"-flag", "-", "--"}).positionals,
            (std::vector<std::string>{"-flag", "-", "--"}));
  const Parsed hosts = Parse({"-flag", "-text", "t"}, OptionRules{.singleDash = true});
  EXPECT_TRUE(hosts.flag);
  EXPECT_EQ(hosts.text, "t");
  EXPECT_EQ(Parse({"-", "--"}, OptionRules{.singleDash = true}).positionals,
            (std::vector<std::string>{"-", "--"}));
  EXPECT_EQ(Parse({"-nope"}, OptionRules{.singleDash = true}).error, "unknown option --nope");
}

TEST(Options, DoubleDashEndsTheOptionsWhereTheProgramSaysSo) {
  const Parsed parsed =
      Parse({"--flag", "--", "--text", "-x"}, OptionRules{.doubleDashEnds = true});
  EXPECT_EQ(parsed.error, "");
  EXPECT_TRUE(parsed.flag);
  EXPECT_FALSE(parsed.text.has_value());
  EXPECT_EQ(parsed.positionals, (std::vector<std::string>{"--text", "-x"}));
}

TEST(Options, MistakesAreToldInOneLineAndStopTheWalk) {
  EXPECT_EQ(Parse({"--nope=3"}).error, "unknown option --nope");
  EXPECT_EQ(Parse({"--text"}).error, "--text needs a value");
  EXPECT_EQ(Parse({"--flag=yes"}).error, "--flag takes no value");
  const Parsed odd = Parse({"--even", "abc", "--flag"});
  EXPECT_EQ(odd.error, "--even needs an even length, not 'abc'");
  EXPECT_FALSE(odd.flag) << "nothing after the mistake is taken";
}

TEST(ToolArguments, OneSceneWithTheSettingsAndTheScreen) {
  ToolArguments tool;
  bool json = false;
  EXPECT_EQ(ParseToolArguments({"--settings", "my.ini", "--screen=800X600", "s.zrv", "--json"},
                               {FlagOption("--json", json)}, tool),
            "");
  EXPECT_EQ(tool.scene, "s.zrv");
  EXPECT_EQ(tool.settings, "my.ini");
  EXPECT_EQ(tool.screen.ScreenWidth, 800);
  EXPECT_EQ(tool.screen.ScreenHeight, 600);
  EXPECT_TRUE(json);

  ToolArguments dashed;
  EXPECT_EQ(ParseToolArguments({"--", "--odd.zrv"}, {}, dashed), "");
  EXPECT_EQ(dashed.scene, "--odd.zrv");
}

TEST(ToolArguments, HelpNeedsNoSceneAndTheMistakesAreNamed) {
  ToolArguments help;
  EXPECT_EQ(ParseToolArguments({"-h"}, {}, help), "");
  EXPECT_TRUE(help.help);
  ToolArguments none;
  EXPECT_EQ(ParseToolArguments({}, {}, none), "no scene file given");
  ToolArguments two;
  EXPECT_EQ(ParseToolArguments({"a", "b"}, {}, two), "more than one scene given (\"a\", \"b\")");
  ToolArguments screen;
  EXPECT_EQ(ParseToolArguments({"--screen", "0x5", "a"}, {}, screen),
            "the value \"0x5\" of --screen is not understood (expected WxH, each from 1 to "
            "16384, e.g. 1024x768)");
}

}  // namespace
}  // namespace zirvo
