// design.hpp: window designs as plain data, realised by a front end.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace numerak {

// Positions and sizes are in twips, 1/1440 inch, inside a window's client area.
using Twips = int;

// A colour reference: 0x00BBGGRR, or with the top bit set a system colour index in the low byte.
struct Colour {
    std::uint32_t value = 0;

    constexpr bool isSystem() const { return (value & 0x80000000u) != 0; }
    constexpr int systemIndex() const { return static_cast<int>(value & 0xFFu); }
    constexpr int red() const { return static_cast<int>(value & 0xFFu); }
    constexpr int green() const { return static_cast<int>((value >> 8) & 0xFFu); }
    constexpr int blue() const { return static_cast<int>((value >> 16) & 0xFFu); }
    friend constexpr bool operator==(Colour, Colour) = default;
};

// The system colours, by their index: the platform's colours for these roles.
namespace SystemColour {
constexpr int Window = 5;
constexpr int WindowText = 8;
constexpr int Highlight = 13;
constexpr int HighlightText = 14;
constexpr int ButtonFace = 15;
constexpr int ButtonShadow = 16;
constexpr int GrayText = 17;
constexpr int ButtonText = 18;
constexpr int Highlight3D = 20;
constexpr int DarkShadow3D = 21;
constexpr int Light3D = 22;
constexpr int InfoText = 23;
constexpr int InfoBackground = 24;
}  // namespace SystemColour

constexpr Colour SystemColourRef(int index) { return Colour{0x80000000u | static_cast<std::uint32_t>(index)}; }

struct FontDesign {
    std::string_view face{};
    double points = 8.25;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    int charset = 0;
};

enum class ControlKind { Label, TextBox, CommandButton, OptionButton, PictureBox, Line };

enum class LineStyle { Solid, InsideSolid };

struct ControlDesign {
    std::string_view name{};
    int index = -1;  // element of a control array; -1 for a plain control
    ControlKind kind = ControlKind::Label;
    std::string_view caption{};                      // a text box's text
    Twips left = 0, top = 0, width = 0, height = 0;  // a line's X1, Y1, X2, Y2
    int tabIndex = -1;
    bool visible = true;
    std::optional<Colour> back{};  // the kind's platform default when empty
    std::optional<Colour> fore{};
    std::optional<FontDesign> font{};   // the window's font when empty
    std::string_view picture{};         // a picture box's image, by file name
    std::string_view accessibleName{};  // what a screen reader calls it, where its caption does not say
    bool number = false;                // a box for a number: a phone offers its number keys
    std::string_view describedBy{};     // the labels, by name and blank-separated, that say more of it
    bool isDefault = false;             // pressed by Enter anywhere in the window
    bool isCancel = false;              // pressed by Esc anywhere in the window
    int lineWidth = 1;                  // in pixels
    LineStyle lineStyle = LineStyle::Solid;
};

// A menu bar entry: level 0 is a menu of the bar, level 1 an item of the menu before it.
struct MenuDesign {
    std::string_view name{};
    std::string_view caption{};
    int level = 0;
};

enum class BorderStyle { Sizable, FixedDialog };

struct TwipsPoint {
    Twips x = 0, y = 0;
};

struct WindowDesign {
    std::string_view name{};
    std::string_view caption{};
    Twips clientWidth = 0, clientHeight = 0;
    std::optional<TwipsPoint> position{};  // client origin on the screen; the platform's choice when empty
    BorderStyle border = BorderStyle::Sizable;
    Colour back{};
    std::string_view icon{};                    // by file name; none when empty
    std::span<const ControlDesign> controls{};  // creation order, first is bottom-most
    std::span<const MenuDesign> menus{};
};

}  // namespace numerak
