// win32_runtime.hpp: the window runtime on the Win32 API: the views, the boxes, the message
// loops.
#pragma once

#include <memory>
#include <string>

#include <windows.h>

#include "runtime/window_runtime.hpp"

namespace numerak::win32 {

class FormWindow;

class Win32Runtime : public WindowRuntime {
public:
    // appTitle is the title of message boxes that are given none.
    explicit Win32Runtime(std::string appTitle) : WindowRuntime(std::move(appTitle)) {}

    // Runs the message loop until the program ends; its exit code.
    int run();
    // One message through the windows' keyboard handling and on to its window.
    void deliver(MSG& message);

    FormWindow* window(const FormLogic& logic) const;  // null when not loaded

protected:
    std::unique_ptr<WindowView> realise(Form& form, FormLogic& logic) override;
    Answer messageBox(std::string_view text, std::string_view title, Buttons buttons) override;
    std::string inputBox(std::string_view prompt, std::string_view title) override;
    void runModal(FormLogic& logic) override;
    void leaveEventLoop() override;

private:
    HWND ownerWindow() const;  // the window boxes are modal to; null before any is showing
};

}  // namespace numerak::win32
