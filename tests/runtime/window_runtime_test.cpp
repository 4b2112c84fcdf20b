// The window life every front end shares: one handler at a time, modal windows, the end.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/frmcode.hpp"
#include "runtime/random.hpp"
#include "runtime/window_runtime.hpp"
#include "tests/support/scripted_runtime.hpp"

namespace numerak::test {
namespace {

// A window with two buttons whose handlers the test gives.
class TwoButtons : public FormLogic {
public:
    std::function<void()> first = [] {}, second = [] {};

    const WindowDesign& design() const override { return design_; }
    void attach(Form*) override {}
    std::vector<Route> routes() override {
        return {{"First", [this] { first(); }}, {"Second", [this] { second(); }}};
    }

private:
    static constexpr ControlDesign controls_[2]{{.name = "First", .kind = ControlKind::CommandButton},
                                                {.name = "Second", .kind = ControlKind::CommandButton}};
    const WindowDesign design_{.name = "frmTwo", .controls = controls_};
};

// Boxes are answered at once; what runs while a box or a modal window waits is the test's.
class Toolkit : public WindowRuntime {
public:
    Toolkit() : WindowRuntime("Title") {}

    std::function<void()> whileBoxWaits = [] {};
    std::function<void(FormLogic&)> whileModal = [](FormLogic&) {};
    std::vector<std::string> boxes;
    int left = 0;  // times the event loop was left

protected:
    Answer messageBox(std::string_view text, std::string_view title, Buttons) override {
        boxes.push_back(std::string(title) + ": " + std::string(text));
        whileBoxWaits();
        return Answer::Yes;
    }
    std::string inputBox(std::string_view, std::string_view) override { return {}; }
    void runModal(FormLogic& window) override {
        whileModal(window);
        UnloadWindow(window);
    }
    void leaveEventLoop() override { ++left; }
};

TEST(WindowRuntime, aHandlerWaitingInABoxKeepsEveryOtherEventOut) {
    Toolkit rt;
    TwoButtons w;
    int second = 0;
    w.first = [&] { rt.ShowMessage("waiting", std::nullopt, Buttons::YesNo); };
    w.second = [&] { ++second; };
    rt.whileBoxWaits = [&] { rt.raise(w, "Second"); };  // a click the page let through
    rt.start(w);
    rt.raise(w, "First");
    EXPECT_EQ(second, 0);
    rt.raise(w, "Second");
    EXPECT_EQ(second, 1);
}

TEST(WindowRuntime, onlyTheModalWindowTakesInputUntilItIsUnloaded) {
    Toolkit rt;
    TwoButtons game, about;
    int gameClicks = 0, aboutClicks = 0;
    game.first = [&] { rt.ShowModal(about); };
    game.second = [&] { ++gameClicks; };
    about.second = [&] { ++aboutClicks; };
    rt.whileModal = [&](FormLogic&) {
        rt.raise(game, "Second");
        rt.raise(about, "Second");
    };
    rt.start(game);
    rt.raise(game, "First");
    EXPECT_EQ(gameClicks, 0);
    EXPECT_EQ(aboutClicks, 1);
    EXPECT_FALSE(rt.isLoaded(about));
    rt.raise(game, "Second");
    EXPECT_EQ(gameClicks, 1);
}

TEST(WindowRuntime, anUntrappedFailureIsToldAndTheEndClosesEverythingOnce) {
    Toolkit rt;
    TwoButtons game, about;
    game.first = [] { throw std::runtime_error("the disk is on fire"); };
    rt.start(game);
    rt.raise(game, "First");
    ASSERT_EQ(rt.boxes.size(), 1u);
    EXPECT_NE(rt.boxes[0].find("Title: Something went wrong"), std::string::npos);
    EXPECT_NE(rt.boxes[0].find("the disk is on fire"), std::string::npos);
    EXPECT_FALSE(rt.ended());

    int after = 0;
    game.first = [&] { rt.ShowModal(about); };
    about.first = [&] {
        rt.EndProgram();
        ++after;  // never reached
    };
    rt.whileModal = [&](FormLogic& w) { rt.raise(w, "First"); };
    rt.raise(game, "First");
    EXPECT_TRUE(rt.ended());
    EXPECT_EQ(rt.left, 1);
    EXPECT_FALSE(rt.isLoaded(game));
    game.second = [&] { ++after; };
    rt.raise(game, "Second");
    EXPECT_EQ(after, 0);
}

TEST(WindowRuntime, aFailureWhileWritingWhatThePlayerTypedIsToldNotThrown) {
    Toolkit rt;
    TwoButtons w;
    rt.start(w);
    Form* form = rt.form(w);
    form->setListener([](Control&, Property) { throw std::runtime_error("the widget is gone"); });
    EXPECT_NO_THROW(rt.typed(w, (*form)["First"], "3"));
    ASSERT_EQ(rt.boxes.size(), 1u);
    EXPECT_NE(rt.boxes[0].find("the widget is gone"), std::string::npos);
    EXPECT_EQ((*form)["First"].text(), "3");
}

// Two options; the handler of the second sees what is chosen when it runs.
class TwoOptions : public FormLogic {
public:
    Form* form = nullptr;
    std::vector<bool> seen;  // the two values, when the second's handler ran

