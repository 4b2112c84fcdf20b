// contrast.hpp: how well one colour reads on another, for front ends whose system says "more
// contrast" only through the colours it hands out.
#pragma once

#include "runtime/design.hpp"

namespace numerak {

// The contrast ratio of two plain colours, from 1 (the same) to 21 (black and white), as the web's
// accessibility guidelines measure it: text needs 4.5 to read well.
double ContrastRatio(Colour a, Colour b);

// Whether text of one colour on a background of the other is what a high-contrast theme gives:
// black and white, or all but (20:1 and more). The ordinary light and dark themes stay below
// 19:1, and a theme whose text is not pure black or white far below.
bool IsHighContrast(Colour text, Colour background);

}  // namespace numerak
