// conversions.hpp: the number conversions the handlers rely on, and the failures they raise.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/failure.hpp"

namespace numerak {

// Text that does not read as a number, or a number that does not fit its target.
class ConversionFailure : public RuntimeFailure {
public:
    using RuntimeFailure::RuntimeFailure;
};

// A 16-bit counter stepped past its range.
class OverflowFailure : public RuntimeFailure {
public:
    using RuntimeFailure::RuntimeFailure;
};

// Reads a plain decimal number as a player types it: blanks around it, an optional sign, digits
// with an optional decimal point, an optional exponent. The same in every locale. Anything else,
// the empty text, "nan", "inf" and values beyond a double's range raise ConversionFailure.
double ToNumber(std::string_view text);

// The largest integer not above the number, as a 16-bit signed integer; ConversionFailure
// outside -32768 to 32767 (and for NaN).
std::int16_t FloorToInteger(double number);

// Decimal text, with a minus sign when negative and no leading blank.
std::string IntegerText(long long value);

// Subtracts one from a 16-bit counter; OverflowFailure at -32768, leaving it unchanged.
void Decrement(std::int16_t& counter);

}  // namespace numerak
