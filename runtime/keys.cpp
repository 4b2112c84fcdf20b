// keys.cpp: the window's own keys.
#include "runtime/keys.hpp"

namespace numerak {

char AccessKey(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        const char next = caption[++i];  // "&&" is a plain "&"
        if (next == '&') continue;
        return next >= 'a' && next <= 'z' ? static_cast<char>(next - 'a' + 'A') : next;
    }
    return 0;
}

namespace {

bool isCommandButton(const Control* c) { return c && c->design() && c->design()->kind == ControlKind::CommandButton; }

}  // namespace

KeyAction KeyActionFor(const Form& form, const KeyPress& key, Control* focused,
                       const std::function<bool(const Control&)>& enabled) {
    const auto press = [&](Control* button) {
        const bool usable = button && button->visible() && (!enabled || enabled(*button));
        return usable ? KeyAction{KeyDoes::Press, button} : KeyAction{KeyDoes::Nothing, nullptr};
    };
    if (key.plain()) {
        switch (key.key) {
            case Key::Enter: return press(form.enterButton(focused));
            case Key::Escape: return press(form.cancelButton());
            case Key::Up:
            case Key::Down:
            case Key::Left:
            case Key::Right: {
                if (!focused || !focused->isOption()) return {};
                const int step = key.key == Key::Down || key.key == Key::Right ? 1 : -1;
                Control* next = form.optionAfter(*focused, step);
                return next ? KeyAction{KeyDoes::Choose, next} : KeyAction{KeyDoes::Nothing, nullptr};
            }
            case Key::F10:
                for (const auto& c : form.controls())
                    if (c->role() == ControlRole::Menu && c->visible()) return {KeyDoes::OpenMenuBar, c.get()};
                return {};
            default: return {};
        }
    }
    if (key.key == Key::Letter && key.alt && !key.ctrl && !key.meta) {
        for (Control* c : form.tabOrder())
            if (isCommandButton(c) && AccessKey(c->caption()) == key.letter) return press(c);
    }
    return {};
}

}  // namespace numerak
