// Checks the software double-extended arithmetic and the conversion of typed
// numbers bit for bit against the machine's own 80-bit `long double`, on the
// targets that have one (x87: x86 and x86-64 with GCC or Clang).  Elsewhere
// (ARM64, MSVC) every test is skipped: there is no hardware to compare with.
//
// The corpora come from fixed-seed generators, so every run compares the same
// cases.  Each test prints on stdout how many cases it compared and how many
// disagreed, and shows the first few disagreements as hex encodings
// (sign, 15-bit biased exponent : 64-bit significand).

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "console/extended.h"
#include "console/hardware_reference.h"
#include "console/parse_number.h"
#include "gtest/gtest.h"

namespace igra {
namespace {

using reference::Bits;
using reference::BitsOf;
using reference::kHardwareExtended;
using reference::Name;
using reference::Reference;
using reference::ReferenceParse;

constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
constexpr int kBias = 0x3FFF;
constexpr int kMaxExponent = 0x7FFE;
constexpr int kInfinityExponent = 0x7FFF;

// ---------------------------------------------------------------------------
// Encodings and the bridge to the hardware type.

/// The hardware value with this encoding.  Callers pass only zeros,
/// subnormals (exponent 0, integer bit clear) and normals (integer bit set).
long double Hardware(const Bits& bits) {
  if (!kHardwareExtended) return 0.0L;
  unsigned char bytes[16] = {};
  for (int i = 0; i < 8; ++i) {
    bytes[i] = static_cast<unsigned char>(bits.significand >> (8 * i));
  }
  const unsigned top = bits.exponent | (bits.negative ? 0x8000u : 0u);
  bytes[8] = static_cast<unsigned char>(top & 0xFFu);
  bytes[9] = static_cast<unsigned char>(top >> 8);
  long double x;
  std::memcpy(&x, bytes, sizeof x);
  return x;
}

Extended Software(const Bits& bits) {
  return Extended::FromBits(bits.negative, bits.exponent, bits.significand);
}

/// True when the software result is the hardware result.  Finite results
/// compare by their whole encoding; an overflow compares by being an
/// infinity of the same sign (the significand of an infinity carries no
/// value).
bool Agree(const Bits& hardware, const Extended& software) {
  if (hardware.exponent == kInfinityExponent) {
    return software.biased_exponent() == kInfinityExponent &&
           software.negative() == hardware.negative;
  }
  return BitsOf(software) == hardware;
}

/// The exact encoding of a whole number (normalized, integer bit set).
Bits IntegerBits(std::uint64_t value, bool negative = false) {
  if (value == 0) return {negative, 0, 0};
  const int shift = std::countl_zero(value);
  return {negative, static_cast<std::uint16_t>(kBias + 63 - shift), value << shift};
}

/// A value with normalized significand `significand` (integer bit set) and
/// unbounded biased exponent `exponent`: above the range it is clamped to the
/// largest exponent, below it the significand is shifted into a subnormal
/// (dropping bits: the result is a valid encoding, not a rounded value).
Bits Scaled(bool negative, int exponent, std::uint64_t significand) {
  if (exponent >= 1) {
    return {negative, static_cast<std::uint16_t>(std::min(exponent, kMaxExponent)), significand};
  }
  const int shift = 1 - exponent;
  return {negative, 0, shift >= 64 ? 0 : significand >> shift};
}

bool IsZero(const Bits& bits) { return bits.exponent == 0 && bits.significand == 0; }

std::string Show(const Bits& bits) {
  char text[96];
  char value[48];
  if (bits.exponent == kInfinityExponent) {
    std::snprintf(value, sizeof value, "%s", bits.negative ? "-inf" : "inf");
  } else if (bits.exponent != 0 && (bits.significand & kIntegerBit) == 0) {
    std::snprintf(value, sizeof value, "unnormal");
  } else if (bits.exponent == 0 && (bits.significand & kIntegerBit) != 0) {
    std::snprintf(value, sizeof value, "pseudo-denormal");
  } else {
    std::snprintf(value, sizeof value, "%.6Lg", Hardware(bits));
  }
  std::snprintf(text, sizeof text, "%c%04X:%016llX (%s)", bits.negative ? '-' : '+',
                static_cast<unsigned>(bits.exponent),
                static_cast<unsigned long long>(bits.significand), value);
  return text;
}

std::string ShowDouble(double x) {
  char text[64];
  std::snprintf(text, sizeof text, "%016llX (%a)",
                static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(x)), x);
  return text;
}

// ---------------------------------------------------------------------------
// Counting and reporting.

/// Counts the cases a test compares, reports the first few disagreements in
/// full and prints the totals on stdout when the test ends.
class Tally {
 public:
  explicit Tally(const char* what) : what_(what) {}
  Tally(const Tally&) = delete;
  Tally& operator=(const Tally&) = delete;

  ~Tally() {
    std::printf("[ COMPARED ] %s: %zu cases, %zu disagreements\n", what_, compared_,
                disagreements_);
    std::fflush(stdout);
    ::testing::Test::RecordProperty("cases_compared", std::to_string(compared_));
    ::testing::Test::RecordProperty("disagreements", std::to_string(disagreements_));
    if (disagreements_ > kShown) {
      ADD_FAILURE() << what_ << ": " << disagreements_ - kShown
                    << " further disagreements not shown";
    }
  }

  /// Counts one case; `describe()` gives the message when they disagree.
  /// Returns `agree`.
  template <typename Describe>
  bool Expect(bool agree, Describe describe) {
    ++compared_;
    if (!agree && ++disagreements_ <= kShown) {
      ADD_FAILURE() << what_ << ": " << describe();
    }
    return agree;
  }

 private:
  static constexpr std::size_t kShown = 5;
  const char* what_;
  std::size_t compared_ = 0;
  std::size_t disagreements_ = 0;
};

// ---------------------------------------------------------------------------
// Generators.

class Corpus {
 public:
  explicit Corpus(std::uint64_t seed) : engine_(seed) {}

