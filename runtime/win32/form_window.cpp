// form_window.cpp: building a window from its design and binding controls to model controls.
#include "runtime/win32/form_window.hpp"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "runtime/keys.hpp"
#include "runtime/win32/accessible.hpp"
#include "runtime/win32/ids.hpp"
#include "runtime/win32/text.hpp"
#include "runtime/win32/widgets.hpp"

namespace numerak::win32 {

namespace {

constexpr wchar_t formClass[] = L"NumerakForm";
constexpr int programIcon = 1;  // the icon group of numerak.exe

bool pressed(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

}  // namespace

FormWindow::FormWindow(WindowRuntime& runtime, Form& form, FormLogic& logic, HWND owner)
    : runtime_(runtime), form_(form), logic_(logic) {
    build(owner);
}

FormWindow::~FormWindow() {
    if (hwnd_) ::DestroyWindow(hwnd_);  // takes its menu with it
    if (menu_) ::DestroyMenu(menu_);
    for (auto& b : bindings_)
        if (b.font) ::DeleteObject(b.font);
    if (font_) ::DeleteObject(font_);
    for (auto& [colour, brush] : brushes_) ::DeleteObject(brush);
}

void FormWindow::build(HWND owner) {
    registerWindowClass(formClass, windowProc);

    const WindowDesign& d = form_.design();
    const bool fixed = d.border == BorderStyle::FixedDialog;
    style_ = (fixed ? WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU : WS_OVERLAPPEDWINDOW) | WS_CLIPCHILDREN;
    exStyle_ = fixed ? WS_EX_DLGMODALFRAME : 0;
    for (const auto& control : form_.controls()) {
        const int position = static_cast<int>(bindings_.size());
        const int designed = static_cast<int>(d.controls.size());
        const int id = control->design() ? firstControlId + position : firstMenuId + position - designed;
        bindings_.push_back({control.get(), nullptr, nullptr, id, nullptr});
    }
    buildMenus();
    hwnd_ = ::CreateWindowExW(exStyle_, formClass, widen(form_.caption()).c_str(), style_, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, owner, menu_, thisModule(), this);
    if (!hwnd_) throw std::runtime_error("The window " + std::string(d.name) + " could not be created.");
    buildControls();
    layout(windowDpi(hwnd_));

    const WindowLook look = LookOf(d, static_cast<int>(dpi_));
    RECT client{0, 0, look.clientWidth, look.clientHeight};
    if (look.position) ::OffsetRect(&client, look.position->x, look.position->y);
    RECT outer = outerRect(client, style_, exStyle_, menu_ != nullptr, dpi_);
    const UINT move = look.position ? 0 : SWP_NOMOVE;
    ::SetWindowPos(hwnd_, nullptr, outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | move);
    // A menu bar that wraps is taller than the adjustment assumes: the client area keeps its size.
    RECT got;
    ::GetClientRect(hwnd_, &got);
    const int shortBy = (client.bottom - client.top) - got.bottom;
    if (shortBy != 0)
        ::SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top + shortBy,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);

