// contrast.cpp: relative luminance and contrast, as the web's accessibility guidelines define them.
#include "runtime/contrast.hpp"

#include <algorithm>
#include <cmath>

namespace numerak {

namespace {

double linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(Colour c) { return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue()); }

}  // namespace

double ContrastRatio(Colour a, Colour b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool IsHighContrast(Colour text, Colour background) { return ContrastRatio(text, background) >= 20.0; }

}  // namespace numerak
