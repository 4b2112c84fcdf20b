// Guessing: the turn counter, the count of right boxes, winning, losing and bad entries.
#include "tests/game/game_fixture.hpp"

namespace numerak::test {
namespace {

using GuessTest = GameTest;

Shown sorry(int n) {
    return message("You got " + std::to_string(n) + " out of four, do you want to continue?", "sorry", Buttons::YesNo);
}
const Shown win = message("You done it! Would you like to play again?", "well done", Buttons::YesNo);
const Shown buttonOutOfTurns =
    message("Sorry you are out of turns, would you like to go again?", "out of turns", Buttons::YesNo);
const Shown menuOutOfTurns =
    message("Sorry you are out of turns, would you like to play again?", "out of turns", Buttons::YesNo);
const Shown buttonEntryFailure = message("Please enter numbers in all 4 boxes", "enter number", Buttons::Ok);
const Shown menuEntryFailure = message("Please enter 4 numbers in the boxes.", "enter number", Buttons::Ok);

TEST_F(GuessTest, countsRightBoxesAndGoesOnAfterYes) {
    play("Option1");
    for (int right = 0; right <= 3; ++right) {
        typeWithRight(right);
        rt.answer(Answer::Yes);
        game.Command1_Click();
        EXPECT_EQ(rt.shown.back(), sorry(right));
        EXPECT_EQ(s().Correct, right);
    }
    EXPECT_EQ(rt.shown.size(), 4u);
    EXPECT_EQ(s().TurnsLeft, 6);
    EXPECT_EQ(c("Text1").text(), IntegerText(s().Secret1));  // the boxes keep the guess
}

TEST_F(GuessTest, turnLabelCountsDownFromFive) {
    play("Option1");  // 10 turns
    for (int guessNo = 1; guessNo <= 9; ++guessNo) {
        typeWithRight(0);
        rt.answer(Answer::Yes);
        game.Command1_Click();
        const int left = 10 - guessNo;
        EXPECT_EQ(c("lblturns").caption(), left > 5 ? "" : "You have " + std::to_string(left) + " turns remaining")
            << "after guess " << guessNo;
    }
    rt.shown.clear();
    typeWithRight(4);  // the last turn is spent without comparing the boxes
    rt.answer(Answer::Yes);
    game.Command1_Click();
    EXPECT_EQ(rt.shown, std::vector<Shown>{buttonOutOfTurns});
    EXPECT_EQ(s().TurnsLeft, 0);
}

TEST_F(GuessTest, hardShowsTheCounterFromTheFirstGuess) {
    play("Option3");
    typeWithRight(1);
    rt.answer(Answer::Yes);
    game.Command1_Click();
    EXPECT_EQ(c("lblturns").caption(), "You have 5 turns remaining");
}

TEST_F(GuessTest, lossResetsTheBoardWhateverTheAnswer) {
    for (Answer a : {Answer::Yes, Answer::No}) {
        rt.type("1");
        rt.type("5");
        play("Option4");
        typeWithRight(2);
        rt.answer(a);
        if (a == Answer::No) rt.answer(Answer::No);  // the quit is refused
        game.Command1_Click();
        EXPECT_EQ(rt.shown.front(), buttonOutOfTurns);
        EXPECT_EQ(rt.shown.size(), a == Answer::No ? 2u : 1u);
        EXPECT_TRUE(panelVisible());
        EXPECT_TRUE(boardEmpty());
        EXPECT_EQ(c("Label1").caption(), "Please enter 4 numbers below (0-5)");
        EXPECT_FALSE(rt.ended());
        rt.shown.clear();
    }
}

TEST_F(GuessTest, guessesAfterTheLossGoOnBelowZeroWithoutAnotherQuestion) {
    rt.type("1");
    rt.type("5");
    play("Option4");
    rt.answer(Answer::Yes);
    game.Command1_Click();
    rt.shown.clear();
    typeWithRight(1);
    rt.answer(Answer::Yes);
    game.Command1_Click();
    EXPECT_EQ(s().TurnsLeft, -1);
    EXPECT_EQ(rt.shown, std::vector<Shown>{sorry(1)});
}

TEST_F(GuessTest, winningByButton) {
    play("Option2");
    typeSecrets();
    rt.answer(Answer::Yes);
    game.Command1_Click();
    EXPECT_EQ(rt.shown, std::vector<Shown>{win});
    EXPECT_EQ(s().Correct, 4);
    EXPECT_TRUE(panelVisible());
    EXPECT_TRUE(boardEmpty());
    EXPECT_EQ(c("Label1").caption(), "Please enter 4 numbers below (0-7)");
}

TEST_F(GuessTest, winAnsweredNoWithTheQuitRefused) {
    // The button leaves the board alone; the menu resets it all the same.
    play("Option2");
    typeSecrets();
    rt.answer(Answer::No);
    rt.answer(Answer::No);
    game.Command1_Click();
    EXPECT_EQ(rt.shown, (std::vector<Shown>{win, quitQuestion}));
    EXPECT_TRUE(panelHidden());
    EXPECT_EQ(c("Text1").text(), IntegerText(s().Secret1));
    EXPECT_EQ(c("Label1").caption(), "Please enter 4 numbers below. (1-7)");

    rt.shown.clear();
    rt.answer(Answer::No);
    rt.answer(Answer::No);
    game.mnuGameGuess_Click();
    EXPECT_EQ(rt.shown, (std::vector<Shown>{win, quitQuestion}));
    EXPECT_TRUE(panelVisible());
    EXPECT_TRUE(boardEmpty());
    EXPECT_EQ(c("Label1").caption(), "Please enter 4 numbers below (0-7)");
}

TEST_F(GuessTest, winByMenuAnsweredYesResetsOnce) {
    play("Option1");
    typeSecrets();
    rt.answer(Answer::Yes);
    game.mnuGameGuess_Click();
    EXPECT_EQ(rt.shown, std::vector<Shown>{win});
    EXPECT_TRUE(panelVisible());
    EXPECT_TRUE(boardEmpty());
}

TEST_F(GuessTest, numbersMatchByValue) {
    rt.type("5");
    rt.type("1");
    play("Option4");  // every secret is 1
    type({"1", "1.0", "01", " +1e0 "});
    rt.answer(Answer::Yes);
    game.Command1_Click();
    EXPECT_EQ(rt.shown, std::vector<Shown>{win});
    rt.shown.clear();
    type({"1.5", "1", "1", "1"});
    rt.answer(Answer::Yes);
    game.Command1_Click();
    EXPECT_EQ(rt.shown, std::vector<Shown>{sorry(3)});
}

TEST_F(GuessTest, aBadBoxStopsTheCountAndSpendsTheTurn) {
    play("Option1");
    type({IntegerText(s().Secret1), "", "x", "1"});
    rt.answer(Answer::Ok);
    game.Command1_Click();
    EXPECT_EQ(rt.shown, std::vector<Shown>{buttonEntryFailure});
    EXPECT_EQ(s().Correct, 1);  // kept until the next guess
    EXPECT_EQ(s().TurnsLeft, 9);
    rt.shown.clear();
    for (const char* bad : {"abc", "", " ", "3,5", "0x3", "nan"}) {
        type({"1", "1", "1", bad});
        rt.answer(Answer::Ok);
        game.mnuGameGuess_Click();
        EXPECT_EQ(rt.shown.back(), menuEntryFailure) << bad;
    }
    EXPECT_EQ(rt.shown.size(), 6u);
    EXPECT_EQ(s().TurnsLeft, 3);
    EXPECT_EQ(c("lblturns").caption(), "You have 3 turns remaining");
}

TEST_F(GuessTest, theTwoEntriesDifferOnlyInTheirWording) {
    rt.type("1");
    rt.type("5");
    play("Option4");
    rt.answer(Answer::Yes);
    game.mnuGameGuess_Click();
    EXPECT_EQ(rt.shown, std::vector<Shown>{menuOutOfTurns});
}

TEST_F(GuessTest, beforeTheFirstDealTheSecretsAreZero) {
    type({"0", "0", "0", "0"});
    rt.answer(Answer::Yes);
    game.Command1_Click();
    EXPECT_EQ(rt.shown, std::vector<Shown>{win});
    EXPECT_EQ(s().TurnsLeft, -1);
    EXPECT_EQ(c("lblturns").caption(), "");
    EXPECT_EQ(c("Label1").caption(), "Please enter 4 numbers below (0-0)");
}

TEST_F(GuessTest, theTurnCounterStopsAtItsBottom) {
    rt.type("-32767");
    rt.type("5");
    play("Option4");
    typeWithRight(0);
    rt.answer(Answer::Yes);
    game.Command1_Click();
    EXPECT_EQ(s().TurnsLeft, -32768);
    rt.shown.clear();
    for (int i = 0; i < 3; ++i) {
        rt.answer(Answer::Ok);
        game.Command1_Click();
        EXPECT_EQ(s().TurnsLeft, -32768);
    }
    EXPECT_EQ(rt.shown, (std::vector<Shown>(3, buttonEntryFailure)));
}

TEST_F(GuessTest, noToSorryAsksToQuitAndYesEndsTheProgram) {
    play("Option1");
    typeWithRight(2);
    rt.answer(Answer::No);
    rt.answer(Answer::Yes);
    EXPECT_THROW(game.Command1_Click(), ProgramEnd);
    EXPECT_TRUE(rt.ended());
    EXPECT_EQ(rt.shown, (std::vector<Shown>{sorry(2), quitQuestion}));
}

TEST_F(GuessTest, noToSorryWithTheQuitRefusedKeepsPlaying) {
    play("Option1");
    const GameState dealt = s();
    typeWithRight(2);
    rt.answer(Answer::No);
    rt.answer(Answer::No);
    game.Command1_Click();
    EXPECT_FALSE(rt.ended());
    EXPECT_EQ(s().TurnsLeft, 9);
    EXPECT_EQ(s().Secret1, dealt.Secret1);
    EXPECT_TRUE(panelHidden());
    EXPECT_TRUE(rt.scriptDone());
}

TEST_F(GuessTest, quitConfirmedAtTheLossEndsBeforeTheReset) {
    rt.type("1");
    rt.type("5");
    play("Option4");
    typeWithRight(0);
    rt.answer(Answer::No);
    rt.answer(Answer::Yes);
    EXPECT_THROW(game.Command1_Click(), ProgramEnd);
    EXPECT_TRUE(panelHidden());
    EXPECT_EQ(c("Text1").text(), IntegerText(s().Secret1 + 100));
}

using QuitTest = GameTest;

TEST_F(QuitTest, everyWayOutAsksFirst) {
    play("Option3");
    typeWithRight(1);
    const GameState before = s();
    for (auto request : {&frmCode::Command3_Click, &frmCode::mnuFileClose_Click}) {
        rt.answer(Answer::No);
        (game.*request)();
        EXPECT_EQ(rt.shown, std::vector<Shown>{quitQuestion});
        EXPECT_EQ(s(), before);
        EXPECT_EQ(c("Text2").text(), IntegerText(s().Secret2 + 100));
        EXPECT_TRUE(rt.unloaded.empty());
        rt.shown.clear();
    }
    // The close box goes through the same unload request.
    rt.answer(Answer::No);
    rt.UnloadWindow(game);
    EXPECT_EQ(rt.shown, std::vector<Shown>{quitQuestion});
    EXPECT_TRUE(rt.unloaded.empty());

    rt.answer(Answer::Yes);
    EXPECT_THROW(game.Command3_Click(), ProgramEnd);
    EXPECT_TRUE(rt.ended());
}

}  // namespace
}  // namespace numerak::test