    if (!d.icon.empty()) {
        for (auto [which, metric] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
            const int size = ::GetSystemMetrics(metric);
            HANDLE icon = ::LoadImageW(thisModule(), MAKEINTRESOURCEW(programIcon), IMAGE_ICON, size, size, LR_SHARED);
            if (icon) ::SendMessageW(hwnd_, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
        }
    }
    describe(nullptr);
    form_.setCaptionListener([this] { ::SetWindowTextW(hwnd_, widen(form_.caption()).c_str()); });
    form_.setListener([this](Control& c, Property p) { reflect(c, p); });
}

void FormWindow::buildControls() {
    std::vector<Binding*> order;
    for (Control* c : form_.tabOrder())
        if (c->design()->kind != ControlKind::Line) order.push_back(binding(c));
    for (auto& b : bindings_)  // in creation order, as designed
        if (b.control->design() && b.control->design()->kind != ControlKind::Line) {
            b.hwnd = createControl(*b.control->design(), hwnd_, b.id, form_.tabPlace(*b.control));
            if (b.hwnd) b.nameLabel = createNameLabel(*b.control->design(), hwnd_);
        }
    HWND previous = HWND_TOP;
    const auto placeAfter = [&previous](HWND h) {
        ::SetWindowPos(h, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = h;
    };
    for (Binding* b : order) {
        if (!b->hwnd) continue;
        if (b->nameLabel) placeAfter(b->nameLabel);  // just before its box
        placeAfter(b->hwnd);
    }
}

void FormWindow::buildMenus() {
    HMENU bar = nullptr;
    HMENU current = nullptr;
    for (auto& b : bindings_) {
        const Control& c = *b.control;
        const std::wstring caption = widen(c.caption());
        if (c.role() == ControlRole::Menu) {
            if (!bar) bar = ::CreateMenu();
            current = c.visible() ? ::CreatePopupMenu() : nullptr;
            if (current) ::AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(current), caption.c_str());
        } else if (c.role() == ControlRole::MenuItem && current && c.visible()) {
            ::AppendMenuW(current, MF_STRING, static_cast<UINT_PTR>(b.id), caption.c_str());
        }
    }
    HMENU old = menu_;
    menu_ = bar;
    if (hwnd_) {
        ::SetMenu(hwnd_, menu_);
        ::DrawMenuBar(hwnd_);
    }
    if (old) ::DestroyMenu(old);
}

void FormWindow::layout(UINT dpi) {
    dpi_ = dpi;
    HFONT old = font_;
    font_ = createInterfaceFont(dpi);
    for (auto& b : bindings_) {
        if (!b.hwnd) continue;
        const ControlDesign& d = *b.control->design();
        HFONT own = d.font ? createFont(*d.font, dpi) : nullptr;
        ::SendMessageW(b.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(own ? own : font_), FALSE);
        if (b.font) ::DeleteObject(b.font);
        b.font = own;
        placeControl(b.hwnd, d, dpi);
        if (b.nameLabel) placeControl(b.nameLabel, d, dpi);  // where a reader looks for the box
        ::ShowWindow(b.hwnd, b.control->visible() ? SW_SHOWNA : SW_HIDE);
    }
    if (old) ::DeleteObject(old);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

HWND FormWindow::control(std::string_view name, int index) const {
    for (const auto& b : bindings_)
        if (b.control->name() == name && b.control->index() == index) return b.hwnd;
    return nullptr;
}

HWND FormWindow::nameLabel(std::string_view name, int index) const {
    for (const auto& b : bindings_)
        if (b.control->name() == name && b.control->index() == index) return b.nameLabel;
    return nullptr;
}

HWND FormWindow::firstFocus() const {
    const Control* first = form_.firstFocus();
    return first ? control(first->name(), first->index()) : nullptr;
}

void FormWindow::showWindow() {
    if (!hwnd_) return;
    ::ShowWindow(hwnd_, SW_SHOW);
    ::SetForegroundWindow(hwnd_);
    if (HWND first = firstFocus()) ::SetFocus(first);
}

void FormWindow::showWindowModal() {
    for (WindowView* view : runtime_.views()) {
        HWND other = static_cast<FormWindow*>(view)->hwnd();
        if (view != this && other && ::IsWindowEnabled(other)) {
            ::EnableWindow(other, FALSE);
            disabled_.push_back(other);
        }
    }
    showWindow();
}

namespace {

KeyPress keyPress(const MSG& m) {
    static constexpr std::pair<WPARAM, Key> named[]{
        {VK_RETURN, Key::Enter}, {VK_ESCAPE, Key::Escape}, {VK_UP, Key::Up},  {VK_DOWN, Key::Down},
        {VK_LEFT, Key::Left},    {VK_RIGHT, Key::Right},   {VK_F10, Key::F10}};
    KeyPress k{.alt = m.message == WM_SYSKEYDOWN || pressed(VK_MENU),
               .ctrl = pressed(VK_CONTROL),
               .shift = pressed(VK_SHIFT),
               .meta = pressed(VK_LWIN) || pressed(VK_RWIN)};
    for (const auto& [code, key] : named)
        if (m.wParam == code) k.key = key;
    if (m.wParam >= 'A' && m.wParam <= 'Z') {
        k.key = Key::Letter;
        k.letter = static_cast<char>(m.wParam);
    }
    return k;
}

}  // namespace

// A key the window answers itself, by the core's rules; the rest to the dialog manager (Tab,
// and Alt with a letter and F10, which come as system keys: access keys and the menu bar).
bool FormWindow::preTranslate(MSG& m) {
    if (!hwnd_ || (m.hwnd != hwnd_ && !::IsChild(hwnd_, m.hwnd))) return false;
    if (m.message == WM_KEYDOWN && runtime_.key(logic_, keyPress(m), controlOf(::GetFocus()))) return true;
    return ::IsDialogMessageW(hwnd_, &m) != FALSE;
}

void FormWindow::unloaded() {
    // The windows behind a modal one take the focus back before it goes, not some other program.
    for (HWND h : disabled_)
        if (::IsWindow(h)) ::EnableWindow(h, TRUE);
    disabled_.clear();
    if (hwnd_) ::DestroyWindow(hwnd_);
}

void FormWindow::focus(Control& control) {
    if (const Binding* b = binding(&control); b && b->hwnd) ::SetFocus(b->hwnd);
}

void FormWindow::press(Control& control) {
    if (const Binding* b = binding(&control)) command(b->id, BN_CLICKED);
}

void FormWindow::openMenuBar() {
    if (menu_) ::SendMessageW(hwnd_, WM_SYSCOMMAND, SC_KEYMENU, 0);
}

// What a screen reader reads after a control's name: the labels that describe it, kept up to
// date as they change. A reader reads a changed description of the control the keyboard is on at
// once (the turns left, on Guess), and any on focus (the range, in a number box).
void FormWindow::describe(const Control* changed) {
    for (Control* c : form_.describedBy(changed))
        if (const Binding* b = binding(c); b && b->hwnd) describeControl(b->hwnd, widen(form_.description(*c)));
}

FormWindow::Binding* FormWindow::binding(int id) {
    for (auto& b : bindings_)
        if (b.id == id) return &b;
    return nullptr;
}

FormWindow::Binding* FormWindow::binding(const Control* control) {
    for (auto& b : bindings_)
        if (control && b.control == control) return &b;
    return nullptr;
}

Control* FormWindow::controlOf(HWND window) {
    for (auto& b : bindings_)
        if (window && b.hwnd == window) return b.control;
    return nullptr;
}

void FormWindow::command(int id, int code) {
    Binding* b = binding(id);
    if (!b) return;
    const ControlDesign* d = b->control->design();
    Control* model = b->control;
    if (!d) {  // a menu item: code 0
        if (code == 0) runtime_.clicked(logic_, *model);
        return;
    }
    if (d->kind == ControlKind::TextBox && code == EN_CHANGE) {
        runtime_.typed(logic_, *model, narrow(windowText(b->hwnd)));
        return;
    }
    if (code == BN_CLICKED) runtime_.clicked(logic_, *model);
}

void FormWindow::reflect(Control& control, Property property) {
    for (auto& b : bindings_) {
        if (b.control != &control) continue;
        const ControlDesign* d = control.design();
        if (!d) {  // menu entries: the bar is rebuilt from the model
            buildMenus();
            continue;
        }
        if (!b.hwnd) {  // a line
            ::InvalidateRect(hwnd_, nullptr, TRUE);
            continue;
        }
        switch (property) {
            case Property::Caption:
                if (d->kind != ControlKind::PictureBox) {
                    const std::wstring text = widen(control.caption());
                    if (windowText(b.hwnd) != text) {
                        ::SetWindowTextW(b.hwnd, text.c_str());
                        // Windows tells screen readers of a button's new name itself, but not
                        // of a label's: the game's labels say how it is going.
                        if (d->kind == ControlKind::Label) {
                            ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, b.hwnd, OBJID_CLIENT, CHILDID_SELF);
                            describe(&control);
                        }
                    }
                }
                break;
            case Property::Visible:
                if (!control.visible() && ::GetFocus() == b.hwnd) {
                    // The keyboard moves on, where the form says, rather than staying on a control
                    // nobody sees.
                    ::ShowWindow(b.hwnd, SW_HIDE);
                    const Binding* next = binding(form_.focusAfterHiding(control));
                    ::SetFocus(next && next->hwnd ? next->hwnd : hwnd_);
                } else {
                    ::ShowWindow(b.hwnd, control.visible() ? SW_SHOWNA : SW_HIDE);
                }
                break;
            case Property::Value:
                if (control.isOption())
                    ::SendMessageW(b.hwnd, BM_SETCHECK, control.value() ? BST_CHECKED : BST_UNCHECKED, 0);
                break;
        }
    }
}

}  // namespace numerak::win32
