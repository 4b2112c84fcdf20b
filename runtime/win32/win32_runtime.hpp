// win32_runtime.hpp: the window runtime on the Win32 API: loading windows, modal boxes,
// the message loop and the dispatcher every handler runs through.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "runtime/services.hpp"

namespace numerak::win32 {

class FormWindow;

class Win32Runtime : public Runtime {
public:
    // appTitle is the title of message boxes that are given none.
    explicit Win32Runtime(std::string appTitle);
    ~Win32Runtime() override;
    Win32Runtime(const Win32Runtime&) = delete;
    Win32Runtime& operator=(const Win32Runtime&) = delete;

    // Loads the start window (its load handler runs before it is first shown) and shows it.
    void start(FormLogic& window);
    // Runs the message loop until the program ends; its exit code.
    int run();
    // One message through the windows' keyboard handling and on to its window.
    void deliver(MSG& message);

    // Runs a handler on behalf of a window: EndProgram ends the program here, and a failure
    // that no handler trapped is told to the player. Nothing is let through to Windows.
    void dispatch(const std::function<void()>& handler);

    bool ended() const { return ended_; }
    FormWindow* window(const FormLogic& logic) const;  // null when not loaded

    Answer ShowMessage(std::string_view text, std::optional<std::string_view> title, Buttons buttons) override;
    std::string AskText(std::string_view prompt, std::string_view title) override;
    void ShowModal(FormLogic& window) override;
    [[noreturn]] void EndProgram() override;

protected:
    void unload(FormLogic& window) override;

private:
    struct Modal {
        FormWindow* window;
        std::vector<HWND> disabled;  // what it disabled, enabled again before it goes
    };

    FormWindow* load(FormLogic& logic, HWND owner);
    void endProgram();
    void releaseModal(FormWindow* window);
    HWND boxOwner() const;  // the window boxes are modal to; null before any is showing

    std::string appTitle_;
    std::vector<std::unique_ptr<FormWindow>> windows_;   // loaded, in the order they were loaded
    std::vector<std::unique_ptr<FormWindow>> unloaded_;  // destroyed, freed once no handler runs
    std::vector<Modal> modals_;
    int depth_ = 0;  // handlers running
    bool ended_ = false;
};

}  // namespace numerak::win32
