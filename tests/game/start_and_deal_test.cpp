// The start of the program, choosing a difficulty and dealing.
#include <set>

#include "tests/game/game_fixture.hpp"
#include "ui/designs.hpp"

namespace numerak::test {
namespace {

TEST(GameStart, opensWithThePanelAndOneMessage) {
    ScriptedRuntime rt;
    Generator generator;
    frmCode game(rt, generator, nullptr);
    Form form(game.design());
    EXPECT_FALSE(form["lblNew"].visible());  // hidden until the load handler runs
    rt.answer(Answer::Ok);
    auto loaded = rt.load(game);
    EXPECT_EQ(rt.shown, std::vector<Shown>{message("Please choose your preferred difficulty setting on the right.",
                                                   "Select New game", Buttons::Ok)});
    for (auto n : {"lblNew", "Option1", "Option2", "Option3", "Option4", "Command5"})
        EXPECT_TRUE((*loaded)[n].visible()) << n;
    for (auto n : {"Option1", "Option2", "Option3", "Option4"}) EXPECT_FALSE((*loaded)[n].value()) << n;
    EXPECT_EQ(game.state(), GameState{});
    EXPECT_EQ((*loaded)["Label1"].caption(), "");
    EXPECT_EQ((*loaded)["lblturns"].caption(), "");
}

TEST(GameStart, everyRoutedControlExistsInTheDesign) {
    ScriptedRuntime rt;
    Generator generator;
    frmCode game(rt, generator, nullptr);
    Form form(game.design());
    std::set<std::string_view> names;
    for (const auto& r : game.routes()) {
        EXPECT_NO_THROW(form[r.control]) << r.control;
        EXPECT_TRUE(names.insert(r.control).second) << r.control << " is routed twice";
    }
    EXPECT_EQ(names.size(), 8u);
}

using DealTest = GameTest;

TEST_F(DealTest, presetsSetTurnsAndRange) {
    struct Row {
        const char* option;
        int turns, highest;
        const char* label;
    };
    for (const Row& row : {Row{"Option1", 10, 5, "Please enter 4 numbers below. (1-5)"},
                           Row{"Option2", 8, 7, "Please enter 4 numbers below. (1-7)"},
                           Row{"Option3", 6, 10, "Please enter 4 numbers below. (1-10)"}}) {
        type({"1", "2", "3", "4"});
        c("lblturns").setCaption("You have 2 turns remaining");
        game.Command2_Click();
        play(row.option);
        EXPECT_EQ(s().TurnsLeft, row.turns) << row.option;
        EXPECT_EQ(s().HighestNumber, row.highest) << row.option;
        EXPECT_EQ(c("Label1").caption(), row.label);
        EXPECT_TRUE(boardEmpty());
        EXPECT_TRUE(panelHidden());
        for (auto secret : {s().Secret1, s().Secret2, s().Secret3, s().Secret4}) {
            EXPECT_GE(secret, 1);
            EXPECT_LE(secret, row.highest);
        }
    }
    EXPECT_TRUE(rt.shown.empty());
}

TEST_F(DealTest, customTakesBothAnswers) {
    rt.type("12");
    rt.type("20");
    c("Option4").setValue(true);
    game.Command5_Click();
    EXPECT_EQ(rt.shown,
              (std::vector<Shown>{input("How many turns would you like?", "Turns"),
                                  input("What is the highest number you want to guess with (1-?)", "Number")}));
    EXPECT_EQ(s().TurnsLeft, 12);
    EXPECT_EQ(s().HighestNumber, 20);
    EXPECT_EQ(c("Label1").caption(), "Please enter 4 numbers below. (1-20)");
}

TEST_F(DealTest, customFloorsFractionsAndKeepsZeroAndNegatives) {
    rt.type("7.9");
    rt.type("-0.5");
    play("Option4");
    EXPECT_EQ(s().TurnsLeft, 7);
    EXPECT_EQ(s().HighestNumber, -1);
    rt.type("0");
    rt.type(" 3e1 ");
    play("Option4");
    EXPECT_EQ(s().TurnsLeft, 0);
    EXPECT_EQ(s().HighestNumber, 30);
}

TEST_F(DealTest, refusedCustomAnswersKeepThePreviousValues) {
    play("Option2");  // 8 turns, 1 to 7
    for (const char* refused : {"", "lots", "32768", "-32769", "1e400", "nan"}) {
        rt.type(refused);
        rt.type(refused);
        play("Option4");
        EXPECT_EQ(s().TurnsLeft, 8) << refused;
        EXPECT_EQ(s().HighestNumber, 7) << refused;
        EXPECT_EQ(c("Label1").caption(), "Please enter 4 numbers below. (1-7)");
    }
    // A refused first answer still leads to the second question.
    rt.type("x");
    rt.type("9");
    play("Option4");
    EXPECT_EQ(s().TurnsLeft, 8);
    EXPECT_EQ(s().HighestNumber, 9);
    EXPECT_TRUE(rt.scriptDone());
}

TEST_F(DealTest, cancelBeforeTheFirstGameKeepsZeros) {
    rt.type("");
    rt.type("");
    play("Option4");
    EXPECT_EQ(s().TurnsLeft, 0);
    EXPECT_EQ(s().HighestNumber, 0);
    EXPECT_EQ(c("Label1").caption(), "Please enter 4 numbers below. (1-0)");
}

TEST_F(DealTest, enterWithNoOptionDealsOnesAndKeepsTheTurns) {
    game.Command5_Click();
    EXPECT_TRUE(rt.shown.empty());
    EXPECT_EQ(s(), (GameState{1, 1, 1, 1, 0, 0, 0}));
    EXPECT_EQ(c("Label1").caption(), "Please enter 4 numbers below. (1-0)");
    EXPECT_TRUE(panelHidden());
}

TEST_F(DealTest, smallAndNegativeRanges) {
    rt.type("5");
    rt.type("1");
    play("Option4");
    EXPECT_EQ(s(), (GameState{1, 1, 1, 1, 0, 5, 1}));
    rt.type("5");
    rt.type("-5");
    play("Option4");
    for (auto secret : {s().Secret1, s().Secret2, s().Secret3, s().Secret4}) {
        EXPECT_GE(secret, -4);
        EXPECT_LE(secret, 1);
    }
    rt.type("5");
    rt.type("-32768");
    play("Option4");  // the widest ranges deal without failing
    rt.type("5");
    rt.type("32767");
    play("Option4");
    EXPECT_GE(s().Secret1, 1);
}

TEST_F(DealTest, everyRunDealsTheSameSequence) {
    play("Option3");
    const GameState first = s();
    ScriptedRuntime rt2;
    Generator generator2;
    frmCode other(rt2, generator2, nullptr);
    rt2.answer(Answer::Ok);
    auto form2 = rt2.load(other);
    (*form2)["Option3"].setValue(true);
    other.Command5_Click();
    EXPECT_EQ(other.state(), first);
}

TEST_F(DealTest, newGameOnlyShowsThePanel) {
    play("Option1");
    type({"1", "2", "", "x"});
    rt.answer(Answer::Ok);
    game.Command1_Click();  // spend a turn
    rt.shown.clear();
    const GameState before = s();
    const std::string label = c("Label1").caption();
    game.Command2_Click();
    EXPECT_TRUE(panelVisible());
    EXPECT_EQ(s(), before);
    EXPECT_EQ(c("Text1").text(), "1");
    EXPECT_EQ(c("Label1").caption(), label);
    EXPECT_TRUE(c("Option1").value());
    game.mnuGameNew_Click();
    EXPECT_TRUE(panelVisible());
    EXPECT_TRUE(rt.shown.empty());
    // Enter deals afresh, with the option the player last chose.
    game.Command5_Click();
    EXPECT_EQ(s().TurnsLeft, 10);
    EXPECT_TRUE(panelHidden());
}

}  // namespace
}  // namespace numerak::test
