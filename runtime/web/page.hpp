// page.hpp: what the program asks of the page, each call carried on to the page's function of
// its name (page_calls.cpp, which says what each does there). What passes through them is
// page_protocol.hpp's. Text goes as UTF-8; a text the page answers comes in memory the program
// frees, or null.
#pragma once

extern "C" {

// These wait for the player: the handler that makes one is suspended until the page answers.
int numerak_next_event();  // a click or a close box, packed as packEvent packs it
int numerak_message_box(const char* text, const char* title, int yesNo);  // 1 for Yes, else 0
char* numerak_input_box(const char* prompt, const char* title);           // null when cancelled

char* numerak_languages();  // the browser's, best first, comma-separated
void numerak_use_language(const char* tag, const char* words);
void numerak_ended();

void numerak_build_window(const char* description);
void numerak_set_window_caption(int window, const char* text);
void numerak_set_caption(int window, int control, const char* text, int key);  // key: ShownCaption's
void numerak_set_visible(int window, int control, int visible, int focusNext);
void numerak_set_chosen(int window, int control, int chosen);
void numerak_show_window(int window, int modal, int focus);
void numerak_remove_window(int window);
void numerak_press(int window, int control);
void numerak_focus(int window, int control);
void numerak_open_menu_bar(int window);
}