  std::uint64_t Next() { return engine_(); }
  /// Uniform in 0 .. n-1 (n >= 1; the modulo bias is irrelevant here).
  std::uint64_t Below(std::uint64_t n) { return engine_() % n; }
  /// Uniform in lo .. hi (lo <= hi).
  int Between(int lo, int hi) {
    return lo + static_cast<int>(Below(static_cast<std::uint64_t>(hi - lo) + 1));
  }
  bool OneIn(std::uint64_t n) { return Below(n) == 0; }
  bool Coin() { return (engine_() & 1) != 0; }

  /// A significand with the integer bit set, in shapes that stress rounding:
  /// random, all ones, integer bit alone, long runs of trailing zeros or ones.
  std::uint64_t Significand() {
    switch (Below(10)) {
      case 0:
        return ~std::uint64_t{0};
      case 1:
        return kIntegerBit;
      case 2:
        return kIntegerBit | 1;
      case 3: {
        const std::uint64_t mask = LowMask(Between(1, 63));
        return (Next() | kIntegerBit) & ~mask;
      }
      case 4: {
        const std::uint64_t mask = LowMask(Between(1, 63));
        return Next() | kIntegerBit | mask;
      }
      default:
        return Next() | kIntegerBit;
    }
  }

  /// `width` low bits (1 .. 63) at or around the exact halfway point of
  /// their range: 100..0 itself, or its neighbours, or all zeros.
  std::uint64_t HalfwayPattern(int width) {
    const std::uint64_t half = std::uint64_t{1} << (width - 1);
    switch (Below(6)) {
      case 0:
      case 1:
        return half;
      case 2:
        return half - 1;
      case 3:
        return (half | 1) & LowMask(width);
      case 4:
        return 0;
      default:
        return half | (half >> 1);
    }
  }

  /// A significand with the integer bit set whose low `width` bits follow
  /// HalfwayPattern.
  std::uint64_t SignificandWithLowBits(int width) {
    const std::uint64_t high = (Next() | kIntegerBit) & ~LowMask(width);
    return high | HalfwayPattern(width);
  }

  Bits Normal(int lo, int hi) {
    return {Coin(), static_cast<std::uint16_t>(Between(lo, hi)), Significand()};
  }

  /// A subnormal (exponent 0, integer bit clear), zero now and then.
  Bits Subnormal() {
    switch (Below(12)) {
      case 0:
        return {Coin(), 0, 0};
      case 1:
        return {Coin(), 0, 1};
      case 2:
        return {Coin(), 0, kIntegerBit - 1};
      default:
        return {Coin(), 0, Next() >> Between(1, 63)};
    }
  }

  /// A nonzero subnormal.
  Bits NonzeroSubnormal() {
    Bits bits = Subnormal();
    if (bits.significand == 0) bits.significand = 1;
    return bits;
  }

  /// Any finite value: mostly normals over the whole range, with extra
  /// weight near the largest and smallest exponents, subnormals, zeros and
  /// small whole numbers.
  Bits Finite() {
    switch (Below(20)) {
      case 0:
      case 1:
        return Normal(kMaxExponent - 70, kMaxExponent);
      case 2:
      case 3:
        return Normal(1, 70);
      case 4:
      case 5:
        return Subnormal();
      case 6:
        return {Coin(), 0, 0};
      case 7:
      case 8: {
        const std::uint64_t value = Next() >> Between(0, 63);
        return IntegerBits(value, Coin());
      }
      case 9:
      case 10:
        return Normal(kBias - 80, kBias + 80);
      default:
        return Normal(1, kMaxExponent);
    }
  }

  /// A biased exponent for a result: anywhere, just above or below the
  /// normal range, or around the overflow threshold.
  int ResultExponent() {
    switch (Below(3)) {
      case 0:
        return Between(-80, kMaxExponent + 3);
      case 1:
        return Between(-75, 5);
      default:
        return Between(kMaxExponent - 4, kMaxExponent + 3);
    }
  }

  /// An odd whole number of exactly `length` bits (1 .. 64).
  std::uint64_t OddInteger(int length) {
    const std::uint64_t top = std::uint64_t{1} << (length - 1);
    return ((Next() >> (64 - length)) | top | 1);
  }

  static std::uint64_t LowMask(int width) {
    return width >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << width) - 1;
  }

 private:
  std::mt19937_64 engine_;
};

Bits Negated(Bits bits) {
  bits.negative = !bits.negative;
  return bits;
}

// ---------------------------------------------------------------------------
// Comparisons of the operations.

enum class Op { kAdd, kMultiply, kDivide };

const char* Symbol(Op op) {
  switch (op) {
    case Op::kAdd:
      return "+";
    case Op::kMultiply:
      return "*";
    case Op::kDivide:
      return "/";
  }
  return "?";
}

void CompareBinary(Tally& tally, Op op, const Bits& a, const Bits& b) {
  const long double x = Hardware(a);
  const long double y = Hardware(b);
  long double hardware = 0;
  Extended software;
  switch (op) {
    case Op::kAdd:
      hardware = x + y;
      software = Software(a) + Software(b);
      break;
    case Op::kMultiply:
      hardware = x * y;
      software = Software(a) * Software(b);
      break;
    case Op::kDivide:
      hardware = x / y;
      software = Software(a) / Software(b);
      break;
  }
  const Bits want = BitsOf(hardware);
  tally.Expect(Agree(want, software), [&] {
    return Show(a) + " " + Symbol(op) + " " + Show(b) + ": hardware " + Show(want) + ", software " +
           Show(BitsOf(software));
  });
}

/// The fixture skips every test where `long double` is not the 80-bit
/// format, and stops a test whose FPU is not in the default mode (64-bit
/// precision, round to nearest), where the comparison would mean nothing.
class ExtendedHardwareTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!kHardwareExtended) {
      GTEST_SKIP() << "long double is not the 80-bit extended format on this "
                      "target, so there is no hardware to compare with";
    }
    volatile long double one = 1.0L;
    ASSERT_NE(one + 0x1p-63L, 1.0L) << "the FPU does not keep 64 bits";
    ASSERT_EQ(one + 0x1p-64L, 1.0L) << "the FPU does not round ties to even";
    ASSERT_EQ(one + 0x1.8p-64L, 1.0L + 0x1p-63L) << "the FPU does not round to nearest";
  }
};

