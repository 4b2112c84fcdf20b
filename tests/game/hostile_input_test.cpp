// Whatever a player types into a box or answers to a Custom question gets a number or the designed
// refusal, the same way every time.
#include <string>

#include "tests/game/game_fixture.hpp"

namespace numerak::test {
namespace {

struct Hostile {
    const char* what;
    std::string text;
    bool isNumber;
};

std::vector<Hostile> hostileTexts() {
    return {
        {"empty", "", false},
        {"blanks only", "   \t ", false},
        {"ten thousand digits", std::string(10'000, '9'), false},  // beyond a double
        {"ten thousand zeros then 1", std::string(10'000, '0') + "1", true},
        {"1e309", "1e309", false},
        {"-0", "-0", true},
        {"0x10", "0x10", false},
        {"nan", "nan", false},
        {"inf", "inf", false},
        {"decimal comma", "3,5", false},
        {"full-width three", "\xEF\xBC\x93", false},
        {"Arabic-Indic three", "\xD9\xA3", false},
        {"embedded NUL",
         std::string("3\0"
                     "3",
                     3),
         false},
        {"invalid UTF-8", "\xC3\x28", false},
        {"right-to-left mark",
         "\xE2\x80\x8F"
         "3",
         false},
        {"a 1 MiB paste", std::string(1 << 20, '1'), false},
        {"a 1 MiB paste of a small number", std::string((1 << 20) - 1, '0') + "2", true},
    };
}

using HostileInputTest = GameTest;

TEST_F(HostileInputTest, eachBoxTextIsANumberOrTheEntryFailure) {
    for (const Hostile& h : hostileTexts()) {
        for (int round = 0; round < 2; ++round) {  // the same way every time
            play("Option1");
            // The first three boxes are wrong numbers, so only the fourth can count.
            type({IntegerText(s().Secret1 + 100), IntegerText(s().Secret2 + 100), IntegerText(s().Secret3 + 100),
                  h.text});
            rt.answer(h.isNumber ? Answer::Yes : Answer::Ok);
            game.Command1_Click();
            ASSERT_EQ(rt.shown.size(), 1u) << h.what;
            EXPECT_EQ(rt.shown[0].title, h.isNumber ? "sorry" : "enter number") << h.what;
            EXPECT_EQ(s().Correct, h.isNumber && ToNumber(h.text) == s().Secret4 ? 1 : 0) << h.what;
            EXPECT_EQ(s().TurnsLeft, 9) << h.what;
            EXPECT_TRUE(rt.scriptDone()) << h.what;
        }
    }
}

TEST_F(HostileInputTest, eachCustomAnswerIsStoredOrDropped) {
    play("Option2");  // 8 turns, 1 to 7: what a dropped answer leaves
    for (const Hostile& h : hostileTexts()) {
        rt.type(h.text);
        rt.type(h.text);
        play("Option4");
        bool fits = false;
        std::int16_t n = 0;
        try {
            n = FloorToInteger(ToNumber(h.text));
            fits = true;
        } catch (const ConversionFailure&) {}
        EXPECT_EQ(s().TurnsLeft, fits ? n : 8) << h.what;
        EXPECT_EQ(s().HighestNumber, fits ? n : 7) << h.what;
        EXPECT_TRUE(rt.shown.empty()) << h.what << ": a refused answer is dropped in silence";
        EXPECT_TRUE(panelHidden());
        play("Option2");
    }
}

}  // namespace
}  // namespace numerak::test
