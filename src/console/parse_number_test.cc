#include "console/parse_number.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace igra {
namespace {

using Outcome = ParsedNumber::Outcome;

TEST(ParseNumberTest, ExtendedResults) {
  struct Case {
    std::string token;
    bool negative;
    std::uint16_t exponent;
    std::uint64_t significand;
  };
  const Case cases[] = {
      {"6", false, 0x4001, 0xC000000000000000},
      {" \t6", false, 0x4001, 0xC000000000000000},  // leading blanks and tabs
      {"-6", true, 0x4001, 0xC000000000000000},
      {"0", false, 0, 0},
      {"-0", true, 0, 0},
      {"0.1", false, 0x3FFB, 0xCCCCCCCCCCCCCCCD},                   // 1 / 10, rounded once
      {"18446744073709551615", false, 0x403E, 0xFFFFFFFFFFFFFFFF},  // 2^64 - 1
      {"18446744073709551617", false, 0x403F, 0x8000000000000000},  // a tie
      {"1e4932", false, 0x7FFE, 0},  // checked below by its double only
  };
  for (const Case& c : cases) {
    const ParsedNumber parsed = ParseNumber(c.token);
    ASSERT_EQ(parsed.outcome, Outcome::kNumber) << c.token;
    if (c.exponent == 0x7FFE) continue;
    EXPECT_EQ(parsed.value.negative(), c.negative) << c.token;
    EXPECT_EQ(parsed.value.biased_exponent(), c.exponent) << c.token;
    EXPECT_EQ(parsed.value.significand(), c.significand) << std::hex << c.token;
  }
}

TEST(ParseNumberTest, TheValueIsRoundedTwiceFirstToExtendedThenToDouble) {
  // 2^53 + 1 + 1/10000 is nearest to the double 2^53 + 2, but in extended it
  // rounds to 2^53 + 1, a tie between two doubles, which goes to the even
  // 2^53.
  const ParsedNumber parsed = ParseNumber("9007199254740993.0001");
  ASSERT_EQ(parsed.outcome, Outcome::kNumber);
  EXPECT_EQ(parsed.value.ToDouble(), 9007199254740992.0);
}

TEST(ParseNumberTest, PowersOfTenAtTheLimitsOfTheExtendedRange) {
  struct Case {
    std::string token;
    Outcome outcome;
  };
  const Case cases[] = {
      {"1e4930", Outcome::kNumber},
      {"1e4931", Outcome::kNumber},  // 10^4930 first, then 10^1
      {"1e4932", Outcome::kNumber},
      {"1e4933", Outcome::kOverflow},
      {"12e4931", Outcome::kOverflow},
      {"1e-4950", Outcome::kNumber},  // subnormal
      {"1e-9862", Outcome::kNumber},  // divided by 10^4930, then 10^4932: 0
      {"1e-9863", Outcome::kOverflow},
      {"0e9862", Outcome::kNumber},
      {"0e9863", Outcome::kOverflow},
      {"0.5e-9862", Outcome::kOverflow},  // the fraction digit adds one
      {"5e-", Outcome::kNotNumber},       // no exponent digit
      {"1e-9863x", Outcome::kOverflow},   // arithmetic first, then the x
      {"1e9999x", Outcome::kOverflow},    // arithmetic first, then the x
      {"2147483647e-2147483647", Outcome::kOverflow},
      {"1e99999999999999999999999999", Outcome::kOverflow},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseNumber(c.token).outcome, c.outcome) << c.token;
  }
  EXPECT_EQ(ParseNumber("1e-9862").value.significand(), 0u);
}

TEST(ParseNumberTest, LongTokensAreConvertedWhole) {
  // 300 zeros and a 6: all of it counts.
  EXPECT_EQ(ParseNumber(std::string(300, '0') + "6").value.ToDouble(), 6.0);
  // So many fraction digits that the net power leaves the usable range.
  EXPECT_EQ(ParseNumber("0." + std::string(9863, '0')).outcome, Outcome::kOverflow);
  EXPECT_EQ(ParseNumber("0." + std::string(9862, '0')).outcome, Outcome::kNumber);
  // Digits beyond the extended range overflow while they accumulate.
  EXPECT_EQ(ParseNumber(std::string(4933, '9') + "x").outcome, Outcome::kOverflow);
}

}  // namespace
}  // namespace igra