TEST_F(ExtendedHardwareTest, EncodingsSurviveAndNegationMatchesHardware) {
  Tally tally("FromBits and unary minus");
  Corpus corpus(0x5EED0001);
  for (int i = 0; i < 100000; ++i) {
    const Bits a = corpus.Finite();
    const Extended x = Software(a);
    tally.Expect(BitsOf(x) == a,
                 [&] { return std::string("FromBits(") + Show(a) + ") gives " + Show(BitsOf(x)); });
    const Bits want = BitsOf(-Hardware(a));
    const Extended got = -x;
    tally.Expect(Agree(want, got), [&] {
      return std::string("-") + Show(a) + ": hardware " + Show(want) + ", software " +
             Show(BitsOf(got));
    });
  }
}

TEST_F(ExtendedHardwareTest, FromIntegerMatchesHardwareConversion) {
  Tally tally("FromInteger");
  Corpus corpus(0x5EED0002);
  const auto compare = [&](std::uint64_t value) {
    const Bits want = BitsOf(static_cast<long double>(value));
    const Extended got = Extended::FromInteger(value);
    tally.Expect(Agree(want, got), [&] {
      return std::string("FromInteger(") + std::to_string(value) + "): hardware " + Show(want) +
             ", software " + Show(BitsOf(got));
    });
  };
  for (int k = 0; k < 64; ++k) {
    const std::uint64_t power = std::uint64_t{1} << k;
    compare(power);
    compare(power - 1);
    compare(power + 1);
  }
  compare(~std::uint64_t{0});
  for (std::uint64_t value = 0; value < 10000; ++value) compare(value);
  for (int i = 0; i < 100000; ++i) {
    compare(corpus.Next() >> corpus.Between(0, 63));
  }
}

TEST_F(ExtendedHardwareTest, AdditionMatchesHardware) {
  Tally tally("addition");
  Corpus c(0x5EED0003);
  const auto add = [&](const Bits& a, const Bits& b) {
    if (c.Coin()) {
      CompareBinary(tally, Op::kAdd, a, b);
    } else {
      CompareBinary(tally, Op::kAdd, b, a);
    }
  };
  // Unrelated values: mostly one operand swamps the other.
  for (int i = 0; i < 40000; ++i) {
    const Bits a = c.Finite();
    add(a, c.Finite());
  }
  // Exponents 0 to 70 (now and then up to 200) apart, either sign:
  // alignment, carry out, cancellation.
  for (int i = 0; i < 100000; ++i) {
    const Bits a = c.Normal(1, kMaxExponent);
    const int gap = c.OneIn(8) ? c.Between(0, 200) : c.Between(0, 70);
    const bool negative = c.Coin();
    add(a, Scaled(negative, a.exponent - gap, c.Significand()));
  }
  // Halfway cases: the bits shifted out (with or without a carry out, or a
  // normalizing shift after a subtraction) are exactly 100..0, or next to it.
  for (int i = 0; i < 60000; ++i) {
    const Bits a = c.Normal(1, kMaxExponent);
    const int gap = c.Between(1, 66);
    const int width = std::min(63, gap + c.Between(-1, 1));
    const bool negative = c.Coin();
    add(a, Scaled(negative, a.exponent - gap, c.SignificandWithLowBits(std::max(1, width))));
  }
  // Same exponent, same sign: a 65-bit sum whose lowest bit is a tie when
  // set.
  for (int i = 0; i < 20000; ++i) {
    const Bits a = c.Normal(1, kMaxExponent);
    const Bits b{a.negative, a.exponent, c.Significand()};
    add(a, b);
  }
  // Near the largest finite value: sums that overflow or just fail to.
  for (int i = 0; i < 20000; ++i) {
    Bits a = c.Normal(kMaxExponent - 3, kMaxExponent);
    if (c.Coin()) a.significand = ~std::uint64_t{0};
    const int gap = c.Between(0, 70);
    const bool negative = c.OneIn(4) ? !a.negative : a.negative;
    const std::uint64_t significand =
        c.Coin() ? c.Significand() : c.SignificandWithLowBits(std::clamp(gap, 1, 63));
    add(a, Scaled(negative, a.exponent - gap, significand));
  }
  // Subnormal operands, and sums crossing the normal threshold both ways.
  for (int i = 0; i < 30000; ++i) {
    const Bits a = c.Coin() ? c.Subnormal() : c.Normal(1, 3);
    Bits b = c.Subnormal();
    if (c.Coin()) {
      const bool negative = c.Coin();
      const int exponent = c.Between(-70, 70);
      b = Scaled(negative, exponent, c.Significand());
    }
    add(a, b);
  }
  // Near cancellation: x + -(x +- small), also with the exponents one
  // apart; at low exponents the difference is subnormal.
  for (int i = 0; i < 30000; ++i) {
    const Bits a = c.Coin() ? c.Normal(1, 80) : c.Normal(1, kMaxExponent);
    const std::uint64_t delta = c.Next() >> c.Between(30, 63);
    Bits b = Negated(a);
    if (c.OneIn(3) && a.exponent > 1) {
      b.exponent = static_cast<std::uint16_t>(a.exponent - 1);
      b.significand = ~std::uint64_t{0} - delta;
    } else if (a.significand >= delta && a.significand - delta >= kIntegerBit) {
      b.significand = a.significand - delta;
    } else {
      b.significand = a.significand + delta;
    }
    add(a, b);
  }
  // Exact cancellation and signed zeros: x + -x is +0; -0 + -0 is -0.
  for (int i = 0; i < 3000; ++i) {
    const Bits a = c.Finite();
    add(a, Negated(a));
    add(a, Bits{c.Coin(), 0, 0});
  }
  for (const bool p : {false, true}) {
    for (const bool q : {false, true}) {
      CompareBinary(tally, Op::kAdd, Bits{p, 0, 0}, Bits{q, 0, 0});
    }
  }
}

