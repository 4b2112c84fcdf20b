// look.hpp: what a front end draws for a control, worked out once from its design, the display's
// scale and the system's contrast setting: its colours, its font size, where it goes in pixels
// and whether it is drawn above the controls laid before it. Front ends apply the answer as it is.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "runtime/design.hpp"

namespace numerak {

// The dots per inch of a display at scale 1, where 15 twips make a pixel.
constexpr int BaseDpi = 96;

// Twips to pixels on a display of this many dots per inch, to the nearest pixel (a half away from
// zero, as Windows rounds). At 96 dpi the same as TwipsToPixels.
int TwipsAtDpi(Twips twips, int dpi);

// A font's size in points to whole pixels on a display of this many dots per inch.
int PointsAtDpi(double points, int dpi);

struct PixelRect {
    int left = 0, top = 0, width = 0, height = 0;  // a line's end points: x1, y1, x2, y2
    friend constexpr bool operator==(PixelRect, PixelRect) = default;
};

struct ControlLook {
    // The colours it is painted in; empty where the platform's own for its kind shows (a
    // standard button's face). A system colour stays a reference for the front end to look up.
    std::optional<Colour> fore{};
    std::optional<Colour> back{};
    PixelRect rect{};
    std::optional<int> fontPixels{};  // empty: the window's font
    int lineWidth = 1;                // in pixels, for a line
    bool onTop = false;               // drawn above every control, whatever its place in creation order
};

// The look of a control on a display of `dpi` dots per inch; with `moreContrast`, the system
// asks for more contrast, and the controls the design colours take the system's window colours.
ControlLook LookOf(const ControlDesign& design, int dpi, bool moreContrast);

// The pictures to try for a display of this scale, best first: above scale 1 the one drawn at
// twice the size, then the design's own, which the front end scales to the screen.
std::vector<ScaledPicture> PicturesForScale(std::string_view fileName, double scale);

}  // namespace numerak
