// page_calls.hpp: the calls between the program and the page, listed once. The build writes from
// this list the page's side of each call to the page (the program's JavaScript library, which
// hands it to the function of that name on the page: numerak_set_caption to setCaption) and the
// program's exports; page_protocol.hpp says what passes through them.
//   NUMERAK_PAGE     a call to the page
//   NUMERAK_WAITS    a call to the page that waits for the player: a handler that makes it is
//                    suspended by Asyncify until the answer comes
//   NUMERAK_PROGRAM  a call of the program's that the page makes, at any time
// Text goes as UTF-8 (const char*); a text the page answers comes in memory the program frees,
// or null. Each declaration stands on one line.
#pragma once

#define NUMERAK_PAGE
#define NUMERAK_WAITS
#define NUMERAK_PROGRAM

extern "C" {

NUMERAK_WAITS int numerak_next_event();
NUMERAK_WAITS int numerak_message_box(const char* text, const char* title, int yesNo);
NUMERAK_WAITS char* numerak_input_box(const char* prompt, const char* title);
NUMERAK_PAGE void numerak_ended();
NUMERAK_PAGE char* numerak_languages();
NUMERAK_PAGE void numerak_use_language(const char* tag, const char* words);

NUMERAK_PAGE void numerak_build_window(const char* description);
NUMERAK_PAGE void numerak_set_window_caption(int window, const char* text);
NUMERAK_PAGE void numerak_set_caption(int window, int control, const char* text);
NUMERAK_PAGE void numerak_set_visible(int window, int control, int visible, int focusNext);
NUMERAK_PAGE void numerak_set_chosen(int window, int control, int chosen);
NUMERAK_PAGE void numerak_show_window(int window, int modal, int focus);
NUMERAK_PAGE void numerak_remove_window(int window);
NUMERAK_PAGE void numerak_press(int window, int control);
NUMERAK_PAGE void numerak_focus(int window, int control);
NUMERAK_PAGE void numerak_open_menu_bar(int window);

NUMERAK_PROGRAM void numerak_typed(int window, int control, const char* text);
NUMERAK_PROGRAM int numerak_event(int window, int control, int closeBox);
NUMERAK_PROGRAM int numerak_focus_on_return(int window, int last);
NUMERAK_PROGRAM int numerak_key(int window, int control, const char* key, int alt, int ctrl, int shift, int meta);
}