TEST_F(ExtendedHardwareTest, MultiplicationMatchesHardware) {
  Tally tally("multiplication");
  Corpus c(0x5EED0004);
  const auto multiply = [&](const Bits& a, const Bits& b) {
    CompareBinary(tally, Op::kMultiply, a, b);
  };
  // Unrelated values.
  for (int i = 0; i < 40000; ++i) {
    const Bits a = c.Finite();
    multiply(a, c.Finite());
  }
  // Products aimed at a result exponent: anywhere, near and below the
  // normal threshold, around the overflow threshold.
  const auto aimed = [&](std::uint64_t sa, std::uint64_t sb) {
    const int target = c.ResultExponent();
    const int lo = std::max(1, target + kBias - kMaxExponent);
    const int hi = std::min(kMaxExponent, target + kBias - 1);
    if (lo > hi) return;
    const int ea = c.Between(lo, hi);
    const Bits a{c.Coin(), static_cast<std::uint16_t>(ea), sa};
    multiply(a, Bits{c.Coin(), static_cast<std::uint16_t>(target + kBias - ea), sb});
  };
  for (int i = 0; i < 150000; ++i) {
    const std::uint64_t sa = c.Significand();
    aimed(sa, c.Significand());
  }
  // Whole numbers whose exact product needs 65 or 66 bits (odd times odd,
  // so a 65-bit product is an exact tie), as they are and aimed at the
  // subnormal range and the overflow threshold.
  for (int i = 0; i < 40000; ++i) {
    const int la = c.Between(2, 64);
    const int lb = 66 - la - (c.OneIn(4) ? 1 : 0);
    const std::uint64_t a = c.OddInteger(la);
    const std::uint64_t b = c.OddInteger(std::clamp(lb, 1, 64));
    if (c.Coin()) {
      const Bits x = IntegerBits(a, c.Coin());
      multiply(x, IntegerBits(b, c.Coin()));
    } else {
      aimed(IntegerBits(a).significand, IntegerBits(b).significand);
    }
  }
  // Subnormal times normal, aimed near the subnormal range and anywhere.
  for (int i = 0; i < 20000; ++i) {
    const Bits a = c.NonzeroSubnormal();
    const int effective = 1 - std::countl_zero(a.significand);
    const int target = c.Coin() ? c.Between(-70, 5) : c.ResultExponent();
    const int eb = target - effective + kBias;
    if (eb < 1 || eb > kMaxExponent) continue;
    multiply(a, Bits{c.Coin(), static_cast<std::uint16_t>(eb), c.Significand()});
  }
  // Scaling by 2^-j into the subnormal range so that exactly the low `w`
  // bits are dropped, those bits being at or next to the halfway pattern.
  for (int i = 0; i < 10000; ++i) {
    const int w = c.Between(1, 63);
    const int ea = c.Between(1, 10);
    const int j = w + ea - 1;
    const Bits a{c.Coin(), static_cast<std::uint16_t>(ea), c.SignificandWithLowBits(w)};
    multiply(a, Bits{c.Coin(), static_cast<std::uint16_t>(kBias - j), kIntegerBit});
  }
  // Zeros: the sign is the exclusive or of the signs.
  for (int i = 0; i < 2000; ++i) {
    const Bits zero{c.Coin(), 0, 0};
    multiply(zero, c.Finite());
    multiply(c.Finite(), zero);
  }
}

TEST_F(ExtendedHardwareTest, DivisionMatchesHardware) {
  Tally tally("division");
  Corpus c(0x5EED0005);
  const auto divide = [&](const Bits& a, Bits b) {
    if (IsZero(b)) b.significand = 1;  // the divisor must not be zero
    CompareBinary(tally, Op::kDivide, a, b);
  };
  // Unrelated values.
  for (int i = 0; i < 30000; ++i) {
    const Bits a = c.Finite();
    divide(a, c.Finite());
  }
  // Quotients aimed at a result exponent.
  for (int i = 0; i < 150000; ++i) {
    const int target = c.ResultExponent();
    const int lo = std::max(1, target - kBias + 1);
    const int hi = std::min(kMaxExponent, target - kBias + kMaxExponent);
    if (lo > hi) continue;
    const int ea = c.Between(lo, hi);
    const Bits a{c.Coin(), static_cast<std::uint16_t>(ea), c.Significand()};
    divide(a, Bits{c.Coin(), static_cast<std::uint16_t>(ea - target + kBias), c.Significand()});
  }
  // Subnormal divisors: quotients up to and beyond the overflow threshold.
  for (int i = 0; i < 15000; ++i) {
    const Bits b = c.NonzeroSubnormal();
    const int effective = 1 - std::countl_zero(b.significand);
    const int target = c.ResultExponent();
    const int ea = target + effective - kBias;
    if (ea < 1 || ea > kMaxExponent) continue;
    divide(Bits{c.Coin(), static_cast<std::uint16_t>(ea), c.Significand()}, b);
  }
  // Subnormal dividends.
  for (int i = 0; i < 15000; ++i) {
    const Bits a = c.Subnormal();
    divide(a, c.Normal(kBias - 70, kBias + 70));
  }
  // Small whole divisors (10 among them) and powers of two, with dividends
  // near the bottom of the range, anywhere, and near the top.
  for (int i = 0; i < 30000; ++i) {
    static constexpr std::uint64_t kSmall[] = {1, 2, 3, 5, 7, 9, 10, 11, 100};
    std::uint64_t d;
    switch (c.Below(3)) {
      case 0:
        d = kSmall[c.Below(std::size(kSmall))];
        break;
      case 1:
        d = std::uint64_t{1} << c.Between(0, 63);
        break;
      default:
        d = static_cast<std::uint64_t>(c.Between(1, 100000));
        break;
    }
    const Bits a = c.Coin() ? c.Normal(1, 140) : c.Finite();
    divide(a, IntegerBits(d, c.Coin()));
  }
  // Division by 2^j into the subnormal range dropping exactly `w` low bits,
  // at or next to the halfway pattern.
  for (int i = 0; i < 10000; ++i) {
    const int w = c.Between(1, 63);
    const int ea = c.Between(1, 10);
    const int j = w + ea - 1;
    const Bits a{c.Coin(), static_cast<std::uint16_t>(ea), c.SignificandWithLowBits(w)};
    divide(a, Bits{c.Coin(), static_cast<std::uint16_t>(kBias + j), kIntegerBit});
  }
  // Exact quotients: (b * q) / b for small whole q.
  for (int i = 0; i < 10000; ++i) {
    const Bits b = c.Normal(kBias - 200, kBias + 200);
    const long double q = static_cast<long double>(c.Between(1, 1000));
    const Bits a = BitsOf(Hardware(b) * q);
    divide(a, b);
  }
  // Zero dividends keep the exclusive or of the signs.
  for (int i = 0; i < 2000; ++i) {
    const Bits zero{c.Coin(), 0, 0};
    divide(zero, c.Finite());
  }
}

