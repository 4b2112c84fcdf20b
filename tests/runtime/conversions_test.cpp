// Number conversions as the handlers use them on what a player types.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "runtime/conversions.hpp"

namespace numerak {
namespace {

TEST(ToNumber, readsWhatPlayersType) {
    EXPECT_EQ(ToNumber("3"), 3.0);
    EXPECT_EQ(ToNumber("3.0"), 3.0);
    EXPECT_EQ(ToNumber("03"), 3.0);
    EXPECT_EQ(ToNumber(" 3 "), 3.0);
    EXPECT_EQ(ToNumber("\t3"), 3.0);
    EXPECT_EQ(ToNumber("+3"), 3.0);
    EXPECT_EQ(ToNumber("-3"), -3.0);
    EXPECT_EQ(ToNumber("3e0"), 3.0);
    EXPECT_EQ(ToNumber("0.3E1"), 3.0);
    EXPECT_EQ(ToNumber("3.5"), 3.5);
    EXPECT_EQ(ToNumber(".5"), 0.5);
    EXPECT_EQ(ToNumber("5."), 5.0);
    EXPECT_EQ(ToNumber("-0"), 0.0);
    EXPECT_EQ(ToNumber(std::string(10'000, '0') + "7"), 7.0);
}

TEST(ToNumber, tinyValuesReadAsZero) {
    EXPECT_EQ(ToNumber("1e-400"), 0.0);
    EXPECT_EQ(ToNumber("0." + std::string(400, '0') + "1"), 0.0);
}

TEST(ToNumber, refusesWhatIsNotAPlainNumber) {
    for (const char* bad :
         {"",   " ",   "abc", "3a", "a3", "nan", "NaN", "inf", "-inf", "infinity", "0x10",        "3,5",
          "1e", "1e+", "e5",  ".",  "+",  "-",   "--3", "+-3", "3 3",  "1.2.3",    "\xEF\xBC\x93" /* full-width 3 */}) {
        EXPECT_THROW(ToNumber(bad), ConversionFailure) << '"' << bad << '"';
    }
    EXPECT_THROW(ToNumber(std::string("3\0", 2)), ConversionFailure);
}

TEST(ToNumber, refusesWhatOverflowsADouble) {
    EXPECT_THROW(ToNumber("1e309"), ConversionFailure);
    EXPECT_THROW(ToNumber("-1e309"), ConversionFailure);
    EXPECT_THROW(ToNumber(std::string(400, '9')), ConversionFailure);
    EXPECT_THROW(ToNumber("1e99999999999999999999"), ConversionFailure);
    EXPECT_EQ(ToNumber("1e308"), 1e308);
}

TEST(FloorToInteger, floorsTowardsMinusInfinity) {
    EXPECT_EQ(FloorToInteger(7.9), 7);
    EXPECT_EQ(FloorToInteger(-0.5), -1);
    EXPECT_EQ(FloorToInteger(-3.0), -3);
    EXPECT_EQ(FloorToInteger(32767.99), 32767);
    EXPECT_EQ(FloorToInteger(-32768.0), -32768);
}

TEST(FloorToInteger, refusesResultsOutsideSixteenBits) {
    EXPECT_THROW(FloorToInteger(32768.0), ConversionFailure);
    EXPECT_THROW(FloorToInteger(-32768.5), ConversionFailure);
    EXPECT_THROW(FloorToInteger(1e308), ConversionFailure);
    EXPECT_THROW(FloorToInteger(std::numeric_limits<double>::quiet_NaN()), ConversionFailure);
    EXPECT_THROW(FloorToInteger(std::numeric_limits<double>::infinity()), ConversionFailure);
}

TEST(IntegerText, hasNoLeadingBlank) {
    EXPECT_EQ(IntegerText(5), "5");
    EXPECT_EQ(IntegerText(-3), "-3");
    EXPECT_EQ(IntegerText(0), "0");
    EXPECT_EQ(IntegerText(-32768), "-32768");
}

TEST(Decrement, stopsAtTheBottomOfTheRange) {
    std::int16_t n = -32767;
    Decrement(n);
    EXPECT_EQ(n, -32768);
    EXPECT_THROW(Decrement(n), OverflowFailure);
    EXPECT_EQ(n, -32768);
}

}  // namespace
}  // namespace numerak
