// qt_runtime.hpp: the window runtime on Qt 6 Widgets: the views, the boxes, the modal loop.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "runtime/window_runtime.hpp"

class QWidget;

namespace numerak::qt {

class FormWindow;

class QtRuntime : public WindowRuntime {
public:
    // appTitle is the title of message boxes that are given none.
    explicit QtRuntime(std::string appTitle);

    // What ending the program does once every window is gone: leave the application's event
    // loop. Tests that run no event loop of their own replace it.
    void setOnEnd(std::function<void()> onEnd) { onEnd_ = std::move(onEnd); }
    FormWindow* window(const FormLogic& logic) const;  // null when not loaded

protected:
    std::unique_ptr<WindowView> realise(Form& form, FormLogic& logic) override;
    Answer messageBox(std::string_view text, std::string_view title, Buttons buttons) override;
    std::string inputBox(std::string_view prompt, std::string_view title) override;
    void runModal(FormLogic& logic) override;
    void leaveEventLoop() override;
    void scheduleCollectUnloaded() override;

private:
    QWidget* boxParent() const;

    std::function<void()> onEnd_;
    QObject timers_;  // what the runtime has asked of the event loop goes with it
};

}  // namespace numerak::qt