TEST_F(ExtendedHardwareTest, ToDoubleMatchesHardware) {
  Tally tally("ToDouble");
  Corpus c(0x5EED0006);
  // Biased extended exponents of the double's landmarks.
  constexpr int kDoubleMinNormal = kBias - 1022;     // 2^-1022
  constexpr int kDoubleMaxExponent = kBias + 1023;   // top binade
  constexpr int kDoubleMinSubnormal = kBias - 1074;  // 2^-1074
  const auto convert = [&](const Bits& a) {
    const double want = static_cast<double>(Hardware(a));
    const double got = Software(a).ToDouble();
    tally.Expect(std::bit_cast<std::uint64_t>(want) == std::bit_cast<std::uint64_t>(got), [&] {
      return std::string("ToDouble(") + Show(a) + "): hardware " + ShowDouble(want) +
             ", software " + ShowDouble(got);
    });
  };
  // Anything at all: most of the range overflows or goes to zero.
  for (int i = 0; i < 30000; ++i) convert(c.Finite());
  // The double's range and a margin either side.
  for (int i = 0; i < 100000; ++i) {
    convert(c.Normal(kDoubleMinSubnormal - 30, kDoubleMaxExponent + 5));
  }
  // Ties in the normal range: the 11 dropped bits are 0x400 (or next to
  // it), the lowest kept bit even or odd.
  for (int i = 0; i < 40000; ++i) {
    Bits a = c.Normal(kDoubleMinNormal, kDoubleMaxExponent);
    a.significand = c.SignificandWithLowBits(11);
    convert(a);
  }
  // Ties in the subnormal range: more bits dropped the lower the value,
  // down to 2^-1075 (halfway between zero and the smallest subnormal).
  for (int i = 0; i < 40000; ++i) {
    const int exponent = c.Between(kDoubleMinSubnormal - 1, kDoubleMinNormal - 1);
    const int width = 11 + (kDoubleMinNormal - exponent);
    Bits a{c.Coin(), static_cast<std::uint16_t>(exponent), 0};
    if (width >= 64) {
      a.significand = c.Coin() ? kIntegerBit : c.Significand();
    } else {
      a.significand = c.SignificandWithLowBits(width);
    }
    convert(a);
  }
  // Around the largest double: 53 ones then dropped bits at, below and
  // above the tie that rounds up to 2^1024 (overflow).
  for (int i = 0; i < 20000; ++i) {
    Bits a{c.Coin(),
           static_cast<std::uint16_t>(c.Between(kDoubleMaxExponent - 1, kDoubleMaxExponent + 1)),
           0};
    const std::uint64_t high = c.OneIn(3) ? ~std::uint64_t{0} : c.Next() | kIntegerBit;
    a.significand = (high & ~Corpus::LowMask(11)) | c.HalfwayPattern(11);
    if (c.OneIn(4)) a.significand = c.Significand();
    convert(a);
  }
  // Around the smallest normal and smallest subnormal doubles.
  for (int i = 0; i < 20000; ++i) {
    const int around = c.Coin() ? kDoubleMinNormal : kDoubleMinSubnormal;
    convert(c.Normal(around - 3, around + 3));
  }
  // Extended subnormals, zeros, the extremes of the extended range.
  for (int i = 0; i < 2000; ++i) convert(c.Subnormal());
  for (const bool negative : {false, true}) {
    convert(Bits{negative, 0, 0});
    convert(Bits{negative, kMaxExponent, ~std::uint64_t{0}});
    convert(Bits{negative, 1, kIntegerBit});
  }
}

