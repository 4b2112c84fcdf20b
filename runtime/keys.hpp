// keys.hpp: what a key does in a window, decided once for every front end. A front end turns
// its toolkit's key into a KeyPress, asks KeyActionFor, and carries out the answer.
#pragma once

#include <string>
#include <string_view>

#include "runtime/controls.hpp"

namespace numerak {

enum class Key { Other, Enter, Escape, Up, Down, Left, Right, F10, Letter };

struct KeyPress {
    Key key = Key::Other;
    char letter = 0;     // 'A' to 'Z' by its place on the keyboard, for Key::Letter
    char32_t typed = 0;  // what it types, where that is no Latin letter (a Cyrillic one)
    bool alt = false, ctrl = false, shift = false, meta = false;

    // No modifier held. The keypad's own keys (its Enter) are plain keys like the others.
    constexpr bool plain() const { return !alt && !ctrl && !shift && !meta; }
};

enum class KeyDoes {
    Pass,         // not the window's: the toolkit's own handling (typing, Tab, its menu keys)
    Nothing,      // the window's, and it does nothing (Enter in a number box)
    Press,        // presses the target button, as a click does
    Choose,       // moves the keyboard to the target option and chooses it, as a click does
    OpenMenuBar,  // the keyboard into the menu bar, on its first menu
};

struct KeyAction {
    KeyDoes does = KeyDoes::Pass;
    Control* target = nullptr;
    friend bool operator==(const KeyAction&, const KeyAction&) = default;
};

// The access key of a caption: the letter after its first single "&", upper case (Latin and
// Cyrillic); 0 for none.
char32_t AccessKey(std::string_view caption);

// A caption as it is shown: each "&" that marks a letter left out ("&&" shows one "&"), and
// where its access key is, in characters from the start; -1 for none.
struct ShownCaption {
    std::string text;
    int key = -1;
    friend bool operator==(const ShownCaption&, const ShownCaption&) = default;
};
ShownCaption ShowCaption(std::string_view caption);

// What a key does in the form when the keyboard is on `focused` (null for none):
// - Enter presses the default button, else the focused command button, else nothing;
// - Esc presses the cancel button, else nothing;
// - an arrow on an option button moves to the next one round the group (Down and Right) or the
//   one before (Up and Left) and chooses it, as Windows does;
// - Alt with a letter presses the first command button in tab order whose access key it is;
// - F10 opens the menu bar, where the window has one.
// A button is pressed only while it is visible.
KeyAction KeyActionFor(const Form& form, const KeyPress& key, Control* focused);

}  // namespace numerak
