// look.cpp: the look of a control, from its design, the display's scale and the contrast setting.
#include "runtime/look.hpp"

#include <algorithm>
#include <cmath>

namespace numerak {

int TwipsAtDpi(Twips twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long whole = (scaled >= 0 ? scaled + 720 : -scaled + 720) / 1440;
    return static_cast<int>(scaled >= 0 ? whole : -whole);
}

int PointsAtDpi(double points, int dpi) { return static_cast<int>(std::lround(points * dpi / 72.0)); }

int InterfaceFontPixels(int dpi) { return PointsAtDpi(FontDesign{}.points, dpi); }

WindowLook LookOf(const WindowDesign& d, int dpi) {
    WindowLook look{TwipsAtDpi(d.clientWidth, dpi), TwipsAtDpi(d.clientHeight, dpi)};
    if (d.position) look.position = PixelPoint{TwipsAtDpi(d.position->x, dpi), TwipsAtDpi(d.position->y, dpi)};
    look.fontPixels = InterfaceFontPixels(dpi);
    return look;
}

ControlLook LookOf(const ControlDesign& d, int dpi, bool moreContrast) {
    ControlLook look;
    look.rect = {TwipsAtDpi(d.left, dpi), TwipsAtDpi(d.top, dpi), TwipsAtDpi(d.width, dpi), TwipsAtDpi(d.height, dpi)};
    if (d.font) look.fontPixels = PointsAtDpi(d.font->points, dpi);
    switch (d.kind) {
        case ControlKind::Line:
            look.fore = d.fore.value_or(Colour{0});  // black unless designed otherwise
            look.lineWidth = std::max(1, static_cast<int>(std::lround(d.lineWidth * dpi / double(BaseDpi))));
            // A hairline goes over the wide lines laid beside it, so that a grey hairline on a
            // white two-pixel line reads as an engraved groove whichever was laid first.
            look.onTop = d.lineStyle == LineStyle::InsideSolid;
            {
                const PixelRect& r = look.rect;
                const double half = look.lineWidth / 2.0;
                const bool upright = r.left == r.width && r.top != r.height;
                look.stroke = upright ? Stroke{r.left + half, double(r.top), r.width + half, double(r.height)}
                                      : Stroke{double(r.left), r.top + half, double(r.width), r.height + half};
            }
            break;
        case ControlKind::PictureBox: look.back = d.back.value_or(SystemColourRef(SystemColour::ButtonFace)); break;
        case ControlKind::CommandButton: break;  // the platform's face: a stored colour is not seen
        case ControlKind::Label:
        case ControlKind::TextBox:
        case ControlKind::OptionButton:
            if (moreContrast && (d.fore || d.back)) {
                // White on red reads at 3.99:1; where the system asks for more, its own colours.
                look.fore = SystemColourRef(SystemColour::WindowText);
                look.back = SystemColourRef(SystemColour::Window);
            } else {
                look.fore = d.fore;
                look.back = d.back;
            }
            break;
    }
    return look;
}

std::string DoubleSizePicture(std::string_view fileName) {
    const auto dot = fileName.rfind('.');
    const auto stem = fileName.substr(0, dot == std::string_view::npos ? fileName.size() : dot);
    return std::string(stem) + "@2x" + std::string(fileName.substr(stem.size()));
}

std::vector<ScaledPicture> PicturesForScale(std::string_view fileName, double scale) {
    if (scale <= 1.0) return {{std::string(fileName), 1.0}};
    return {{DoubleSizePicture(fileName), 2.0}, {std::string(fileName), 1.0}};
}

}  // namespace numerak