TEST_F(ExtendedHardwareTest, PowersOfTenAndDigitChainsMatchHardware) {
  Tally tally("powers of ten and digit chains");
  Corpus c(0x5EED0007);
  const Bits ten = IntegerBits(10);
  // p = 1, p = p * 10, ...: every step up to 10^4932 and the step after it,
  // which overflows.  The software chain runs on its own results.
  std::vector<Bits> powers;  // 10^0 .. 10^4932, from the hardware
  {
    long double hardware = 1;
    Extended software = Software(IntegerBits(1));
    powers.push_back(BitsOf(hardware));
    int overflow_step = 0;
    for (int k = 1; overflow_step == 0; ++k) {
      const Bits previous = BitsOf(hardware);
      hardware = hardware * 10;
      software = software * Software(ten);
      const Bits want = BitsOf(hardware);
      tally.Expect(Agree(want, software), [&] {
        return std::string("10^") + std::to_string(k) + " = " + Show(previous) +
               " * 10: hardware " + Show(want) + ", software " + Show(BitsOf(software));
      });
      if (std::isinf(hardware)) {
        overflow_step = k;
      } else {
        powers.push_back(want);
      }
    }
    EXPECT_EQ(overflow_step, 4933);
  }
  const std::size_t kMaxPower = powers.size() - 1;
  // Every power applied to assorted values by one multiplication and one
  // division; and the two-stage form used above 10^4930.
  const Bits p4930 = powers[std::min<std::size_t>(4930, kMaxPower)];
  for (std::size_t k = 0; k <= kMaxPower; ++k) {
    for (int i = 0; i < 8; ++i) {
      Bits r;
      switch (c.Below(3)) {
        case 0:
          r = IntegerBits(c.Next() >> c.Between(0, 63));
          r.negative = c.Coin();
          break;
        case 1:
          r = c.Normal(kBias - 100, kBias + 100);
          break;
        default:
          r = c.Finite();
          break;
      }
      CompareBinary(tally, Op::kMultiply, r, powers[k]);
      CompareBinary(tally, Op::kDivide, r, powers[k]);
    }
    Bits r = IntegerBits(c.Next() >> c.Between(0, 63));
    r.negative = c.Coin();
    const Bits up = BitsOf(Hardware(r) * Hardware(p4930));
    const Bits down = BitsOf(Hardware(r) / Hardware(p4930));
    CompareBinary(tally, Op::kMultiply, r, p4930);
    CompareBinary(tally, Op::kDivide, r, p4930);
    if (up.exponent != kInfinityExponent) {
      CompareBinary(tally, Op::kMultiply, up, powers[k]);
    }
    if (!IsZero(down)) CompareBinary(tally, Op::kDivide, down, powers[k]);
  }
  // Digit chains r = r * 10 + d, each run on its own results; a few are
  // long enough to overflow.
  const auto chain = [&](int length, bool all_nines) {
    long double hardware = 0;
    Extended software;
    for (int k = 0; k < length; ++k) {
      const std::uint64_t digit = all_nines ? 9 : c.Below(10);
      const Bits before = BitsOf(hardware);
      hardware = hardware * 10;
      software = software * Software(ten);
      Bits want = BitsOf(hardware);
      const auto describe = [&] {
        return std::string("digit ") + std::to_string(k + 1) + " (" + std::to_string(digit) +
               ") after " + Show(before) + ": hardware " + Show(want) + ", software " +
               Show(BitsOf(software));
      };
      if (!tally.Expect(Agree(want, software), describe)) return;
      if (std::isinf(hardware)) return;
      hardware = hardware + static_cast<long double>(digit);
      software = software + Software(IntegerBits(digit));
      want = BitsOf(hardware);
      if (!tally.Expect(Agree(want, software), describe)) return;
      if (std::isinf(hardware)) return;
    }
  };
  for (int i = 0; i < 2000; ++i) {
    const int length = c.OneIn(10) ? c.Between(1, 400) : c.Between(1, 40);
    chain(length, c.OneIn(20));
  }
  chain(4940, true);
  for (int i = 0; i < 4; ++i) chain(4945, false);
}

// ---------------------------------------------------------------------------
// Whole conversions against a reference written in `long double`.

using Outcome = ParsedNumber::Outcome;

std::string Quote(std::string_view token) {
  std::string text = "\"";
  const auto put = [&](std::string_view part) {
    for (const char ch : part) {
      if (ch == '\t') {
        text += "\\t";
      } else if (ch == '"' || ch == '\\') {
        text += '\\';
        text += ch;
      } else {
        text += ch;
      }
    }
  };
  if (token.size() <= 100) {
    put(token);
  } else {
    put(token.substr(0, 60));
    text += "...";
    put(token.substr(token.size() - 30));
  }
  text += "\" (" + std::to_string(token.size()) + " bytes)";
  return text;
}

void CompareConversion(Tally& tally, std::string_view token) {
  const Reference want = ReferenceParse(token);
  const ParsedNumber got = ParseNumber(token);
  const bool agree = want.outcome == got.outcome &&
                     (want.outcome != Outcome::kNumber || Agree(BitsOf(want.value), got.value));
  tally.Expect(agree, [&] {
    std::string text = Quote(token) + ": reference " + Name(want.outcome);
    if (want.outcome == Outcome::kNumber) text += std::string(" ") + Show(BitsOf(want.value));
    text += ", ParseNumber ";
    text += Name(got.outcome);
    if (got.outcome == Outcome::kNumber) text += std::string(" ") + Show(BitsOf(got.value));
    return text;
  });
}

// Token generators.

std::string DigitString(Corpus& c, int count) {
  std::string digits;
  const std::uint64_t style = c.Below(12);
  for (int k = 0; k < count; ++k) {
    char ch = static_cast<char>('0' + c.Below(10));
    if (style == 0 || (style == 1 && k < count / 2)) ch = '0';
    if (style == 2) ch = '9';
    digits += ch;
  }
  return digits;
}

std::string SignText(Corpus& c) {
  switch (c.Below(4)) {
    case 0:
      return "+";
    case 1:
      return "-";
    default:
      return "";
  }
}

/// E or e, the sign and the digits of `value`, with leading zeros now and
/// then.
std::string ExponentText(Corpus& c, bool negative, std::int64_t value) {
  std::string text = c.Coin() ? "e" : "E";
  if (negative) {
    text += '-';
  } else if (c.OneIn(3)) {
    text += '+';
  }
  if (c.OneIn(8))
    text += std::string(static_cast<std::size_t>(c.OneIn(4) ? 25 : c.Between(1, 3)), '0');
  text += std::to_string(value);
  return text;
}

struct Mantissa {
  std::string text;
  int fraction_digits = 0;
};

/// Digits with or without a point: leading, inner or trailing.
Mantissa MakeMantissa(Corpus& c, int integer_digits, int fraction_digits, bool point) {
  Mantissa mantissa;
  mantissa.text = DigitString(c, integer_digits);
  if (point) {
    mantissa.text += '.';
    mantissa.text += DigitString(c, fraction_digits);
    mantissa.fraction_digits = fraction_digits;
  }
  return mantissa;
}

std::string OrdinaryToken(Corpus& c) {
  std::string token;
  if (c.OneIn(50)) token += c.Coin() ? " " : "\t ";
  token += SignText(c);
  int integer_digits = c.OneIn(10) ? c.Between(0, 300) : c.Between(0, 40);
  const bool point = c.Coin();
  const int fraction_digits = !point ? 0 : (c.OneIn(10) ? c.Between(0, 300) : c.Between(0, 40));
  if (integer_digits + fraction_digits == 0 && !c.OneIn(20)) integer_digits = 1;
  token += MakeMantissa(c, integer_digits, fraction_digits, point).text;
  if (!c.OneIn(3)) {
    const std::int64_t value = c.OneIn(4) ? c.Between(0, 400) : c.Between(0, 40);
    token += ExponentText(c, c.Coin(), value);
  }
  return token;
}

