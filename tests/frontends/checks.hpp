// checks.hpp: the behaviour every front end shows (checks.txt), read, and played on a front end
// through its driver, a Player. The runner is ticked from a timer of the front end's event loop,
// so that it goes on while a box or a modal window runs a loop of its own; what it does to the
// program it hands to the Player to do later, from the event loop, never inside a tick.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/look.hpp"

namespace numerak::test {

struct CheckStep {
    int line = 0;
    std::string verb;
    std::string rest;                // all after the verb
    std::vector<std::string> words;  // the rest, split at blanks
};

struct FrontEndCheck {
    std::string name;
    std::vector<CheckStep> steps;
};

// The checks of checks.txt, built into the test programs, with $VERSION as given.
std::vector<FrontEndCheck> FrontEndChecks(std::string_view version);
void PrintTo(const FrontEndCheck& check, std::ostream* out);  // by its name, in GoogleTest's reports

// A box up, as the player sees it.
struct BoxUp {
    std::string title, text;
    std::vector<std::string> buttons;  // their captions without access-key marks, in any order
    std::string defaultButton;
    bool icon = false;   // the boxes of the design show none
    bool field = false;  // an input box's
};

// What a screen reader hears of a control, in the words of checks.txt.
struct Heard {
    std::string role;  // "" where the platform does not tell it apart: then it is not compared
    std::string name, description;
    bool showing = true;          // false: the reader finds it hidden
    std::optional<bool> checked;  // an option's, where the platform tells it
};

// What a screen reader hears of the box up: its role, its name (the title), the text it reads
// after it, the buttons' names and, in an input box, its field's.
struct BoxHeard {
    std::string role;  // alert or dialog; "" where the platform does not tell them apart
    std::string name, text;
    std::vector<std::string> buttons;
    std::string field;
};

using Rgb = std::uint32_t;  // 0xRRGGBB

// What a front end's driver does to the program and sees of it. Windows and controls are named as
// their designs name them.
class Player {
public:
    virtual ~Player() = default;

    // Runs the action soon, from the event loop. The runner waits for it to start, not to end: it
    // may wait in a box or a modal window for a long time.
    virtual void post(std::function<void()> action) = 0;

    // The actions, each done as a player does it, inside a posted action.
    virtual void start() = 0;
    virtual void key(std::string_view window, std::string_view key) = 0;
    virtual void type(std::string_view window, std::string_view text) = 0;
    virtual void fill(std::string_view window, std::string_view control, std::string_view text) = 0;
    virtual void click(std::string_view window, std::string_view control) = 0;
    virtual void menu(std::string_view window, std::string_view item) = 0;
    virtual void close(std::string_view window) = 0;
    // The system asks for more contrast, or no longer.
    virtual void contrast(bool more) = 0;
    // A click on a control of a window beneath a modal one, and its access key pressed, as a
    // player tries them; what the player's keyboard reaches is the modal window's.
    virtual void tryBeneath(std::string_view window, std::string_view control) = 0;

    // The box up that has not been answered yet, and its answer: Enter, Escape, "click <button>",
    // or "type <text>, <answer>". The answer may be carried out later.
    virtual std::optional<BoxUp> box() = 0;
    virtual void answer(std::string_view answer) = 0;

    // What the player sees.
    virtual bool windowUp(std::string_view window) = 0;
    virtual std::string focus(std::string_view window) = 0;  // the control with the keyboard, or ""
    virtual bool chosen(std::string_view window, std::string_view control) = 0;
    virtual bool shown(std::string_view window, std::string_view control) = 0;
    virtual std::string caption(std::string_view window, std::string_view control) = 0;
    virtual PixelRect client(std::string_view window) = 0;  // the width and height
    virtual PixelRect place(std::string_view window, std::string_view control) = 0;
    // The background as painted, and the colour of its text; the window's own ground where the
    // control named is the window.
    virtual std::pair<Rgb, Rgb> colours(std::string_view window, std::string_view control) = 0;
    virtual Rgb systemColour(int index) = 0;
    virtual bool ended() = 0;

    // What a screen reader hears: of a control, or of the window where the control named is the
    // window; none where it finds nothing.
    virtual std::optional<Heard> heard(std::string_view window, std::string_view control) = 0;
    virtual std::optional<BoxHeard> heardBox() = 0;
    // Whether screen readers were told that what they hear of the control changed (its name or
    // its description) since the last action began.
    virtual bool announced(std::string_view window, std::string_view control) = 0;
};

// Plays one check on a player. Failures are reported through GoogleTest, with the line of the
// step.
class CheckRunner {
public:
    CheckRunner(const FrontEndCheck& check, Player& player, std::chrono::milliseconds patience);

    // One step further, when it can be taken.
    void tick();
    bool done() const { return done_; }

private:
    void next();
    void fail(const std::string& what);
    bool act(const CheckStep& step);
    std::optional<std::string> expect(const CheckStep& step);  // what was seen instead, when not so
    std::optional<std::string> heardAs(const CheckStep& step);
    void expectHeard(const BoxUp& box, const std::vector<std::string>& expected, int line);
    bool expired() const;

    const FrontEndCheck& check_;
    Player& player_;
    std::chrono::milliseconds patience_;
    std::size_t at_ = 0;
    std::chrono::steady_clock::time_point since_;
    std::string window_ = "frmCode";
    int posted_ = 0;                                 // actions posted that have not started
    std::chrono::steady_clock::time_point settled_;  // a try beneath a modal window has come to nothing by then
    bool ticking_ = false;
    bool done_ = false;
};

}  // namespace numerak::test
