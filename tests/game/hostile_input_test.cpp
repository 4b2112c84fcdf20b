// Whatever a player types into a box or answers to a Custom question gets a number or the designed
// refusal, the same way every time.
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "tests/game/game_fixture.hpp"

namespace numerak::test {
namespace {

struct Hostile {
    const char* what;
    std::string text;
    std::optional<double> number;        // what it reads as; none where it is refused
    std::optional<std::int16_t> custom;  // what a Custom answer keeps; none where it is dropped
};

const std::vector<Hostile>& hostileTexts() {
    static const std::vector<Hostile> table{
        {"the empty text (a cancelled question)", "", {}, {}},
        {"blanks only", "   \t ", {}, {}},
        {"ten thousand digits", std::string(10'000, '9'), {}, {}},
        {"ten thousand digits of a small number", std::string(9'999, '0') + "1", 1.0, 1},
        {"1e309", "1e309", {}, {}},
        {"-1e309", "-1e309", {}, {}},
        {"1e-400", "1e-400", 0.0, 0},
        {"-0", "-0", -0.0, 0},
        {"0x10", "0x10", {}, {}},
        {"nan", "nan", {}, {}},
        {"NaN", "NaN", {}, {}},
        {"inf", "inf", {}, {}},
        {"-infinity", "-infinity", {}, {}},
        {"a decimal comma", "3,5", {}, {}},
        {"a thousands blank", "1 000", {}, {}},
        {"a line end from a paste", "3\r\n", {}, {}},
        {"a non-breaking space", std::string("\xC2\xA0") + "3", {}, {}},
        {"a full-width three", "\xEF\xBC\x93", {}, {}},
        {"full-width one zero", "\xEF\xBC\x91\xEF\xBC\x90", {}, {}},
        {"an Arabic-Indic three", "\xD9\xA3", {}, {}},
        {"a Devanagari three", "\xE0\xA5\xA9", {}, {}},
        {"a superscript three", "\xC2\xB3", {}, {}},
        {"an embedded NUL", std::string("3") + '\0' + "3", {}, {}},
        {"a trailing NUL", std::string("3") + '\0', {}, {}},
        {"invalid UTF-8", "\xC3\x28", {}, {}},
        {"a stray continuation byte after a digit", "3\x80", {}, {}},
        {"a right-to-left mark before", std::string("\xE2\x80\x8F") + "3", {}, {}},
        {"a right-to-left mark after", "3\xE2\x80\x8F", {}, {}},
        {"a right-to-left override", std::string("\xE2\x80\xAE") + "12", {}, {}},
        {"a 1 MiB paste", std::string(1 << 20, '1'), {}, {}},
        {"a 1 MiB paste of a small number", std::string((1 << 20) - 1, '0') + "2", 2.0, 2},
        {"just past the turn counter", "32768", 32768.0, {}},
        {"the bottom of the turn counter", "-32768", -32768.0, -32768},
        {"a fraction below the top", "32767.99", 32767.99, 32767},
        {"a negative fraction", "-0.5", -0.5, -1},
    };
    return table;
}

TEST(HostileInput, eachTextReadsAsItsNumberOrIsRefusedEveryTime) {
    for (const Hostile& h : hostileTexts()) {
        for (int round = 0; round < 2; ++round) {
            if (h.number) {
                const double n = ToNumber(h.text);
                EXPECT_EQ(n, *h.number) << h.what;
                EXPECT_EQ(std::signbit(n), std::signbit(*h.number)) << h.what;
            } else {
                EXPECT_THROW(ToNumber(h.text), ConversionFailure) << h.what;
            }
        }
    }
}

using HostileInputTest = GameTest;

// In any box, by either way of guessing: a count, or the entry failure with the turn spent.
TEST_F(HostileInputTest, eachBoxTextIsCountedOrRefusedWithTheDesignedBox) {
    struct Way {
        void (frmCode::*guess)();
        const char* entryFailure;
    };
    for (const Way way : {Way{&frmCode::Command1_Click, "Please enter numbers in all 4 boxes"},
                          Way{&frmCode::mnuGameGuess_Click, "Please enter 4 numbers in the boxes."}}) {
        for (const Hostile& h : hostileTexts()) {
            for (std::size_t box = 0; box < 4; ++box) {
                play("Option1");
                const GameState dealt = s();
                const std::array<std::int16_t, 4> secrets{dealt.Secret1, dealt.Secret2, dealt.Secret3, dealt.Secret4};
                // The other boxes hold wrong numbers, so only the hostile one can count.
                std::array<std::string, 4> boxes;
                for (std::size_t i = 0; i < 4; ++i) boxes[i] = i == box ? h.text : IntegerText(secrets[i] + 100);
                type(boxes);
                const int right = h.number && *h.number == secrets[box] ? 1 : 0;
                rt.answer(h.number ? Answer::Yes : Answer::Ok);
                (game.*way.guess)();

                const std::string where = std::string(h.what) + " in box " + std::to_string(box + 1);
                const Shown expected =
                    h.number ? message("You got " + std::to_string(right) + " out of four, do you want to continue?",
                                       "sorry", Buttons::YesNo)
                             : message(way.entryFailure, "enter number", Buttons::Ok);
                EXPECT_EQ(rt.shown, std::vector<Shown>{expected}) << where;
                EXPECT_EQ(s().Correct, right) << where;
                EXPECT_EQ(s().TurnsLeft, 9) << where << ": the turn is spent either way";
                EXPECT_EQ(s().HighestNumber, 5) << where;
                EXPECT_EQ(s().Secret1, dealt.Secret1) << where;
                EXPECT_EQ(s().Secret4, dealt.Secret4) << where;
                EXPECT_TRUE(panelHidden()) << where;
                for (std::size_t i = 0; i < 4; ++i)
                    EXPECT_EQ(c("Text" + std::to_string(i + 1)).text(), boxes[i]) << where << ": the boxes keep it";
                EXPECT_TRUE(rt.scriptDone()) << where;
                rt.shown.clear();
            }
        }
    }
}

// As either answer: kept (floored) when it fits, else dropped in silence with the previous value
// kept, and the other answer taken all the same.
TEST_F(HostileInputTest, eachCustomAnswerIsKeptOrDroppedInSilence) {
    for (const Hostile& h : hostileTexts()) {
        for (bool asTurns : {true, false}) {
            play("Option2");  // 8 turns, 1 to 7: what a dropped answer leaves
            rt.type(asTurns ? h.text : "9");
            rt.type(asTurns ? "9" : h.text);
            c("Option4").setValue(true);
            game.Command5_Click();

            const std::string where = std::string(h.what) + (asTurns ? " as the turns" : " as the highest number");
            EXPECT_EQ(rt.shown,
                      (std::vector<Shown>{input("How many turns would you like?", "Turns"),
                                          input("What is the highest number you want to guess with (1-?)", "Number")}))
                << where;
            const int turns = asTurns ? h.custom.value_or(8) : 9;
            const int highest = asTurns ? 9 : h.custom.value_or(7);
            EXPECT_EQ(s().TurnsLeft, turns) << where;
            EXPECT_EQ(s().HighestNumber, highest) << where;
            EXPECT_EQ(c("Label1").caption(), "Please enter 4 numbers below. (1-" + IntegerText(highest) + ")") << where;
            const int low = highest >= 1 ? 1 : highest + 1;
            const int high = std::max<int>(highest, 1);
            for (int secret : {s().Secret1, s().Secret2, s().Secret3, s().Secret4}) {
                EXPECT_GE(secret, low) << where;
                EXPECT_LE(secret, high) << where;
            }
            EXPECT_TRUE(panelHidden()) << where;
            EXPECT_TRUE(boardEmpty()) << where;
            EXPECT_TRUE(rt.scriptDone()) << where;
            rt.shown.clear();
        }
    }
}

}  // namespace
}  // namespace numerak::test
