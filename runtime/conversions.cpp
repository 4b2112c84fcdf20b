// conversions.cpp: number conversions, locale-independent.
#include "runtime/conversions.hpp"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <system_error>

namespace numerak {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// What from_chars reads besides plain decimals ("inf", "nan", hexadecimal in some modes) is not a
// number a player types, so the text is checked against the decimal grammar first.
bool isPlainDecimal(std::string_view s) {
    std::size_t i = 0;
    std::size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0) return false;
    }
    return i == s.size();
}

// Whether a decimal that from_chars found out of range is too large (rather than too small):
// where its first significant digit stands, shifted by the exponent.
bool isTooLarge(std::string_view s) {
    long long place = 0;
    std::size_t i = 0;
    while (i < s.size() && s[i] == '0') ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        ++i;
        ++place;
    }
    if (place == 0 && i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] == '0') {
            ++i;
            --place;
        }
    }
    long long exponent = 0;
    const auto e = s.find_first_of("eE");
    if (e != std::string_view::npos) {
        std::size_t j = e + 1;
        const bool minus = j < s.size() && s[j] == '-';
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        for (; j < s.size(); ++j) exponent = std::min(exponent * 10 + (s[j] - '0'), 1'000'000'000LL);
        if (minus) exponent = -exponent;
    }
    return place + exponent > 0;
}

}  // namespace

double ToNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);

    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (!isPlainDecimal(text)) throw ConversionFailure("Type mismatch");

    double value = 0.0;
#if defined(__cpp_lib_to_chars)
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool outOfRange = ec == std::errc::result_out_of_range;
    const bool read = ec == std::errc() && end == text.data() + text.size();
#else
    // A C++ library without floating-point from_chars (the browser build's) has a C library whose
    // strtod reads '.' whatever the locale, and the same grammar.
    const std::string copy(text);
    char* end = nullptr;
    errno = 0;
    value = std::strtod(copy.c_str(), &end);
    const bool outOfRange = errno == ERANGE;
    const bool read = !outOfRange && end == copy.c_str() + copy.size();
#endif
    if (outOfRange) {
        // Underflow reads as zero; only a value beyond the largest double is refused.
        if (isTooLarge(text)) throw ConversionFailure("Overflow");
        value = 0.0;
    } else if (!read || !std::isfinite(value)) {
        throw ConversionFailure("Type mismatch");
    }
    return negative ? -value : value;
}

std::int16_t FloorToInteger(double number) {
    const double f = std::floor(number);
    if (!(f >= std::numeric_limits<std::int16_t>::min() && f <= std::numeric_limits<std::int16_t>::max()))
        throw ConversionFailure("Overflow");
    return static_cast<std::int16_t>(f);
}

std::string IntegerText(long long value) { return std::to_string(value); }

void Decrement(std::int16_t& counter) {
    if (counter == std::numeric_limits<std::int16_t>::min()) throw OverflowFailure("Overflow");
    --counter;
}

}  // namespace numerak
