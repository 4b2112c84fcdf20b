// random_player.cpp
#include "tests/support/random_player.hpp"
#include "app/identity.hpp"

#include <algorithm>
#include <array>
#include <set>
#include <tuple>

#include "about/frmabout.hpp"
#include "runtime/conversions.hpp"

namespace numerak::test {

namespace {

constexpr std::string_view quitQuestion = "Are you sure you want to quit?";
constexpr std::string_view winBox = "You done it! Would you like to play again?";

const std::set<std::tuple<std::string, std::string, Buttons>> designedBoxes{
    {"Please choose your preferred difficulty setting on the right.", "Select New game", Buttons::Ok},
    {std::string(quitQuestion), "Are you sure?", Buttons::YesNo},
    {"Sorry you are out of turns, would you like to go again?", "out of turns", Buttons::YesNo},
    {"Sorry you are out of turns, would you like to play again?", "out of turns", Buttons::YesNo},
    {"You got 0 out of four, do you want to continue?", "sorry", Buttons::YesNo},
    {"You got 1 out of four, do you want to continue?", "sorry", Buttons::YesNo},
    {"You got 2 out of four, do you want to continue?", "sorry", Buttons::YesNo},
    {"You got 3 out of four, do you want to continue?", "sorry", Buttons::YesNo},
    {std::string(winBox), "well done", Buttons::YesNo},
    {"Please enter numbers in all 4 boxes", "enter number", Buttons::Ok},
    {"Please enter 4 numbers in the boxes.", "enter number", Buttons::Ok},
    {"System Information Is Unavailable At This Time", "", Buttons::Ok},
};
constexpr std::string_view turnsQuestion = "How many turns would you like?";
constexpr std::string_view highestQuestion = "What is the highest number you want to guess with (1-?)";
const std::set<std::pair<std::string, std::string>> designedQuestions{
    {std::string(turnsQuestion), "Turns"},
    {std::string(highestQuestion), "Number"},
};

// The wording of each way of guessing: the out-of-turns question and the entry failure.
struct Wording {
    std::string_view outOfTurns;
    std::string_view entryFailure;
};
constexpr Wording buttonWording{"Sorry you are out of turns, would you like to go again?",
                                "Please enter numbers in all 4 boxes"};
constexpr Wording menuWording{"Sorry you are out of turns, would you like to play again?",
                              "Please enter 4 numbers in the boxes."};

constexpr std::array<std::string_view, 6> difficultyPanel{"lblNew",  "Option1", "Option2",
                                                          "Option3", "Option4", "Command5"};

// Pieces a player's typing is made of: digits and signs, and the odd things people paste.
const std::array<std::string, 16> pieces{
    "0", "1", "2", "3", "5", "9", ".", "-", "+", "e", " ", "x", "nan", "1e309", "\xEF\xBC\x93", std::string("\0", 1)};
// Numbers at the edges of the counters, so that the turn counter's guard is reached too.
const std::array<std::string, 8> edges{"-32768", "-32767", "32767", "32768", "-1", "0", "1", "2"};

// Nothing to find and nothing to start: System Info always says it is unavailable.
class BarePlatform : public MemoryRegistryPlatform {
public:
    std::string FindFile(const std::string&) override { return {}; }
    std::int64_t StartProgram(const std::string&, int) override { throw PlatformFailure("nothing to start"); }
};

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

}  // namespace

void click(FormLogic& window, Control& control) {
    if (control.isOption()) control.setValue(true);  // the button's own doing, before any handler
    for (auto& route : window.routes()) {
        if (route.control == control.name()) {
            route.handler();
            return;
        }
    }
}

void DrivenRuntime::shownOne(std::string_view text) {
    if (quitConfirmed_) throw RuleBroken("the game went on after a confirmed quit: " + std::string(text));
    ++tally_.boxesShown;
    ++tally_.timesShown[std::string(text)];
    tally_.shownNow.emplace_back(text);
}

Answer DrivenRuntime::messageBox(std::string_view text, std::string_view title, Buttons buttons) {
    shownOne(text);
    if (!designedBoxes.count({std::string(text), std::string(title), buttons}))
        throw RuleBroken("a box the game was not designed to show: " + std::string(text));
    if (buttons == Buttons::Ok) return Answer::Ok;
    // Most quits are thought better of, so that games get played to their end too.
    const std::uint8_t b = bytes_.next();
    const bool yes = text == quitQuestion ? b % 8 == 0 : (b & 1) != 0;
    if (yes && text == quitQuestion) quitConfirmed_ = true;
    return yes ? Answer::Yes : Answer::No;
}

std::string DrivenRuntime::inputBox(std::string_view prompt, std::string_view title) {
    shownOne(prompt);
    if (!designedQuestions.count({std::string(prompt), std::string(title)}))
        throw RuleBroken("a question the game was not designed to ask: " + std::string(prompt));
    return typed(static_cast<std::int16_t>(bytes_.next() % 40));
}

void DrivenRuntime::leaveEventLoop() {
    // The game window goes only with the program, and the program only after a Yes to the quit.
    if (!quitConfirmed_) throw RuleBroken("the program ended without a confirmed quit");
}

std::string DrivenRuntime::typed(std::int16_t secret) {
    const int kind = bytes_.next() % 16;
    if (kind == 0) return {};                                // nothing, as a cancelled question gives
    if (kind <= 6) return IntegerText(secret);               // the right number, now and then
    if (kind <= 10) return IntegerText(bytes_.next() % 12);  // a small number, most often wrong
    if (kind == 11) return edges[bytes_.next() % edges.size()];
    std::string text;
    for (int length = 1 + bytes_.next() % 6; length > 0; --length) text += pieces[bytes_.next() % pieces.size()];
    return text;
}

void DrivenRuntime::runModal(FormLogic& window) {
    // A few clicks, on its buttons or anywhere in it, then the close box if it is still open.
    for (int clicks = bytes_.next() % 4; clicks > 0 && isLoaded(window); --clicks) {
        const std::uint8_t b = bytes_.next();
        if (b & 1) {
            auto routes = window.routes();
            routes[(b >> 1) % routes.size()].handler();
        } else {
            const auto& controls = form(window)->controls();
            click(window, *controls[(b >> 1) % controls.size()]);
        }
    }
    if (isLoaded(window)) UnloadWindow(window);
    if (isLoaded(window)) throw RuleBroken("the About window stayed open");
}

RandomPlayer::RandomPlayer(ByteSource& bytes) : bytes_(bytes), platform_(std::make_unique<BarePlatform>()) {
    startProgram();
}

void RandomPlayer::startProgram() {
    game_.reset();  // the last run's windows go before its runtime
    runtime_ = std::make_unique<DrivenRuntime>(bytes_, tally_);
    generator_ = Generator();  // a new program deals the same sequence again
    game_ = std::make_unique<frmCode>(
        *runtime_, generator_, [this] { return std::make_unique<frmAbout>(*runtime_, *platform_, numerakIdentity); });
    tally_.shownNow.clear();
    form_ = runtime_->load(*game_);
    dealt_ = false;
}

bool RandomPlayer::step() {
    if (bytes_.exhausted()) return false;
    const GameState before = game_->state();
    tally_.shownNow.clear();
    Form& f = *form_;
    std::string clicked;
    try {
        const int action = bytes_.next() % 20;  // nearly half of all actions type into a box
        if (action < 8) {
            auto routes = game_->routes();
            const Route& route = routes[static_cast<std::size_t>(action) % routes.size()];
            clicked = route.control;
            route.handler();
        } else if (action == 8) {
            clicked = "(close box)";
            runtime_->UnloadWindow(*game_);
        } else if (action == 9) {
            Control& control = *f.controls()[bytes_.next() % f.controls().size()];
            clicked = control.name();
            click(*game_, control);
        } else if (action == 10) {
            clicked = "Option" + std::to_string(bytes_.next() % 4 + 1);
            f[clicked].setValue(true);
        } else {
            const int box = bytes_.next() % 4;
            const std::array<std::int16_t, 4> secrets{before.Secret1, before.Secret2, before.Secret3, before.Secret4};
            clicked = "Text" + std::to_string(box + 1);
            f[clicked].setText(runtime_->typed(secrets[static_cast<std::size_t>(box)]));
        }
    } catch (const ProgramEnd&) {
        // The player confirmed a quit (EndProgram made sure): the program ends, and a new one starts.
        ++ended_;
        ++actions_;
        startProgram();
        return true;
    }
    ++actions_;
    check(before, clicked);
    return true;
}

void RandomPlayer::check(const GameState& before, std::string_view clicked) {
    const GameState& s = game_->state();
    Form& f = *form_;
    const std::vector<std::string>& shown = tally_.shownNow;
    auto fail = [&](const std::string& what) {
        std::string boxes;
        for (const auto& b : shown) boxes += " [" + b + "]";
        throw RuleBroken(what + " after " + std::string(clicked) + " (turns " + std::to_string(before.TurnsLeft) +
                         " -> " + std::to_string(s.TurnsLeft) + ", highest " + std::to_string(s.HighestNumber) +
                         ", shown" + boxes + ")");
    };
    if (runtime_->quitConfirmed()) fail("a confirmed quit did not end the program");

    const bool byButton = clicked == "Command1";
    const bool byMenu = clicked == "mnuGameGuess";
    const bool deal = clicked == "Command5";
    if (deal) dealt_ = true;

    // The state.
    if (byButton || byMenu) {
        if (before.TurnsLeft == -32768) ++guessesAtGuard_;
        const int expected = before.TurnsLeft == -32768 ? -32768 : before.TurnsLeft - 1;
        if (s.TurnsLeft != expected) fail("a guess did not spend exactly one turn");
    } else if (!deal && s.TurnsLeft != before.TurnsLeft) {
        fail("the turns changed without a guess or a deal");
    }
    if (s.Correct < 0 || s.Correct > 4) fail("Correct out of 0 to 4");
    if (!deal && (s.Secret1 != before.Secret1 || s.Secret2 != before.Secret2 || s.Secret3 != before.Secret3 ||
                  s.Secret4 != before.Secret4 || s.HighestNumber != before.HighestNumber))
        fail("the deal changed without Enter");
    if (dealt_) {
        const int low = s.HighestNumber >= 1 ? 1 : s.HighestNumber + 1;
        const int high = std::max<int>(s.HighestNumber, 1);
        for (int secret : {s.Secret1, s.Secret2, s.Secret3, s.Secret4})
            if (secret < low || secret > high) fail("a secret outside the dealt range");
    } else if (s.Secret1 || s.Secret2 || s.Secret3 || s.Secret4) {
        fail("secrets before any deal");
    }

    // What the player sees.
    int panelShown = 0;
    for (auto name : difficultyPanel) panelShown += f[name].visible();
    if (panelShown != 0 && panelShown != static_cast<int>(difficultyPanel.size()))
        fail("the difficulty panel is half shown");
    if (deal && panelShown != 0) fail("the panel stayed up after Enter");
    int chosen = 0;
    for (auto name : {"Option1", "Option2", "Option3", "Option4"}) chosen += f[name].value();
    if (chosen > 1) fail("two difficulties chosen at once");
    const std::string& turns = f["lblturns"].caption();
    if (!turns.empty() &&
        (s.TurnsLeft < 1 || s.TurnsLeft > 5 || turns != "You have " + IntegerText(s.TurnsLeft) + " turns remaining"))
        fail("the turns label says \"" + turns + "\"");
    const std::string& instructions = f["Label1"].caption();
    const std::string highest = IntegerText(s.HighestNumber);
    // A deal names its range; a reset board (a win is possible before any deal) names it from 0.
    if (instructions != "Please enter 4 numbers below (0-" + highest + ")" &&
        instructions != (dealt_ ? "Please enter 4 numbers below. (1-" + highest + ")" : std::string()))
        fail("the instructions say \"" + instructions + "\"");

    // The boxes this action brought up, in their designed order.
    const auto only = [&](std::initializer_list<std::string_view> allowed) {
        for (const auto& b : shown)
            if (std::find(allowed.begin(), allowed.end(), b) == allowed.end()) fail("the box \"" + b + "\" here");
    };
    if (byButton || byMenu) {
        const Wording& own = byButton ? buttonWording : menuWording;
        if (shown.empty()) fail("a guess answered nothing");
        const std::string& first = shown[0];
        if (first == own.entryFailure) {
            if (shown.size() != 1) fail("more after the entry failure");
            return;
        }
        if (startsWith(first, "You got ")) {
            if (first != "You got " + IntegerText(s.Correct) + " out of four, do you want to continue?")
                fail("the count shown is not the count made");
        } else if (first == winBox) {
            if (s.Correct != 4) fail("a win with fewer than four right");
        } else if (first == own.outOfTurns) {
            if (s.TurnsLeft != 0) fail("out of turns with turns left");
        } else {
            fail("a guess answered with \"" + first + "\"");
        }
        if (shown.size() > 2 || (shown.size() == 2 && shown[1] != quitQuestion)) fail("more boxes than a guess has");
    } else if (deal) {
        if (f["Option4"].value()) {
            if (shown.size() != 2 || shown[0] != turnsQuestion || shown[1] != highestQuestion)
                fail("Custom did not ask its two questions in turn");
        } else if (!shown.empty()) {
            fail("a preset asked something");
        }
    } else if (clicked == "Command3" || clicked == "mnuFileClose" || clicked == "(close box)") {
        if (shown.size() != 1 || shown[0] != quitQuestion) fail("a way out that did not ask first");
    } else if (clicked == "mnuHelpAbout") {
        only({"System Information Is Unavailable At This Time"});
    } else {
        only({});
    }
}

}  // namespace numerak::test
