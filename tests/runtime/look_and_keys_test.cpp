// What every front end draws and what every key does, as the core answers them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/controls.hpp"
#include "runtime/keys.hpp"
#include "runtime/look.hpp"
#include "ui/designs.hpp"

namespace numerak {
namespace {

const ControlDesign& design(const WindowDesign& window, std::string_view name, int index = -1) {
    for (const ControlDesign& d : window.controls)
        if (d.name == name && d.index == index) return d;
    throw std::out_of_range(std::string(name));
}

TEST(Look, pixelsAtEveryScaleRoundAsWindowsDoes) {
    for (Twips t = -3000; t <= 3000; ++t) ASSERT_EQ(TwipsAtDpi(t, BaseDpi), (t >= 0 ? t + 7 : t - 7) / 15) << t;
    EXPECT_EQ(TwipsAtDpi(5, 144), 1);  // half a pixel rounds away from zero
    EXPECT_EQ(TwipsAtDpi(-5, 144), -1);
    EXPECT_EQ(TwipsAtDpi(6135, 192), 818);
    EXPECT_EQ(TwipsAtDpi(2'000'000'000, 192), 266'666'667);  // no overflow on the way
    EXPECT_EQ(PointsAtDpi(8.25, 96), 11);
    EXPECT_EQ(PointsAtDpi(8.25, 192), 22);
}

TEST(Look, eachKindTakesItsColoursAndSystemOnesWhereMoreContrastIsAsked) {
    const WindowDesign& game = ui::frmCodeDesign();
    const ControlLook label = LookOf(design(game, "Label1"), BaseDpi, false);
    EXPECT_EQ(label.back, Colour{0x000000FF});
    EXPECT_EQ(label.fore, SystemColourRef(SystemColour::HighlightText));
    EXPECT_EQ(label.rect, (PixelRect{8, 96, 153, 25}));
    EXPECT_FALSE(label.fontPixels);  // the window's font
    for (auto name : {"Label1", "Option1", "Text1", "lblNew"}) {
        const ControlLook more = LookOf(design(game, name), BaseDpi, true);
        EXPECT_EQ(more.back, SystemColourRef(SystemColour::Window)) << name;
        EXPECT_EQ(more.fore, SystemColourRef(SystemColour::WindowText)) << name;
    }
    // A button paints the platform's face whatever the design stores, in any contrast.
    for (bool more : {false, true}) {
        const ControlLook guess = LookOf(design(game, "Command1"), BaseDpi, more);
        EXPECT_FALSE(guess.back || guess.fore);
    }
    // A picture box without a colour of its own shows the button face round its picture, in
    // any contrast.
    EXPECT_EQ(LookOf(design(game, "Picture1"), 144, true).back, SystemColourRef(SystemColour::ButtonFace));
    EXPECT_EQ(LookOf(design(game, "Picture1"), 144, false).rect, (PixelRect{24, 12, 614, 110}));

    const WindowDesign& about = ui::frmAboutDesign();
    const ControlLook text = LookOf(design(about, "lblDescription"), 192, false);
    EXPECT_EQ(text.fontPixels, 22);  // 8.25 points at 192 dpi
    EXPECT_EQ(LookOf(design(about, "lblDescription"), 192, true).fontPixels, 22);
}

TEST(Look, linesAreBlackUnlessDesignedGrowWithTheScaleAndHairlinesLieOnTop) {
    const WindowDesign& about = ui::frmAboutDesign();
    const ControlLook wide = LookOf(design(about, "Line1", 0), BaseDpi, true);
    EXPECT_EQ(wide.fore, Colour{0x00FFFFFF});  // no contrast rule for lines
    EXPECT_EQ(wide.lineWidth, 2);
    EXPECT_FALSE(wide.onTop);
    EXPECT_EQ(wide.rect, (PixelRect{7, 168, 456, 168}));  // the end points
    EXPECT_EQ(wide.stroke, (Stroke{7, 169, 456, 169}));   // covering rows 168 and 169
    const ControlDesign upright{
        .kind = ControlKind::Line, .left = 150, .top = 0, .width = 150, .height = 300, .lineWidth = 3};
    EXPECT_EQ(LookOf(upright, BaseDpi, false).stroke, (Stroke{11.5, 0, 11.5, 20}));  // columns 10 to 12
    EXPECT_EQ(LookOf(design(about, "Line1", 0), 144, false).lineWidth, 3);
    const ControlLook hairline = LookOf(design(about, "Line1", 1), 192, false);
    EXPECT_TRUE(hairline.onTop);
    EXPECT_EQ(hairline.lineWidth, 2);
    EXPECT_EQ(LookOf(design(about, "Line1", 1), BaseDpi, false).lineWidth, 1);
    EXPECT_EQ(LookOf(ControlDesign{.kind = ControlKind::Line}, BaseDpi, false).fore, Colour{0});
}

TEST(Look, aWindowsSizePlaceAndFontAtAScale) {
    const WindowLook game = LookOf(ui::frmCodeDesign(), BaseDpi);
    EXPECT_EQ(game.clientWidth, 437);
    EXPECT_FALSE(game.position);
    EXPECT_EQ(game.fontPixels, 11);
    const WindowLook about = LookOf(ui::frmAboutDesign(), 192);
    ASSERT_TRUE(about.position);
    EXPECT_EQ(about.fontPixels, 22);
    EXPECT_EQ(about.clientWidth, LookOf(ui::frmAboutDesign(), BaseDpi).clientWidth * 2);
}

TEST(Look, aPictureForAHigherScaleIsTheTwiceSizeOneThenTheDesignsOwn) {
    const std::vector<ScaledPicture> low = PicturesForScale("banner.jpg", 1.0);
    ASSERT_EQ(low.size(), 1u);
    EXPECT_EQ(low[0].file, "banner.jpg");
    EXPECT_EQ(low[0].drawnAt, 1.0);
    const std::vector<ScaledPicture> high = PicturesForScale("banner.jpg", 1.5);
    ASSERT_EQ(high.size(), 2u);
    EXPECT_EQ(high[0].file, "banner@2x.jpg");
    EXPECT_EQ(high[0].drawnAt, 2.0);
    EXPECT_EQ(high[1].file, "banner.jpg");
    EXPECT_EQ(high[1].drawnAt, 1.0);
    EXPECT_EQ(DoubleSizePicture("icon"), "icon@2x");
}

TEST(Form, tabOrderIsByTabIndexAndTheKeyboardStartsOnTheFirstVisibleControlThatTakesIt) {
    Form game(ui::frmCodeDesign());
    std::vector<std::string> order;
    for (const Control* c : game.tabOrder()) order.emplace_back(c->name());
    const std::vector<std::string> expected{"Text1",    "Text2",   "Text3",    "Text4",    "Command1", "Command2",
                                            "Command3", "Label1",  "lblturns", "Picture1", "Option1",  "Option2",
                                            "Option3",  "Option4", "Command5", "lblNew"};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(game.firstFocus(), &game["Text1"]);
    for (auto box : {"Text1", "Text2", "Text3", "Text4"}) game[box].setVisible(false);
    EXPECT_EQ(game.firstFocus(), &game["Command1"]);  // labels take no focus
    Form about(ui::frmAboutDesign());
    EXPECT_EQ(about.firstFocus(), &about["cmdOK"]);
    // Lines have no tab index: they come last, in creation order.
    EXPECT_EQ(about.tabOrder().back(), &about.find("Line1", 0));
}

KeyPress key(Key k, bool alt = false, bool ctrl = false, bool shift = false) {
    return {.key = k, .alt = alt, .ctrl = ctrl, .shift = shift};
}
KeyPress letter(char c, bool alt = true, bool ctrl = false) {
    return {.key = Key::Letter, .letter = c, .alt = alt, .ctrl = ctrl};
}

TEST(Keys, enterEscAndTheArrowsByTheWindowsRulesOnlyWithoutModifiers) {
    Form game(ui::frmCodeDesign());
    EXPECT_EQ(KeyActionFor(game, key(Key::Enter), &game["Command1"]), (KeyAction{KeyDoes::Press, &game["Command1"]}));
    EXPECT_EQ(KeyActionFor(game, key(Key::Enter), &game["Text1"]), (KeyAction{KeyDoes::Nothing, nullptr}));
    EXPECT_EQ(KeyActionFor(game, key(Key::Escape), &game["Text1"]), (KeyAction{KeyDoes::Nothing, nullptr}));
    EXPECT_EQ(KeyActionFor(game, key(Key::Enter, false, false, true), &game["Command1"]), KeyAction{});
    EXPECT_EQ(KeyActionFor(game, key(Key::Enter, false, true), &game["Command1"]), KeyAction{});
    EXPECT_EQ(KeyActionFor(game, key(Key::Other), &game["Command1"]), KeyAction{});

    for (auto name : {"Option1", "Option2", "Option3", "Option4"}) game[name].setVisible(true);
    EXPECT_EQ(KeyActionFor(game, key(Key::Down), &game["Option1"]), (KeyAction{KeyDoes::Choose, &game["Option2"]}));
    EXPECT_EQ(KeyActionFor(game, key(Key::Right), &game["Option4"]), (KeyAction{KeyDoes::Choose, &game["Option1"]}));
    EXPECT_EQ(KeyActionFor(game, key(Key::Up), &game["Option1"]), (KeyAction{KeyDoes::Choose, &game["Option4"]}));
    EXPECT_EQ(KeyActionFor(game, key(Key::Left), &game["Option2"]), (KeyAction{KeyDoes::Choose, &game["Option1"]}));
    EXPECT_EQ(KeyActionFor(game, key(Key::Down), &game["Text1"]), KeyAction{});  // the box's own
    EXPECT_EQ(KeyActionFor(game, key(Key::Down, false, false, true), &game["Option1"]), KeyAction{});

    Form about(ui::frmAboutDesign());
    EXPECT_EQ(KeyActionFor(about, key(Key::Escape), &about["cmdSysInfo"]),
              (KeyAction{KeyDoes::Press, &about["cmdOK"]}));
    EXPECT_EQ(KeyActionFor(about, key(Key::Enter), &about["cmdSysInfo"]), (KeyAction{KeyDoes::Press, &about["cmdOK"]}));
}

TEST(Keys, altWithAnAccessKeyPressesItsVisibleButtonAndF10OpensTheMenuBar) {
    Form game(ui::frmCodeDesign());
    EXPECT_EQ(KeyActionFor(game, letter('G'), &game["Text1"]), (KeyAction{KeyDoes::Press, &game["Command1"]}));
    EXPECT_EQ(KeyActionFor(game, letter('N'), nullptr), (KeyAction{KeyDoes::Press, &game["Command2"]}));
    EXPECT_EQ(KeyActionFor(game, letter('Z'), nullptr), KeyAction{});         // no such key: the menus'
    EXPECT_EQ(KeyActionFor(game, letter('G', false), nullptr), KeyAction{});  // typed
    EXPECT_EQ(KeyActionFor(game, letter('G', true, true), nullptr), KeyAction{});
    game["Command1"].setVisible(false);
    EXPECT_EQ(KeyActionFor(game, letter('G'), nullptr), (KeyAction{KeyDoes::Nothing, nullptr}));
    EXPECT_EQ(KeyActionFor(game, key(Key::F10), nullptr), (KeyAction{KeyDoes::OpenMenuBar, &game["mnuFile"]}));
    Form about(ui::frmAboutDesign());
    EXPECT_EQ(KeyActionFor(about, key(Key::F10), nullptr), KeyAction{});  // no menu bar

    EXPECT_EQ(AccessKey("&New Game"), 'N');
    EXPECT_EQ(AccessKey("&quit"), 'Q');
    EXPECT_EQ(AccessKey("Fish && &Chips"), 'C');
    EXPECT_EQ(AccessKey("Fish && Chips"), 0);
    EXPECT_EQ(AccessKey("Trailing&"), 0);
    // Only UTF-8 as it must be written: "G" spelt in two bytes, a stray continuation, a cut
    // character and a surrogate are no key.
    for (const char* malformed : {"&\xC1\x87", "&\xE0\x81\x87", "&\x87", "&\xD0", "&\xED\xA0\x80", "&\xF4\x90\x80\x80"})
        EXPECT_EQ(AccessKey(malformed), 0) << malformed;
    EXPECT_EQ(AccessKey("&\xD0\xB2"), U'\u0412');  // "в", in capitals
}

}  // namespace
}  // namespace numerak