    const WindowDesign& design() const override { return design_; }
    void attach(Form* f) override { form = f; }
    std::vector<Route> routes() override {
        return {{"Two", [this] { seen = {(*form)["One"].value(), (*form)["Two"].value()}; }}};
    }

private:
    static constexpr ControlDesign controls_[2]{{.name = "One", .kind = ControlKind::OptionButton},
                                                {.name = "Two", .kind = ControlKind::OptionButton}};
    const WindowDesign design_{.name = "frmOptions", .controls = controls_};
};

TEST(WindowRuntime, anOptionClickedIsChosenThenItsHandlerRuns) {
    Toolkit rt;
    TwoOptions w;
    rt.start(w);
    (*w.form)["One"].setValue(true);
    rt.clicked(w, (*w.form)["Two"]);
    EXPECT_EQ(w.seen, (std::vector<bool>{false, true}));
    w.seen.clear();
    rt.clicked(w, (*w.form)["One"]);  // chosen, and no handler to run
    EXPECT_TRUE((*w.form)["One"].value());
    EXPECT_TRUE(w.seen.empty());
}

// A window whose load handler fails until it is told otherwise.
class FailingLoad : public TwoButtons {
public:
    bool fail = true;
    void Form_Load() override {
        if (fail) throw std::runtime_error("the design is missing");
    }
};

TEST(WindowRuntime, aStartWindowThatFailsToLoadIsToldAndEndsTheProgram) {
    Toolkit rt;
    FailingLoad game;
    rt.start(game);
    ASSERT_EQ(rt.boxes.size(), 1u);
    EXPECT_NE(rt.boxes[0].find("the design is missing"), std::string::npos);
    EXPECT_FALSE(rt.isLoaded(game));
    EXPECT_TRUE(rt.ended());
    EXPECT_EQ(rt.left, 1);
}

TEST(WindowRuntime, aModalWindowThatFailedToLoadOnceOpensTheNextTime) {
    Toolkit rt;
    TwoButtons game;
    FailingLoad about;
    int shown = 0;
    game.first = [&] { rt.ShowModal(about); };
    rt.whileModal = [&](FormLogic&) { ++shown; };
    rt.start(game);
    rt.raise(game, "First");
    ASSERT_EQ(rt.boxes.size(), 1u);
    EXPECT_FALSE(rt.isLoaded(about));
    EXPECT_EQ(shown, 0);
    about.fail = false;
    rt.raise(game, "First");
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(rt.ended());
}

TEST(WindowRuntime, aKeyIsCarriedOutThroughItsWindowAndAGoneWindowTakesNothing) {
    ScriptedRuntime rt;
    Generator generator;
    frmCode game{rt, generator, nullptr};
    rt.answer(Answer::Ok);  // the opening message
    rt.start(game);
    Form& f = *rt.form(game);
    EXPECT_EQ(rt.boxOwner(), rt.view(game));
    const auto press = [&](Key k, Control* on, bool alt = false, char letter = 0) {
        return rt.key(game, KeyPress{.key = k, .letter = letter, .alt = alt}, on);
    };
    EXPECT_TRUE(press(Key::Down, &f["Option1"]));
    EXPECT_TRUE(press(Key::Letter, &f["Text1"], true, 'G'));
    EXPECT_TRUE(press(Key::F10, nullptr));
    EXPECT_TRUE(press(Key::Enter, &f["Text1"]));                // the window's, and nothing
    EXPECT_FALSE(press(Key::Letter, &f["Text1"], false, 'G'));  // typing is the toolkit's
    EXPECT_EQ(rt.keysDid, (std::vector<std::string>{"focus Option2", "press Option2", "press Command1", "menu bar"}));

    rt.answer(Answer::Yes);  // sure to quit
    rt.closeBox(game);
    ASSERT_FALSE(rt.isLoaded(game));
    Control& box = f["Text1"];
    EXPECT_FALSE(press(Key::Letter, &box, true, 'G'));
    rt.typed(game, box, "7");
    EXPECT_EQ(box.text(), "");
    EXPECT_EQ(rt.keysDid.size(), 4u);
}

}  // namespace
}  // namespace numerak::test
