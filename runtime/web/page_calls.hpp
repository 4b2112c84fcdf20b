// page_calls.hpp: what the program calls of the page (library.js, then page.js). The first three
// wait for the player: a handler that calls them is suspended by Asyncify until the answer comes.
#pragma once

extern "C" {

int numerak_next_event();
int numerak_message_box(const char* text, const char* title, int yesNo);
char* numerak_input_box(const char* prompt, const char* title);
void numerak_ended();

void numerak_build_window(const char* description);
void numerak_set_window_caption(int window, const char* text);
void numerak_set_caption(int window, int control, const char* text);
void numerak_set_visible(int window, int control, int visible);
void numerak_set_chosen(int window, int control, int chosen);
void numerak_show_window(int window, int modal, int focus);
void numerak_remove_window(int window);

// What the page calls of the program, at any time: what the player typed or chose, into the model;
// and an event as the program takes it (page_protocol.hpp).
void numerak_typed(int window, int control, const char* text);
void numerak_chosen(int window, int control);
int numerak_event(int window, int control, int closeBox);
int numerak_enter_button(int window, int control);
int numerak_option_after(int window, int control, int step);
}
