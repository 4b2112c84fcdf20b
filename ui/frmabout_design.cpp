// frmabout_design.cpp: the About window, control by control in creation (stacking) order.
#include <array>

#include "ui/designs.hpp"

namespace numerak::ui {

namespace {

constexpr Colour LightGreen{0x00C0FFC0};
constexpr Colour Black{0x00000000};
constexpr Colour Grey{0x00808080};
constexpr Colour White{0x00FFFFFF};
constexpr FontDesign Arial{.face = "Arial", .points = 8.25, .weight = 400};

using K = ControlKind;

// One row a control, as the window table reads: kept as laid out.
// clang-format off
const std::array controls{
    ControlDesign{.name = "Picture1", .kind = K::PictureBox,
                  .left = 120, .top = 120, .width = 6135, .height = 1095, .tabIndex = 7, .picture = "banner.jpg", .accessibleName = "Numerak"},
    ControlDesign{.name = "cmdOK", .kind = K::CommandButton, .caption = "OK",
                  .left = 3600, .top = 2640, .width = 1260, .height = 345, .tabIndex = 0, .isDefault = true, .isCancel = true},
    ControlDesign{.name = "cmdSysInfo", .kind = K::CommandButton, .caption = "&System Info...",
                  .left = 5040, .top = 2640, .width = 1245, .height = 345, .tabIndex = 1},
    ControlDesign{.name = "Label2", .kind = K::Label, .caption = "Visit us at numerak.example",
                  .left = 240, .top = 2760, .width = 3135, .height = 255, .tabIndex = 8, .back = LightGreen, .font = Arial},
    ControlDesign{.name = "Label1", .kind = K::Label, .caption = "numerak.example/help",
                  .left = 3720, .top = 3120, .width = 2415, .height = 255, .tabIndex = 6, .back = LightGreen, .font = Arial},
    ControlDesign{.name = "Line1", .index = 3, .kind = K::Line,
                  .left = 0, .top = 0, .width = 5549, .height = 0, .fore = White, .lineWidth = 2},
    ControlDesign{.name = "Line1", .index = 2, .kind = K::Line,
                  .left = 0, .top = 0, .width = 5564, .height = 0, .fore = Grey, .lineStyle = LineStyle::InsideSolid},
    ControlDesign{.name = "Line1", .index = 1, .kind = K::Line,
                  .left = 120, .top = 2520, .width = 6840, .height = 2520, .fore = Grey, .lineStyle = LineStyle::InsideSolid},
    ControlDesign{.name = "lblDescription", .kind = K::Label,
                  .caption = "Numerak, the game where you must think inside the box. Select your game difficulty, then "
                             "attempt the guess four numbers in the middle of two other numbers. But be warned, you have a "
                             "limited amount of turns to do it in! ",
                  .left = 120, .top = 1680, .width = 6195, .height = 690, .tabIndex = 2,
                  .back = LightGreen, .fore = Black, .font = Arial},
    ControlDesign{.name = "lblTitle", .kind = K::Label, .caption = "Application Title",
                  .left = 120, .top = 1320, .width = 3525, .height = 240, .tabIndex = 4,
                  .back = LightGreen, .fore = Black, .font = Arial},
    ControlDesign{.name = "Line1", .index = 0, .kind = K::Line,
                  .left = 105, .top = 2520, .width = 6840, .height = 2520, .fore = White, .lineWidth = 2},
    ControlDesign{.name = "lblVersion", .kind = K::Label, .caption = "Version",
                  .left = 4680, .top = 1320, .width = 1695, .height = 255, .tabIndex = 5, .back = LightGreen, .font = Arial},
    ControlDesign{.name = "lblDisclaimer", .kind = K::Label, .caption = "Made by the Numerak developers",
                  .left = 240, .top = 3120, .width = 3135, .height = 225, .tabIndex = 3,
                  .back = LightGreen, .fore = Black, .font = Arial},
};

const WindowDesign design{
    .name = "frmAbout",
    .caption = "About Numerak",
    .clientWidth = 6375,
    .clientHeight = 3465,
    .position = TwipsPoint{2340, 1935},
    .border = BorderStyle::FixedDialog,
    .back = LightGreen,
    .icon = "numerak.ico",
    .controls = controls,
};

// clang-format on

}  // namespace

const WindowDesign& frmAboutDesign() { return design; }

}  // namespace numerak::ui
