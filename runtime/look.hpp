// look.hpp: what a front end draws for a control, worked out once from its design, the display's
// scale and the system's contrast setting: its colours, its font size, where it goes in pixels
// and whether it is drawn above the controls laid before it. Front ends apply the answer as it is.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/design.hpp"

namespace numerak {

// The dots per inch of a display at scale 1, where 15 twips make a pixel.
constexpr int BaseDpi = 96;

// Twips to pixels on a display of this many dots per inch, to the nearest pixel (a half away from
// zero, as Windows rounds): 15 twips to a pixel at 96.
int TwipsAtDpi(Twips twips, int dpi);

// A font's size in points to whole pixels on a display of this many dots per inch.
int PointsAtDpi(double points, int dpi);
// The windows' own font in pixels: the 8.25 points they were laid out for.
int InterfaceFontPixels(int dpi);

struct PixelRect {
    int left = 0, top = 0, width = 0, height = 0;  // a line's end points: x1, y1, x2, y2
    friend constexpr bool operator==(PixelRect, PixelRect) = default;
};

struct PixelPoint {
    int x = 0, y = 0;
    friend constexpr bool operator==(PixelPoint, PixelPoint) = default;
};

// A window as a front end shows it at a display's dots per inch.
struct WindowLook {
    int clientWidth = 0, clientHeight = 0;
    std::optional<PixelPoint> position{};  // its client area's origin on the screen; the platform's choice when empty
    int fontPixels = 0;                    // the window's own font, the face the windows were laid out for
};
WindowLook LookOf(const WindowDesign& design, int dpi);

// A line's pen as placed: the centre of its stroke from (x1, y1) to (x2, y2), in pixels whose
// edges are whole numbers, so that a stroke of the line's width with square-cut ends covers the
// pixels from the designed line down (across, for an upright line) as it grows wider.
struct Stroke {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    friend constexpr bool operator==(Stroke, Stroke) = default;
};

struct ControlLook {
    // The colours it is painted in; empty where the platform's own for its kind shows (a
    // standard button's face). A system colour stays a reference for the front end to look up.
    std::optional<Colour> fore{};
    std::optional<Colour> back{};
    PixelRect rect{};
    std::optional<int> fontPixels{};  // empty: the window's font
    int lineWidth = 1;                // in pixels, for a line
    Stroke stroke{};                  // for a line
    bool onTop = false;               // drawn above every control, whatever its place in creation order
};

// The look of a control on a display of `dpi` dots per inch; with `moreContrast`, the system
// asks for more contrast, and the controls the design colours take the system's window colours.
ControlLook LookOf(const ControlDesign& design, int dpi, bool moreContrast);

// A picture of a design is drawn also at twice its size, for screens of higher density, in a
// file of its own: "banner.jpg" again as "banner@2x.jpg".
std::string DoubleSizePicture(std::string_view fileName);

struct ScaledPicture {
    std::string file;
    double drawnAt = 1.0;  // the scale the file was drawn for
};
// The pictures to try for a display of this scale, best first: above scale 1 the one drawn at
// twice the size, then the design's own, which the front end scales to the screen.
std::vector<ScaledPicture> PicturesForScale(std::string_view fileName, double scale);

}  // namespace numerak
