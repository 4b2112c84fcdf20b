// random_player.cpp
#include "tests/support/random_player.hpp"

#include <algorithm>
#include <array>
#include <set>

#include "about/frmabout.hpp"
#include "runtime/conversions.hpp"

namespace numerak::test {

namespace {

const std::set<std::tuple<std::string, std::string, Buttons>> designedBoxes{
    {"Please choose your preferred difficulty setting on the right.", "Select New game", Buttons::Ok},
    {"Are you sure you want to quit?", "Are you sure?", Buttons::YesNo},
    {"Sorry you are out of turns, would you like to go again?", "out of turns", Buttons::YesNo},
    {"Sorry you are out of turns, would you like to play again?", "out of turns", Buttons::YesNo},
    {"You got 0 out of four, do you want to continue?", "sorry", Buttons::YesNo},
    {"You got 1 out of four, do you want to continue?", "sorry", Buttons::YesNo},
    {"You got 2 out of four, do you want to continue?", "sorry", Buttons::YesNo},
    {"You got 3 out of four, do you want to continue?", "sorry", Buttons::YesNo},
    {"You done it! Would you like to play again?", "well done", Buttons::YesNo},
    {"Please enter numbers in all 4 boxes", "enter number", Buttons::Ok},
    {"Please enter 4 numbers in the boxes.", "enter number", Buttons::Ok},
    {"System Information Is Unavailable At This Time", "", Buttons::Ok},
};
const std::set<std::pair<std::string, std::string>> designedQuestions{
    {"How many turns would you like?", "Turns"},
    {"What is the highest number you want to guess with (1-?)", "Number"},
};

// Pieces a player's typing is made of: digits and signs, and the odd things people paste.
const std::array<std::string, 16> pieces{
    "0", "1", "2", "3", "5", "9", ".", "-", "+", "e", " ", "x", "nan", "1e309", "\xEF\xBC\x93", std::string("\0", 1)};

// Nothing to find and nothing to start: System Info always says it is unavailable.
class BarePlatform : public MemoryRegistryPlatform {
public:
    std::string FindFile(const std::string&) override { return {}; }
    std::int64_t StartProgram(const std::string&, int) override { throw PlatformFailure("nothing to start"); }
};

}  // namespace

Answer DrivenRuntime::ShowMessage(std::string_view text, std::optional<std::string_view> title, Buttons buttons) {
    ++boxesShown;
    if (!designedBoxes.count({std::string(text), std::string(title.value_or("")), buttons}))
        throw RuleBroken("a box the game was not designed to show: " + std::string(text));
    if (buttons == Buttons::Ok) return Answer::Ok;
    return bytes_.next() & 1 ? Answer::Yes : Answer::No;
}

std::string DrivenRuntime::AskText(std::string_view prompt, std::string_view title) {
    ++boxesShown;
    if (!designedQuestions.count({std::string(prompt), std::string(title)}))
        throw RuleBroken("a question the game was not designed to ask: " + std::string(prompt));
    return typed(static_cast<std::int16_t>(bytes_.next() % 40));
}

std::string DrivenRuntime::typed(std::int16_t secret) {
    const int length = bytes_.next() % 8;
    if (length == 7) return IntegerText(secret);  // now and then the right number
    std::string text;
    for (int i = 0; i < length; ++i) text += pieces[bytes_.next() % pieces.size()];
    return text;
}

void DrivenRuntime::ShowModal(FormLogic& window) {
    Form form(window.design());
    window.attach(&form);
    modal_.push_back(&window);
    window.Form_Load();
    auto& about = dynamic_cast<frmAbout&>(window);
    // A few presses of its buttons, then OK or the close box.
    for (int i = bytes_.next() % 3; i > 0; --i) about.cmdSysInfo_Click();
    if (bytes_.next() & 1)
        about.cmdOK_Click();
    else
        UnloadWindow(window);
    if (std::find(modal_.begin(), modal_.end(), &window) != modal_.end())
        throw RuleBroken("the About window stayed open");
}

void DrivenRuntime::unload(FormLogic& window) {
    window.attach(nullptr);
    modal_.erase(std::remove(modal_.begin(), modal_.end(), &window), modal_.end());
}

RandomPlayer::RandomPlayer(ByteSource& bytes)
    : bytes_(bytes), runtime_(bytes), platform_(std::make_unique<BarePlatform>()) {
    startProgram();
}

void RandomPlayer::startProgram() {
    game_ = std::make_unique<frmCode>(runtime_, generator_,
                                      [this] { return std::make_unique<frmAbout>(runtime_, *platform_); });
    form_ = std::make_unique<Form>(game_->design());
    game_->attach(form_.get());
    game_->Form_Load();
    dealt_ = false;
}

bool RandomPlayer::step() {
    if (bytes_.exhausted()) return false;
    const GameState before = game_->state();
    const int action = bytes_.next() % 12;
    Form& f = *form_;
    try {
        switch (action) {
            case 0: game_->Command1_Click(); break;
            case 1: game_->mnuGameGuess_Click(); break;
            case 2: game_->Command2_Click(); break;
            case 3: game_->mnuGameNew_Click(); break;
            case 4:
                game_->Command5_Click();
                dealt_ = true;
                break;
            case 5: game_->Command3_Click(); break;
            case 6: game_->mnuFileClose_Click(); break;
            case 7: game_->mnuHelpAbout_Click(); break;
            case 8: runtime_.UnloadWindow(*game_); break;  // the close box
            case 9: f["Option" + std::to_string(bytes_.next() % 4 + 1)].setValue(true); break;
            default: {
                const int box = bytes_.next() % 4;
                const std::array<std::int16_t, 4> secrets{before.Secret1, before.Secret2, before.Secret3,
                                                          before.Secret4};
                f["Text" + std::to_string(box + 1)].setText(runtime_.typed(secrets[static_cast<std::size_t>(box)]));
            }
        }
    } catch (const ProgramEnd&) {
        // The player confirmed a quit: the program ends, and a new one starts.
        ++ended_;
        ++actions_;
        startProgram();
        return true;
    }
    ++actions_;
    check(before, action);
    return true;
}

void RandomPlayer::check(const GameState& before, int action) {
    const GameState& s = game_->state();
    auto fail = [&](const std::string& what) {
        throw RuleBroken(what + " after action " + std::to_string(action) + " (turns " +
                         std::to_string(before.TurnsLeft) + " -> " + std::to_string(s.TurnsLeft) + ")");
    };
    const bool guess = action == 0 || action == 1;
    if (guess) {
        const int expected = before.TurnsLeft == -32768 ? -32768 : before.TurnsLeft - 1;
        if (s.TurnsLeft != expected) fail("a guess did not spend exactly one turn");
    } else if (action != 4 && s.TurnsLeft != before.TurnsLeft) {
        fail("the turns changed without a guess or a deal");
    }
    if (s.Correct < 0 || s.Correct > 4) fail("Correct out of 0 to 4");
    if (action != 4) {
        if (s.Secret1 != before.Secret1 || s.Secret2 != before.Secret2 || s.Secret3 != before.Secret3 ||
            s.Secret4 != before.Secret4 || s.HighestNumber != before.HighestNumber)
            fail("the deal changed without Enter");
    }
    if (dealt_) {
        const int low = s.HighestNumber >= 1 ? 1 : s.HighestNumber + 1;
        const int high = std::max<int>(s.HighestNumber, 1);
        for (int secret : {s.Secret1, s.Secret2, s.Secret3, s.Secret4})
            if (secret < low || secret > high) fail("a secret outside the dealt range");
    } else if (s.Secret1 || s.Secret2 || s.Secret3 || s.Secret4) {
        fail("secrets before any deal");
    }
    int shown = 0;
    for (auto name : {"lblNew", "Option1", "Option2", "Option3", "Option4", "Command5"})
        shown += (*form_)[name].visible();
    if (shown != 0 && shown != 6) fail("the difficulty panel is half shown");
}

}  // namespace numerak::test
