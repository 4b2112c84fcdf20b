// The control model, the generator and the skip-on-failure mode.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <vector>

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
