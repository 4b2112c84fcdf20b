// qt_runtime.hpp: the window runtime on Qt 6 Widgets: loading windows, modal boxes, dispatching.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "runtime/services.hpp"

class QWidget;

namespace numerak::qt {

class FormWindow;

class QtRuntime : public Runtime {
public:
    // appTitle is the title of message boxes that are given none.
    explicit QtRuntime(std::string appTitle);
    ~QtRuntime() override;
    QtRuntime(const QtRuntime&) = delete;
    QtRuntime& operator=(const QtRuntime&) = delete;

    // Loads the start window (its load handler runs before it is first shown) and shows it.
    void start(FormLogic& logic);

    // Runs a handler on behalf of the toolkit: EndProgram ends the program here, and a failure
    // that no handler trapped is told to the player instead of crashing the program.
    void dispatch(const std::function<void()>& handler);

    bool ended() const { return ended_; }

    // What ending the program does once every window is gone: leave the application's event
    // loop. Tests that run no event loop of their own replace it.
    void setOnEnd(std::function<void()> onEnd) { onEnd_ = std::move(onEnd); }
    FormWindow* window(const FormLogic& logic) const;  // null when not loaded

    Answer ShowMessage(std::string_view text, std::optional<std::string_view> title, Buttons buttons) override;
    std::string AskText(std::string_view prompt, std::string_view title) override;
    void ShowModal(FormLogic& logic) override;
    [[noreturn]] void EndProgram() override;

protected:
    void unload(FormLogic& logic) override;

private:
    FormWindow* load(FormLogic& logic);
    void endProgram();
    QWidget* boxParent() const;

    std::string appTitle_;
    std::vector<FormWindow*> windows_;  // loaded windows, in the order they were loaded
    std::function<void()> onEnd_;
    bool ended_ = false;
};

}  // namespace numerak::qt
