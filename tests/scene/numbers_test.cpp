#include "scene/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zirvo {
namespace {

TEST(ScanInt, TakesTheLongestPrefixAfterWhiteSpaceAndSign) {
  std::size_t used = 0;
  EXPECT_EQ(ScanInt(" \t-42abc", &used), -42);
  EXPECT_EQ(used, 5u);
  EXPECT_EQ(ScanInt("+7x"), 7);
  EXPECT_EQ(ScanInt("0012"), 12);
  EXPECT_EQ(ScanInt("12.9"), 12);
}

TEST(ScanInt, NothingReadIsNotANumber) {
  EXPECT_FALSE(ScanInt(""));
  EXPECT_FALSE(ScanInt("   "));
  EXPECT_FALSE(ScanInt("-"));
  EXPECT_FALSE(ScanInt("+ 5"));
  EXPECT_FALSE(ScanInt("r"));
  // Only C white space is skipped, not bytes of 128 and more.
  EXPECT_FALSE(ScanInt("\xA0 5"));
}

TEST(ScanInt, SaturatesInsteadOfOverflowing) {
  EXPECT_EQ(ScanInt("2147483647"), 2147483647);
  EXPECT_EQ(ScanInt("2147483648"), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(ScanInt("-2147483648"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ScanInt("-99999999999999999999999"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ScanInt("99999999999999999999999"), std::numeric_limits<std::int32_t>::max());
}

TEST(ScanUnsigned, NegatesModuloTwoToThe32AndSaturates) {
  EXPECT_EQ(ScanUnsigned("4294967295"), 4294967295u);
  EXPECT_EQ(ScanUnsigned("4294967296"), 4294967295u);
  EXPECT_EQ(ScanUnsigned("-1"), 4294967295u);
  EXPECT_EQ(ScanUnsigned("-5"), 4294967291u);
  EXPECT_EQ(ScanUnsigned("-0"), 0u);
  EXPECT_EQ(ScanUnsigned("-4294967296"), 4294967295u);
  EXPECT_EQ(ScanUnsigned(" 30 seconds"), 30u);
  EXPECT_FALSE(ScanUnsigned("x30"));
}

TEST(ScanFloat, ReadsDecimalNumbersOnly) {
  std::size_t used = 0;
  EXPECT_EQ(ScanFloat("  -1.5e2xyz", &used), -150.0f);
  EXPECT_EQ(used, 8u);
  EXPECT_EQ(ScanFloat(".5"), 0.5f);
  EXPECT_EQ(ScanFloat("5."), 5.0f);
  EXPECT_EQ(ScanFloat("5e"), 5.0f);  // exponent without digits is not part of it
  EXPECT_EQ(ScanFloat("5e+"), 5.0f);
  EXPECT_EQ(ScanFloat("0x10"), 0.0f);  // no hexadecimal: "0" then text
  EXPECT_FALSE(ScanFloat("."));
  EXPECT_FALSE(ScanFloat("inf"));
  EXPECT_FALSE(ScanFloat("nan"));
  EXPECT_FALSE(ScanFloat("-.e5"));
}

TEST(ScanFloat, RoundsCorrectlyToFloatAndOverflowsToInfinity) {
  // 0.1 read straight to float, not through a double first.
  EXPECT_EQ(ScanFloat("0.1"), 0.1f);
  // Halfway between 1 and the next float, plus a tiny bit: rounds up.
  EXPECT_EQ(ScanFloat("1.00000005960464477539062500001"), std::nextafter(1.0f, 2.0f));
  EXPECT_EQ(ScanFloat("1e39"), std::numeric_limits<float>::infinity());
  EXPECT_EQ(ScanFloat("-1e39"), -std::numeric_limits<float>::infinity());
  EXPECT_EQ(ScanFloat("1e-50"), 0.0f);
}

}  // namespace
}  // namespace zirvo
