// Conversion of a typed answer into a number.
#ifndef IGRA_CONSOLE_PARSE_NUMBER_H_
#define IGRA_CONSOLE_PARSE_NUMBER_H_

#include <string_view>

#include "console/extended.h"

namespace igra {

/// What ParseNumber made of a token.
struct ParsedNumber {
  enum class Outcome {
    kNumber,     ///< `value` holds the converted number.
    kNotNumber,  ///< the token is not a number (run-time error 106).
    kOverflow,   ///< the arithmetic left the extended range (error 205).
  };
  Outcome outcome = Outcome::kNotNumber;
  Extended value;
};

/// Converts `token` in 80-bit extended precision.
///
/// The form: optional tabs or blanks, an optional sign, digits with at most
/// one point (at least one digit), optionally E or e with an optional sign
/// and at least one digit, and nothing after.  The digits are accumulated as
/// r = r * 10 + d, the net power of ten n is formed from the exponent and the
/// count of fraction digits, 10^n is built by repeated multiplication (in two
/// parts above 10^4930) and applied by multiplication or division.  Every
/// step is rounded to extended.  Any overflow in that arithmetic gives
/// kOverflow, and so does a net power above 9862 or an exponent too large
/// for 32 bits; the check for bytes after the number comes last, so a
/// malformed token whose arithmetic overflows is an overflow.
ParsedNumber ParseNumber(std::string_view token);

}  // namespace igra

#endif  // IGRA_CONSOLE_PARSE_NUMBER_H_
