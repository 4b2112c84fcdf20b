// form_window.hpp: one loaded window, realised from its design and kept in step with its model.
#pragma once

#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include <windows.h>

#include "runtime/controls.hpp"
#include "runtime/win32/widgets.hpp"
#include "runtime/window_runtime.hpp"

namespace numerak::win32 {

class FormWindow : public WindowView {
public:
    // Builds the window hidden, from the form's design and bound to it, owned by owner (none
    // for the first window).
    FormWindow(WindowRuntime& runtime, Form& form, FormLogic& logic, HWND owner);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    HMENU menu() const { return menu_; }

    // The Windows control realising a control of the design; null for none and for lines.
    HWND control(std::string_view name, int index = -1) const;
    // The unseen label that names a control to a screen reader; null where its text does.
    HWND nameLabel(std::string_view name, int index = -1) const;
    HWND firstFocus() const;

    // Shows the window, active, with the keyboard on its first control in tab order.
    void showWindow() override;
    // The same, the other windows disabled until it has been unloaded.
    void showWindowModal() override;
    // The window's keyboard handling for a message on its way to it: Enter and Esc for the
    // default and cancel buttons, then the dialog manager's Tab, arrows and access keys.
    bool preTranslate(MSG& message);

    // Gives the input back to the windows it disabled, and destroys the window; the object
    // itself goes later.
    void unloaded() override;
    void focus(Control& control) override;
    void press(Control& control) override;
    void openMenuBar() override;

private:
    struct Binding {
        Control* control;
        HWND hwnd = nullptr;       // null for lines and menu entries
        HWND nameLabel = nullptr;  // the unseen label a screen reader names it by, if any
        int id = 0;
        HFONT font = nullptr;  // a font of its own, from its design
    };

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void build(HWND owner);
    void buildControls();
    void buildMenus();
    void layout(UINT dpi);
    void command(int id, int code);
    void reflect(Control& control, Property property);
    void describe(const Control* changed);  // every described control for null
    LRESULT colour(HDC dc, HWND child, UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void recolour();
    HBRUSH brush(Colour colour);
    Binding* binding(int id);
    Binding* binding(const Control* control);  // null for null
    Control* controlOf(HWND window);           // null for none of the window's controls

    WindowRuntime& runtime_;
    Form& form_;
    FormLogic& logic_;
    HWND hwnd_ = nullptr;
    HMENU menu_ = nullptr;
    DWORD style_ = 0, exStyle_ = 0;
    UINT dpi_ = 96;
    HFONT font_ = nullptr;
    std::map<std::uint32_t, HBRUSH> brushes_;
    bool highContrast_ = highContrast();  // as the system said when last asked
    std::vector<Binding> bindings_;
    HWND savedFocus_ = nullptr;
    std::vector<HWND> disabled_;  // by showing modally; enabled again when it goes
};

}  // namespace numerak::win32