/// Decimal digits of a value close to a landmark: `prefix` followed by up to
/// `extra` random digits, with a point placed anywhere and the exponent
/// chosen so that the first digit stands for 10^`leading_power`.
std::string NearLandmarkToken(Corpus& c, const std::string& prefix, int leading_power, int extra) {
  std::string digits =
      prefix.substr(0, static_cast<std::size_t>(c.Between(1, static_cast<int>(prefix.size()))));
  digits += DigitString(c, c.Between(0, extra));
  if (c.OneIn(4)) digits.back() = static_cast<char>('0' + c.Below(10));
  const int before_point = c.Between(1, static_cast<int>(digits.size()));
  std::string token = c.OneIn(4) ? "-" : "";
  token += digits.substr(0, static_cast<std::size_t>(before_point));
  if (before_point < static_cast<int>(digits.size()) || c.Coin()) {
    token += '.';
    token += digits.substr(static_cast<std::size_t>(before_point));
  }
  const std::int64_t exponent = leading_power - (before_point - 1);
  token += ExponentText(c, exponent < 0, exponent < 0 ? -exponent : exponent);
  return token;
}

/// Tokens whose net power of ten is large: thousands of multiplications.
std::string LargePowerToken(Corpus& c) {
  static constexpr int kNetPowers[] = {4929, 4930, 4931, 4932, 4933, 9860, 9861, 9862, 9863};
  switch (c.Below(8)) {
    case 0: {  // exponent anywhere in 0 .. 5000
      const int digits = c.Between(1, 25);
      const bool point = c.Coin();
      const int fraction = point ? c.Between(0, digits) : 0;
      std::string token = SignText(c);
      token += MakeMantissa(c, digits - fraction, fraction, point).text;
      const bool negative = c.Coin();
      token += ExponentText(c, negative, c.Between(0, 5000));
      return token;
    }
    case 1:
    case 2: {  // net power at the limits, fraction digits shifting it
      const int n = kNetPowers[c.Below(std::size(kNetPowers))];
      const bool negative = c.Coin();
      const int fraction = c.OneIn(3) ? 0 : c.Between(0, 25);
      const bool point = fraction > 0 || c.OneIn(4);
      std::string token = SignText(c);
      token += MakeMantissa(c, c.Between(0, 5), fraction, point).text;
      if (token.find_first_of("0123456789") == std::string::npos) token += '1';
      const std::int64_t exponent = negative ? n - fraction : n + fraction;
      token += ExponentText(c, negative, exponent);
      return token;
    }
    case 3: {  // subnormal results: net powers 4934 .. 4975 downwards
      std::string token = SignText(c);
      const int fraction = c.Between(0, 20);
      token += MakeMantissa(c, c.Between(1, 20), fraction, fraction > 0).text;
      token += ExponentText(c, true, c.Between(4934, 4975) - fraction);
      return token;
    }
    case 4: {  // zero mantissas with net powers at the upper limit
      const int n = c.Between(9860, 9863);
      const int fraction = c.Between(0, 3);
      std::string token = SignText(c);
      token += std::string(static_cast<std::size_t>(c.Between(1, 3)), '0');
      if (fraction > 0 || c.Coin())
        token += std::string(".") + std::string(static_cast<std::size_t>(fraction), '0');
      const bool negative = c.Coin();
      token += ExponentText(c, negative, negative ? n - fraction : n + fraction);
      return token;
    }
    case 5:  // next to the largest finite extended value
      return NearLandmarkToken(c, "11897314953572317650", 4932, 6);
    case 6:  // next to the smallest subnormal and half of it
      return c.Coin() ? NearLandmarkToken(c, "36451995318824746025", -4951, 6)
                      : NearLandmarkToken(c, "18225997659412373012", -4951, 6);
    default: {  // exponents at and beyond the 32-bit limit
      static constexpr std::int64_t kExponents[] = {
          2147483647, 2147483646, 2147483648, 2147483657, 4294967296, 99999999999, 1234567890123};
      const int fraction = c.Between(0, 12);
      std::string token = SignText(c);
      const int integer_digits = c.Between(0, 4);
      const bool point = fraction > 0 || c.Coin();
      token += MakeMantissa(c, integer_digits, fraction, point).text;
      if (token.find_first_of("0123456789") == std::string::npos) token += '7';
      const bool negative = c.Coin();
      token += ExponentText(c, negative, kExponents[c.Below(std::size(kExponents))]);
      return token;
    }
  }
}

/// A token with one defect: a byte inserted, replaced or removed, or a
/// malformed piece added before or after.
std::string Damaged(Corpus& c, std::string token) {
  static constexpr char kBytes[] = "..++--eEx ,\t$0";
  static constexpr const char* kSuffixes[] = {"x",  ".",  "e", "e+", "E-",
                                              ".5", "e5", " ", "-",  "1e5000x"};
  static constexpr const char* kPrefixes[] = {"++", "+-", "--", ".", "e", "x", "-.", "+e"};
  const char byte = kBytes[c.Below(sizeof kBytes - 1)];
  const std::size_t at = c.Below(token.size() + 1);
  switch (c.Below(6)) {
    case 0:
    case 1:
      token.insert(at, 1, byte);
      break;
    case 2:
      if (at < token.size()) {
        token[at] = byte;
      } else {
        token += byte;
      }
      break;
    case 3:
      if (at < token.size()) token.erase(at, 1);
      break;
    case 4:
      token += kSuffixes[c.Below(std::size(kSuffixes))];
      break;
    default:
      token.insert(0, kPrefixes[c.Below(std::size(kPrefixes))]);
      break;
  }
  return token;
}

