// keys.cpp: the window's own keys.
#include "runtime/keys.hpp"

#include "runtime/language.hpp"

namespace numerak {

namespace {

// A letter in capitals, as the language in use writes it: Latin (Turkish with its dotted and
// dotless i) and Cyrillic; anything else as it is.
char32_t capital(char32_t c) {
    const bool turkish = LanguageInUse() == "tr";
    if (c == U'i') return turkish ? U'\u0130' : U'I';  // İ
    if (c == U'\u0131') return U'I';                   // ı
    if (c >= U'a' && c <= U'z') return c - U'a' + U'A';
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;  // à to þ
    if (c == 0xFF) return 0x178;                               // ÿ
    // Latin Extended-A, in pairs: a capital and its small letter.
    const bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    const bool evenCapitals = (c >= 0x100 && c <= 0x137 && c != 0x130 && c != 0x131) || (c >= 0x14A && c <= 0x177);
    if (evenCapitals && c % 2 == 1) return c - 1;
    if (oddCapitals && c % 2 == 0) return c - 1;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;             // а to я
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;             // ѐ to џ, ё, є, і and ї among them
    if (c >= 0x490 && c <= 0x4BF && c % 2 == 1) return c - 1;  // ґ and the others in pairs
    return c;
}

// The character UTF-8 starts with at `at`; 0 where it is malformed: a stray or missing
// continuation byte, a longer form than the character needs, a surrogate or past U+10FFFF.
char32_t decode(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return lead;
    const std::size_t length = (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
    if (length == 0 || at + length > text.size()) return 0;
    char32_t c = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return 0;
        c = (c << 6) | (next & 0x3F);
    }
    static constexpr char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < least[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return c;
}

}  // namespace

char32_t AccessKey(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[++i] == '&') continue;  // "&&" is a plain "&"
        return capital(decode(caption, i));
    }
    return 0;
}

ShownCaption ShowCaption(std::string_view caption) {
    ShownCaption shown;
    int characters = 0;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) {
            ++i;
            if (caption[i] != '&' && shown.key < 0) shown.key = characters;
        }
        if ((static_cast<unsigned char>(caption[i]) & 0xC0) != 0x80) ++characters;
        shown.text += caption[i];
    }
    return shown;
}

namespace {

bool isCommandButton(const Control* c) { return c && c->design() && c->design()->kind == ControlKind::CommandButton; }

}  // namespace

KeyAction KeyActionFor(const Form& form, const KeyPress& key, Control* focused) {
    const auto press = [&](Control* button) {
        return button && button->visible() ? KeyAction{KeyDoes::Press, button} : KeyAction{KeyDoes::Nothing, nullptr};
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
            if (isCommandButton(c)) {
                const char32_t access = AccessKey(c->caption());
                if (access && (access == static_cast<char32_t>(key.letter) || access == capital(key.typed)))
                    return press(c);
            }
    }
    return {};
}

}  // namespace numerak
