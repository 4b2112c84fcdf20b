// The seam between the program and the page: events as the page packs them, colours as it paints
// them, windows as it builds them.
#include <gtest/gtest.h>

#include <string>

#include "runtime/web/page_protocol.hpp"

namespace numerak::web {
namespace {

TEST(PageProtocol, anEventComesBackAsItWasPacked) {
    for (const PageEvent e : {PageEvent{1, 0, false}, PageEvent{2, 0x7FFF, true}, PageEvent{0x7FFF, 12, false}}) {
        const PageEvent back = unpackEvent(packEvent(e));
        EXPECT_EQ(back.window, e.window);
        EXPECT_EQ(back.control, e.control);
        EXPECT_EQ(back.closeBox, e.closeBox);
    }
    // One past what an event carries goes to no window, never to another one.
    for (const PageEvent e : {PageEvent{0x8000, 3, false}, PageEvent{65537, 3, true}, PageEvent{2, 40000, false},
                              PageEvent{-1, 0, false}, PageEvent{1, -2, false}})
        EXPECT_EQ(unpackEvent(packEvent(e)).window, 0);
}

TEST(PageProtocol, aWindowOpenedAgainAndAgainKeepsAnIdAnEventCarries) {
    WindowIds ids;
    const int game = ids.take();
    int about = 0;
    for (int i = 0; i < 70'000; ++i) {
        about = ids.take();
        ids.give(about);
    }
    const int another = ids.take();
    EXPECT_EQ(game, 1);
    EXPECT_EQ(another, 2);
    EXPECT_EQ(unpackEvent(packEvent({about, 3, false})).window, about);
}

TEST(PageProtocol, coloursArePaintedRedGreenBlueAndSystemColoursAsALightTheme) {
    EXPECT_EQ(cssColour(Colour{0x000000FF}), "#FF0000");  // stored blue-green-red
    EXPECT_EQ(cssColour(Colour{0x00C0FFC0}), "#C0FFC0");
    EXPECT_EQ(cssColour(SystemColourRef(SystemColour::HighlightText)), "#FFFFFF");
    EXPECT_EQ(cssColour(SystemColourRef(SystemColour::Light3D)), "#E3E3E3");
    EXPECT_EQ(cssColour(SystemColourRef(SystemColour::ButtonFace)), "#F0F0F0");
}

TEST(PageProtocol, moreContrastTakesTheBrowsersSystemColoursByName) {
    EXPECT_EQ(cssSystemColour(SystemColourRef(SystemColour::Window)), "Canvas");
    EXPECT_EQ(cssSystemColour(SystemColourRef(SystemColour::WindowText)), "CanvasText");
    EXPECT_EQ(cssSystemColour(SystemColourRef(SystemColour::Light3D)), "#E3E3E3");  // CSS has no name for it
    EXPECT_EQ(cssSystemColour(Colour{0x000000FF}), "#FF0000");
}

TEST(PageProtocol, theBrowsersKeyNamesAreTheWindowsKeys) {
    const KeyPress altG = pageKey("KeyG", true, false, false, false);
    EXPECT_EQ(altG.key, Key::Letter);
    EXPECT_EQ(altG.letter, 'G');
    EXPECT_TRUE(altG.alt);
    EXPECT_EQ(pageKey("ArrowDown", false, false, true, false).key, Key::Down);
    EXPECT_FALSE(pageKey("ArrowDown", false, false, true, false).plain());
    EXPECT_EQ(pageKey("F10", false, false, false, false).key, Key::F10);
    const KeyPress russian = pageKey("KeyD:в", true, false, false, false);  // the key that types в
    EXPECT_EQ(russian.letter, 'D');
    EXPECT_EQ(russian.typed, U'В');
    for (auto other : {"Keyg", "KeyGG", "Key", "Tab", "gg", ""})
        EXPECT_EQ(pageKey(other, false, false, false, false).key, Key::Other) << other;
    EXPECT_EQ(pageKey("\u00e7", true, false, false, false).typed,
              U'\u00c7');  // a key no letter's place names: what it types
}

TEST(PageProtocol, aWindowIsDescribedWithItsTextsEscapedAndItsTabOrderAndCancelButtonWorkedOut) {
    static constexpr ControlDesign controls[]{
        {.name = "Later", .kind = ControlKind::CommandButton, .tabIndex = 1},
        {.name = "First", .kind = ControlKind::CommandButton, .tabIndex = 0, .isCancel = true},
        {.name = "Tie", .kind = ControlKind::TextBox, .caption = "say \"hi\"\\\x01 \xC3\xA9", .tabIndex = 1},
        {.name = "Groove", .kind = ControlKind::Line},
        {.name = "Go", .kind = ControlKind::CommandButton, .tabIndex = 2, .isDefault = true},
    };
    static constexpr MenuDesign menus[]{{.name = "mnuFile", .caption = "File"}};
    static constexpr WindowDesign design{.name = "frmSeam", .caption = "Seam", .controls = controls, .menus = menus};
    const Form form(design);
    const std::string json = describeWindow(form, 7);
    EXPECT_EQ(json.rfind("{\"id\":7,\"name\":\"frmSeam\",\"caption\":\"Seam\",", 0), 0u) << json;
    EXPECT_NE(json.find("\"caption\":\"say \\\"hi\\\"\\\\\\u0001 \xC3\xA9\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"tabOrder\":[1,0,2,4,3]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"cancelButton\":1"), std::string::npos) << json;
    EXPECT_NE(json.find("\"position\":null"), std::string::npos) << json;
    EXPECT_NE(
        json.find(
            "{\"index\":5,\"name\":\"mnuFile\",\"caption\":\"File\",\"key\":-1,\"visible\":true,\"kind\":\"menu\"}"),
        std::string::npos)
        << json;
}

TEST(PageProtocol, aCaptionsAccessKeyIsFoundWhereTheCaptionMarksItAndALabelsAmpersandsStay) {
    EXPECT_EQ(ShowCaption("&New Game"), (ShownCaption{"New Game", 0}));
    EXPECT_EQ(ShowCaption("Fish && &Chips"), (ShownCaption{"Fish & Chips", 7}));
    EXPECT_EQ(ShowCaption("\u65b0\u898f(&N)"), (ShownCaption{"\u65b0\u898f(N)", 3}));  // in characters, not bytes
    EXPECT_EQ(ShowCaption("&\u0412\u044b\u0445\u043e\u0434"), (ShownCaption{"\u0412\u044b\u0445\u043e\u0434", 0}));
    EXPECT_EQ(ShowCaption("Trailing&"), (ShownCaption{"Trailing&", -1}));
    static constexpr ControlDesign controls[]{
        {.name = "Label1", .kind = ControlKind::Label, .caption = "Fish & &Chips"}};
    const Form form(WindowDesign{.name = "frmLabel", .controls = controls});
    EXPECT_EQ(pageCaption(form.controls()[0].operator*()), (ShownCaption{"Fish & &Chips", -1}));
}

}  // namespace
}  // namespace numerak::web
