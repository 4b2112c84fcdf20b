// page_protocol.hpp: what passes between the program and the page (page/), written down once.
//
// An event, page to program, is one int: window << 16 | control << 1 | 1 for the window's close
// box. The page never packs one itself; it asks the program (numerak_event), so the packing is
// written here alone.
//
// A window, program to page, is one JSON object, written by describeWindow:
//   id, name (the design's), caption, width, height (the client area, px), back (CSS colour), fixed (a fixed dialog),
//   position ({left, top} px on the screen, or null for the platform's choice),
//   tabOrder (control indices in tab order), cancelButton (the one Esc presses, or -1),
//   controls: each with index (its place in the form), name, kind (label, text, button, option,
//   picture, line, menu or menuitem), caption and visible; the designed ones also with left, top,
//   width, height (px; a line's end points), back and fore (CSS colour or null; null where the
//   platform's own shows), contrast ({back, fore} in the system's colours, where more contrast
//   changes them; absent elsewhere), font (px,
//   weight, italic, underline, strikeout; absent for the window's font), picture and picture2x
//   (file names, for scale 1 and 2), accessibleName, number (a box for a number), lineWidth,
//   onTop (drawn above every control) and describedBy (the indices of the labels that say more of it).
// Controls are then changed one by one by their index (page.hpp).
//
// A key, page to program: each key pressed in a window goes to numerak_key with the control the
// keyboard is on, the key as the browser names it (KeyboardEvent.key, or KeyboardEvent.code for a
// letter: "KeyG") and the modifiers. The program answers by the window's rules (keys.hpp) and
// carries the answer out through the page (numerak_focus, numerak_press, numerak_open_menu_bar);
// it returns 1 when the key was the window's, which the browser then does nothing more with.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/controls.hpp"
#include "runtime/keys.hpp"

namespace numerak::web {

struct PageEvent {
    int window = 0;
    int control = 0;
    bool closeBox = false;
};

// A window and a control each have 15 bits; an event for one past them goes to window 0, which
// is none.
inline constexpr int MostInEvent = 0x7FFF;
constexpr int packEvent(PageEvent e) {
    if (e.window < 0 || e.window > MostInEvent || e.control < 0 || e.control > MostInEvent) return 0;
    return e.window << 16 | e.control << 1 | (e.closeBox ? 1 : 0);
}
constexpr PageEvent unpackEvent(int code) { return {code >> 16, (code & 0xFFFF) >> 1, (code & 1) != 0}; }

// The ids of the windows on the page, from 1: each new window takes the least one free, so that a
// window opened again and again (the About window) keeps within what an event carries.
class WindowIds {
public:
    int take();
    void give(int id);

private:
    std::vector<int> taken_;
};

// A key as the page names it, with its modifiers.
KeyPress pageKey(std::string_view name, bool alt, bool ctrl, bool shift, bool meta);

// A design's colour as the page paints it; system colours as a light desktop theme has them.
std::string cssColour(Colour colour);
// The same, but system colours as the browser's own (Canvas, CanvasText, ...), for where the
// system asks for more contrast; those CSS has no name for as a light theme has them.
std::string cssSystemColour(Colour colour);

// The window as the page builds it, from the form as it is now.
std::string describeWindow(const Form& form, int id);

// A control's caption as the page shows it: a button's, an option's or a menu's with its access
// key found (ShowCaption), a label's and a text box's as it is, every "&" in it.
ShownCaption pageCaption(const Control& control);

// The place of a control in its form, as the page knows it; -1 for none.
int indexOf(const Form& form, const Control* control);

}  // namespace numerak::web