TEST_F(ExtendedHardwareTest, ParseNumberMatchesReferenceOnChosenTokens) {
  Tally tally("ParseNumber, chosen tokens");
  static constexpr const char* kTokens[] = {"6",
                                            "+6",
                                            "06",
                                            "6.",
                                            "6.0",
                                            "6e0",
                                            "6E+0",
                                            "0.6e1",
                                            "60e-1",
                                            ".5",
                                            "5.e3",
                                            "-.5",
                                            "284.0",
                                            "0.1e2",
                                            "72.000",
                                            "1.0000000000000001",
                                            "1e-400",
                                            "1e400",
                                            "1e5000",
                                            "1e-10000",
                                            "0e10000",
                                            "1e5000x",
                                            "1e-5000x",
                                            "0e9862",
                                            "0e9863",
                                            "-0e9862",
                                            "0.0e9863",
                                            "0e-9863",
                                            "1e4932",
                                            "1.1e4932",
                                            "1.18973149535723176502e4932",
                                            "1.18973149535723176503e4932",
                                            "1e-4951",
                                            "2e-4951",
                                            "3.6e-4951",
                                            "1.8225997659412373012e-4951",
                                            "1.8225997659412373013e-4951",
                                            "-0",
                                            "-0.0",
                                            "+0",
                                            "0",
                                            "00000",
                                            "0.",
                                            ".0",
                                            " 6",
                                            "\t6",
                                            " \t-6",
                                            "18446744073709551615",
                                            "18446744073709551616",
                                            "36893488147419103231",
                                            "9007199254740993",
                                            "9223372036854775809",
                                            "1e2147483647",
                                            "1e-2147483647",
                                            "1e2147483648",
                                            "1e-2147483648",
                                            "0.1e2147483647",
                                            "0.1e-2147483647",
                                            "1e00000000000000000000000005",
                                            "1e99999999999999999999",
                                            "0e99999999999999999999",
                                            "1e99999999999999999999x",
                                            "12abc",
                                            "1,5",
                                            "$10",
                                            "NaN",
                                            "Inf",
                                            "inf",
                                            "nan",
                                            ".",
                                            "+",
                                            "-",
                                            "++5",
                                            "+-5",
                                            "6e",
                                            "6e+",
                                            "6E-",
                                            ".e3",
                                            "e5",
                                            "",
                                            "1..2",
                                            "1.2.3",
                                            "1e5e5",
                                            "1e5.5",
                                            "0x10",
                                            "1 2",
                                            "6 ",
                                            "6\t",
                                            "1e+-5",
                                            "-e5",
                                            "5-",
                                            "1.e",
                                            "1.E+"};
  for (const char* token : kTokens) CompareConversion(tally, token);
  // The same forms of the small answers, padded with zeros.
  for (int zeros = 0; zeros < 300; zeros += 7) {
    const std::string pad(static_cast<std::size_t>(zeros), '0');
    CompareConversion(tally, pad + "6");
    CompareConversion(tally, "6." + pad);
    CompareConversion(tally, "0." + pad + "6e" + std::to_string(zeros + 1));
    CompareConversion(tally, pad + "6" + pad + "e-" + std::to_string(zeros));
  }
}

TEST_F(ExtendedHardwareTest, ParseNumberMatchesReferenceOnOrdinaryTokens) {
  Tally tally("ParseNumber, ordinary tokens");
  Corpus c(0x5EED0008);
  for (int i = 0; i < 150000; ++i) CompareConversion(tally, OrdinaryToken(c));
}

TEST_F(ExtendedHardwareTest, ParseNumberMatchesReferenceOnLargePowers) {
  Tally tally("ParseNumber, large powers");
  Corpus c(0x5EED0009);
  for (int i = 0; i < 4000; ++i) CompareConversion(tally, LargePowerToken(c));
  // Fraction digits outnumbering a positive exponent by about 4930 and
  // 9862, so that the net power turns negative.
  for (int i = 0; i < 30; ++i) {
    const int n = c.Coin() ? c.Between(4925, 4940) : c.Between(9855, 9865);
    const int exponent = c.Between(0, 50);
    std::string token = "0.";
    token += std::string(static_cast<std::size_t>(n + exponent - 3), '0');
    token += DigitString(c, 3);
    token += ExponentText(c, false, exponent);
    CompareConversion(tally, token);
  }
  // Exponents at the 32-bit limit, with and without leading zeros, and
  // fraction digits pushing the net power over it.
  for (const char* exponent :
       {"2147483646", "2147483647", "2147483648", "4294967296", "21474836470"}) {
    for (const char* mantissa : {"0", "7", "0.5", "7.000000005", "0.0000000001"}) {
      for (const char* sign : {"", "-"}) {
        for (const char* zeros : {"", "000000000000"}) {
          CompareConversion(tally, std::string(mantissa) + "e" + sign + zeros + exponent);
        }
      }
    }
  }
  // Long tokens are converted whole, whatever their length.
  for (const std::size_t length : {254u, 255u, 256u, 257u, 1000u}) {
    for (const char* tail : {"", "6", "6e-1", ".5", "e-400", "x"}) {
      CompareConversion(tally, std::string(length, '0') + tail);
      CompareConversion(tally, std::string("0.") + std::string(length, '0') + "1" + tail);
      CompareConversion(tally, std::string("1") + std::string(length, '0') + tail);
    }
  }
  // Mantissas long enough to overflow while the digits are accumulated,
  // ahead of a malformed exponent or trailing bytes.
  for (const char* tail : {"", "e", "e+", "x", "e-99999"}) {
    CompareConversion(tally, std::string(4933, '9') + tail);
    CompareConversion(tally, std::string("1") + std::string(4932, '0') + tail);
    CompareConversion(tally, std::string(4932, '9') + tail);
  }
}

TEST_F(ExtendedHardwareTest, ParseNumberMatchesReferenceOnMalformedTokens) {
  Tally tally("ParseNumber, malformed tokens");
  Corpus c(0x5EED000A);
  for (int i = 0; i < 60000; ++i) {
    CompareConversion(tally, Damaged(c, OrdinaryToken(c)));
  }
  for (int i = 0; i < 500; ++i) {
    CompareConversion(tally, Damaged(c, LargePowerToken(c)));
  }
}

}  // namespace
}  // namespace igra
