// The control model, the generator and the skip-on-failure mode.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "runtime/contrast.hpp"
#include "runtime/controls.hpp"
#include "runtime/conversions.hpp"
#include "runtime/random.hpp"
#include "runtime/services.hpp"
#include "ui/designs.hpp"

namespace numerak {
namespace {

const std::array testControls{
    ControlDesign{.name = "Label1", .kind = ControlKind::Label, .caption = "hello"},
    ControlDesign{.name = "Option1", .kind = ControlKind::OptionButton, .visible = false},
    ControlDesign{.name = "Option2", .kind = ControlKind::OptionButton},
    ControlDesign{.name = "Line1", .index = 0, .kind = ControlKind::Line},
    ControlDesign{.name = "Line1", .index = 1, .kind = ControlKind::Line},
};
const std::array testMenus{MenuDesign{.name = "mnuFile", .caption = "File"},
                           MenuDesign{.name = "mnuFileClose", .caption = "Close", .level = 1}};
const WindowDesign testDesign{.name = "frmTest", .caption = "Test", .controls = testControls, .menus = testMenus};

TEST(Form, startsAsDesigned) {
    Form form(testDesign);
    EXPECT_EQ(form["Label1"].caption(), "hello");
    EXPECT_FALSE(form["Option1"].visible());
    EXPECT_TRUE(form["Option2"].visible());
    EXPECT_FALSE(form["Option1"].value());
    EXPECT_EQ(form.find("Line1", 1).index(), 1);
    EXPECT_EQ(form["mnuFileClose"].role(), ControlRole::MenuItem);
    EXPECT_EQ(form["mnuFile"].role(), ControlRole::Menu);
    EXPECT_THROW(form["Nothing"], std::out_of_range);
    EXPECT_THROW(form["Line1"], std::out_of_range);  // an array element needs its index
}

TEST(Form, tellsItsListenerOfRealChangesOnly) {
    Form form(testDesign);
    std::vector<std::pair<std::string, Property>> seen;
    form.setListener([&](Control& c, Property p) { seen.emplace_back(std::string(c.name()), p); });
    form["Label1"].setCaption("hello");
    form["Option2"].setVisible(true);
    EXPECT_TRUE(seen.empty());
    form["Label1"].setCaption("bye");
    form["Option1"].setVisible(true);
    EXPECT_EQ(seen, (std::vector<std::pair<std::string, Property>>{{"Label1", Property::Caption},
                                                                   {"Option1", Property::Visible}}));
}

TEST(Form, optionButtonsFormOneGroup) {
    Form form(testDesign);
    form["Option1"].setValue(true);
    EXPECT_TRUE(form["Option1"].value());
    form["Option2"].setValue(true);
    EXPECT_FALSE(form["Option1"].value());
    EXPECT_TRUE(form["Option2"].value());
    form["Option2"].setValue(false);
    EXPECT_FALSE(form["Option1"].value());
}

TEST(Form, theArrowsGoRoundTheVisibleOptionsInTabOrder) {
    Form form(ui::frmCodeDesign());
    for (auto name : {"Option1", "Option2", "Option4"}) form[name].setVisible(true);  // Hard stays hidden
    EXPECT_EQ(form.optionAfter(form["Option1"], 1), &form["Option2"]);
    EXPECT_EQ(form.optionAfter(form["Option2"], 1), &form["Option4"]);
    EXPECT_EQ(form.optionAfter(form["Option4"], 1), &form["Option1"]);
    EXPECT_EQ(form.optionAfter(form["Option1"], -1), &form["Option4"]);
    EXPECT_EQ(form.optionAfter(form["Command1"], 1), nullptr);
}

TEST(Form, enterPressesTheDefaultButtonElseTheFocusedCommandButton) {
    Form game(ui::frmCodeDesign());
    EXPECT_EQ(game.enterButton(&game["Command1"]), &game["Command1"]);
    EXPECT_EQ(game.enterButton(&game["Text1"]), nullptr);
    EXPECT_EQ(game.enterButton(&game["Option1"]), nullptr);
    EXPECT_EQ(game.enterButton(nullptr), nullptr);
    Form about(ui::frmAboutDesign());
    EXPECT_EQ(about.enterButton(&about["cmdSysInfo"]), &about["cmdOK"]);
}

TEST(Form, theKeyboardMovesOnAsTheFormSays) {
    Form game(ui::frmCodeDesign());
    for (auto name : {"Option1", "Option2", "Option3", "Option4", "Command5"}) game[name].setVisible(true);
    // Tab stops: a run of options is one group, entered at its first; labels are passed by.
    EXPECT_EQ(game.tabPlace(game["Option1"]).tabStop, true);
    EXPECT_EQ(game.tabPlace(game["Option2"]).startsGroup, false);
    EXPECT_EQ(game.tabPlace(game["Command5"]).startsGroup, true);
    EXPECT_EQ(game.tabPlace(game["Label1"]).tabStop, false);
    // Hidden, the next in tab order that takes the keyboard, round the window; of the options
    // the chosen one.
    game["Command5"].setVisible(false);
    EXPECT_EQ(game.focusAfterHiding(game["Command5"]), &game["Text1"]);
    game["Option3"].setValue(true);
    EXPECT_EQ(game.focusAfterHiding(game["Picture1"]), &game["Option3"]);
    game["Option1"].setVisible(false);
    game["Option3"].setValue(false);
    EXPECT_EQ(game.focusAfterHiding(game["Option1"]), &game["Option2"]);
    // Back: where it was while that is shown, else the first control.
    EXPECT_EQ(game.focusOnReturn(&game["Text3"]), &game["Text3"]);
    EXPECT_EQ(game.focusOnReturn(&game["Option1"]), &game["Text1"]);
    EXPECT_EQ(game.focusOnReturn(&game["Label1"]), &game["Text1"]);
    EXPECT_EQ(game.focusOnReturn(nullptr), &game["Text1"]);
}

TEST(Form, aDescriptionIsTheDescribingLabelsThatSaySomething) {
    Form game(ui::frmCodeDesign());
    EXPECT_EQ(game.description(game["Text1"]), "");
    game["lblturns"].setCaption("You have 5 turns remaining");
    EXPECT_EQ(game.description(game["Text1"]), "You have 5 turns remaining");
    game["Label1"].setCaption("Please enter 4 numbers below. (1-7)");
    EXPECT_EQ(game.description(game["Text1"]), "Please enter 4 numbers below. (1-7) You have 5 turns remaining");
    const auto names = [](const std::vector<Control*>& controls) {
        std::set<std::string> n;
        for (const Control* c : controls) n.insert(std::string(c->name()));
        return n;
    };
    EXPECT_EQ(names(game.describedBy(&game["Label1"])), (std::set<std::string>{"Text1", "Text2", "Text3", "Text4"}));
    EXPECT_EQ(names(game.describedBy(&game["lblturns"])),
              (std::set<std::string>{"Text1", "Text2", "Text3", "Text4", "Command1"}));
    EXPECT_EQ(game.describedBy(nullptr).size(), 5u);
    EXPECT_TRUE(game.describedBy(&game["lblNew"]).empty());
}

TEST(Contrast, onlyBlackAndWhiteOrAllButAreHighContrast) {
    constexpr Colour black{0x000000}, white{0xFFFFFF}, red{0x0000FF};
    EXPECT_NEAR(ContrastRatio(white, red), 4.0, 0.01);  // the labels' white on red: below 4.5
    EXPECT_DOUBLE_EQ(ContrastRatio(black, white), ContrastRatio(white, black));
    EXPECT_NEAR(ContrastRatio(black, white), 21.0, 1e-9);
    EXPECT_TRUE(IsHighContrast(white, black));
    EXPECT_TRUE(IsHighContrast(black, Colour{0xFAFAFA}));
    EXPECT_FALSE(IsHighContrast(black, Colour{0xEFEFEF}));             // Qt's own light palette, 18:1
    EXPECT_FALSE(IsHighContrast(Colour{0x36342E}, Colour{0xF4F5F6}));  // a desktop's usual dark grey on white
}

TEST(Generator, startsFromTheSameStateEveryRun) {
    Generator a, b;
    for (int i = 0; i < 100; ++i) EXPECT_EQ(a.NextRandom(), b.NextRandom());
}

TEST(Generator, staysInRangeAndDealsEveryNumberEvenly) {
    Generator g;
    std::array<int, 10> counts{};
    for (int i = 0; i < 100'000; ++i) {
        const double x = g.NextRandom();
        ASSERT_GE(x, 0.0);
        ASSERT_LT(x, 1.0);
        ++counts[static_cast<std::size_t>(FloorToInteger(x * 10 + 1) - 1)];
    }
    for (int n : counts) {
        EXPECT_GT(n, 9'500);
        EXPECT_LT(n, 10'500);
    }
}

TEST(Generator, theLargestValueStillFloorsInsideSixteenBits) {
    // The generator's values are multiples of 2^-32, the largest one below 1 by that much.
    const double largest = 1.0 - 0x1.0p-32;
    EXPECT_EQ(FloorToInteger(largest * 32767 + 1), 32767);
    EXPECT_EQ(FloorToInteger(largest * -32768 + 1), -32767);
}

TEST(SkipOnFailure, dropsOnlyTheDesignedFailures) {
    int steps = 0;
    SkipOnFailure([&] {
        ++steps;
        throw ConversionFailure("x");
    });
    SkipOnFailure([&] { ++steps; });
    EXPECT_EQ(steps, 2);
    EXPECT_THROW(SkipOnFailure([] { throw std::logic_error("bug"); }), std::logic_error);
    EXPECT_THROW(SkipOnFailure([] { throw ProgramEnd{}; }), ProgramEnd);
}

}  // namespace
}  // namespace numerak
