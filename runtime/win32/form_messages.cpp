// form_messages.cpp: what a loaded window does with the messages Windows sends it: commands,
// colours, painting, the close box, activation and DPI changes.
#include <windows.h>

#include "runtime/win32/form_window.hpp"
#include "runtime/win32/widgets.hpp"

namespace numerak::win32 {

HBRUSH FormWindow::brush(Colour colour) {
    auto& b = brushes_[colour.value];
    if (!b) b = ::CreateSolidBrush(toColorRef(colour));
    return b;
}

LRESULT FormWindow::colour(HDC dc, HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
    for (auto& b : bindings_) {
        if (b.hwnd != child) continue;
        const ControlLook look = LookOf(*b.control->design(), static_cast<int>(dpi_), highContrast_);
        if (look.fore) ::SetTextColor(dc, toColorRef(*look.fore));
        if (!look.back) break;
        ::SetBkColor(dc, toColorRef(*look.back));
        return reinterpret_cast<LRESULT>(brush(*look.back));
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

// New system colours, or high contrast switched: the brushes are made again, and every control
// paints itself again.
void FormWindow::recolour() {
    for (auto& [colour, b] : brushes_) ::DeleteObject(b);
    brushes_.clear();
    highContrast_ = highContrast();
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void FormWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd_, &ps);
    // In creation order, those drawn on top last.
    for (const bool onTop : {false, true})
        for (const auto& b : bindings_) {
            const ControlDesign* d = b.control->design();
            if (!d || d->kind != ControlKind::Line || !b.control->visible()) continue;
            const ControlLook look = LookOf(*d, static_cast<int>(dpi_), false);
            if (look.onTop == onTop) paintLine(dc, look);
        }
    ::EndPaint(hwnd_, &ps);
}

LRESULT CALLBACK FormWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->menu_ = nullptr;  // destroyed with the window
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT FormWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: command(LOWORD(wParam), HIWORD(wParam)); return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            return colour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message, wParam, lParam);
        case WM_ERASEBKGND: {
            RECT r;
            ::GetClientRect(hwnd_, &r);
            ::FillRect(reinterpret_cast<HDC>(wParam), &r, brush(form_.design().back));
            return 1;
        }
        case WM_PAINT: paint(); return 0;
        case WM_CLOSE:
            // The close box is an unload request like any other; the runtime decides whether it happens.
            runtime_.closeBox(logic_);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = ::GetFocus();
                if (focus && ::IsChild(hwnd_, focus)) savedFocus_ = focus;
            } else if (!HIWORD(wParam)) {
                // Back where it was, or where the form says when that is gone.
                if (Control* to = form_.focusOnReturn(controlOf(savedFocus_))) focus(*to);
            }
            return 0;
        case DM_GETDEFID: {
            Binding* b = binding(form_.defaultButton());
            if (b && b->hwnd && ::IsWindowVisible(b->hwnd)) return MAKELRESULT(b->id, DC_HASDEFID);
            return 0;
        }
        case WM_DPICHANGED: {
            layout(HIWORD(wParam));
            const RECT* r = reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_SYSCOLORCHANGE: recolour(); return 0;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETHIGHCONTRAST && highContrast() != highContrast_) recolour();
            return ::DefWindowProcW(hwnd_, message, wParam, lParam);
        default: return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

}  // namespace numerak::win32
