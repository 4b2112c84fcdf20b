// frmcode_design.cpp: the game window, control by control in creation (stacking) order.
#include "ui/designs.hpp"

#include <array>

namespace numerak::ui {

namespace {

constexpr Colour Red{0x000000FF};
constexpr Colour Yellow{0x0000FFFF};
constexpr Colour Green{0x0000FF00};
constexpr Colour LightGrey{0x00C0C0C0};  // not seen: standard buttons paint the button face
const Colour BoxBack = SystemColourRef(SystemColour::Light3D);
const Colour LabelText = SystemColourRef(SystemColour::HighlightText);

using K = ControlKind;

// One row a control, as the window table reads: kept as laid out.
// clang-format off
const std::array controls{
    ControlDesign{.name = "Command5", .kind = K::CommandButton, .caption = "Enter",
                  .left = 5040, .top = 2640, .width = 1335, .height = 255, .tabIndex = 14, .visible = false},
    ControlDesign{.name = "Option4", .kind = K::OptionButton, .caption = "Custom",
                  .left = 5040, .top = 2280, .width = 1335, .height = 255, .tabIndex = 13, .visible = false, .back = Yellow},
    ControlDesign{.name = "Option3", .kind = K::OptionButton, .caption = "Hard",
                  .left = 5040, .top = 2040, .width = 1335, .height = 255, .tabIndex = 12, .visible = false, .back = Yellow},
    ControlDesign{.name = "Option2", .kind = K::OptionButton, .caption = "Medium",
                  .left = 5040, .top = 1800, .width = 1335, .height = 255, .tabIndex = 11, .visible = false, .back = Yellow},
    ControlDesign{.name = "Option1", .kind = K::OptionButton, .caption = "Easy",
                  .left = 5040, .top = 1560, .width = 1335, .height = 255, .tabIndex = 10, .visible = false, .back = Yellow},
    ControlDesign{.name = "Picture1", .kind = K::PictureBox,
                  .left = 240, .top = 120, .width = 6135, .height = 1095, .tabIndex = 9, .picture = "banner.jpg", .accessibleName = "Numerak"},
    ControlDesign{.name = "Command3", .kind = K::CommandButton, .caption = "&Quit",
                  .left = 3840, .top = 2040, .width = 1095, .height = 495, .tabIndex = 6},
    ControlDesign{.name = "Command2", .kind = K::CommandButton, .caption = "&New Game",
                  .left = 2640, .top = 2040, .width = 1095, .height = 495, .tabIndex = 5},
    ControlDesign{.name = "Command1", .kind = K::CommandButton, .caption = "&Guess",
                  .left = 2640, .top = 1320, .width = 2295, .height = 495, .tabIndex = 4, .back = LightGrey,
                  .describedBy = "lblturns"},
    ControlDesign{.name = "Text4", .kind = K::TextBox,
                  .left = 1680, .top = 1920, .width = 375, .height = 285, .tabIndex = 3, .back = BoxBack, .accessibleName = "Fourth number",
                  .number = true, .describedBy = "Label1 lblturns"},
    ControlDesign{.name = "Text3", .kind = K::TextBox,
                  .left = 1200, .top = 1920, .width = 375, .height = 285, .tabIndex = 2, .back = BoxBack, .accessibleName = "Third number",
                  .number = true, .describedBy = "Label1 lblturns"},
    ControlDesign{.name = "Text2", .kind = K::TextBox,
                  .left = 720, .top = 1920, .width = 375, .height = 285, .tabIndex = 1, .back = BoxBack, .accessibleName = "Second number",
                  .number = true, .describedBy = "Label1 lblturns"},
    ControlDesign{.name = "Text1", .kind = K::TextBox,
                  .left = 240, .top = 1920, .width = 375, .height = 285, .tabIndex = 0, .back = BoxBack, .accessibleName = "First number",
                  .number = true, .describedBy = "Label1 lblturns"},
    ControlDesign{.name = "lblNew", .kind = K::Label, .caption = "New Game menu",
                  .left = 5040, .top = 1320, .width = 1335, .height = 255, .tabIndex = 15, .visible = false, .back = Green},
    ControlDesign{.name = "lblturns", .kind = K::Label,
                  .left = 120, .top = 2280, .width = 2415, .height = 255, .tabIndex = 8, .back = Red, .fore = LabelText},
    ControlDesign{.name = "Label1", .kind = K::Label,
                  .left = 120, .top = 1440, .width = 2295, .height = 375, .tabIndex = 7, .back = Red, .fore = LabelText},
};

const std::array menus{
    MenuDesign{.name = "mnuFile", .caption = "File", .level = 0},
    MenuDesign{.name = "mnuFileClose", .caption = "Close", .level = 1},
    MenuDesign{.name = "mnuGame", .caption = "Game", .level = 0},
    MenuDesign{.name = "mnuGameGuess", .caption = "Guess", .level = 1},
    MenuDesign{.name = "mnuGameNew", .caption = "New Game", .level = 1},
    MenuDesign{.name = "mnuHelp", .caption = "Help", .level = 0},
    MenuDesign{.name = "mnuHelpAbout", .caption = "About", .level = 1},
};

const WindowDesign design{
    .name = "frmCode",
    .caption = "Numerak",
    .clientWidth = 6555,
    .clientHeight = 3030,
    .border = BorderStyle::Sizable,
    .back = Red,
    .icon = "numerak.ico",
    .controls = controls,
    .menus = menus,
};

// clang-format on

}  // namespace

const WindowDesign& frmCodeDesign() { return design; }

}  // namespace numerak::ui
