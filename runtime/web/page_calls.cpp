// page_calls.cpp: each call of the program's to the page (page.hpp), carried on to the page's
// function of that name: Module.page, which page/main.js hands the program as it loads it (and
// app/web/record_first_screen.js when the site is built). A call that waits for the player is an
// EM_ASYNC_JS: Asyncify suspends the program in it until the page's promise settles.
#include <emscripten/emscripten.h>

#include "runtime/web/page.hpp"

// clang-format off
EM_ASYNC_JS(int, waitForEvent, (), { return await Module.page.nextEvent(); });
// The page answers true for Yes; OK and No are both false.
EM_ASYNC_JS(int, waitForMessageBox, (const char* text, const char* title, int yesNo), {
  return (await Module.page.messageBox(UTF8ToString(text), UTF8ToString(title), yesNo != 0)) ? 1 : 0;
});
// The page answers what was typed, or null when the box was cancelled.
EM_ASYNC_JS(char*, waitForInputBox, (const char* prompt, const char* title), {
  const typed = await Module.page.inputBox(UTF8ToString(prompt), UTF8ToString(title));
  return typed == null ? 0 : allocateUTF8(typed);
});
// clang-format on

// The waiting calls as the rest of the program names them: a caller of an EM_ASYNC_JS must be
// where it is defined, which alone says how the program imports it for Asyncify.
int numerak_next_event() { return waitForEvent(); }
int numerak_message_box(const char* text, const char* title, int yesNo) {
    return waitForMessageBox(text, title, yesNo);
}
char* numerak_input_box(const char* prompt, const char* title) { return waitForInputBox(prompt, title); }

// clang-format off
EM_JS(char*, numerak_languages, (), { return allocateUTF8(Module.page.languages()); });
EM_JS(void, numerak_use_language, (const char* tag, const char* words), {
  Module.page.useLanguage(UTF8ToString(tag), UTF8ToString(words));
});
EM_JS(void, numerak_ended, (), { Module.page.ended(); });

EM_JS(void, numerak_build_window, (const char* description), {
  Module.page.buildWindow(UTF8ToString(description));
});
EM_JS(void, numerak_set_window_caption, (int window, const char* text), {
  Module.page.setWindowCaption(window, UTF8ToString(text));
});
EM_JS(void, numerak_set_caption, (int window, int control, const char* text, int key), {
  Module.page.setCaption(window, control, UTF8ToString(text), key);
});
EM_JS(void, numerak_set_visible, (int window, int control, int visible, int focusNext), {
  Module.page.setVisible(window, control, visible, focusNext);
});
EM_JS(void, numerak_set_chosen, (int window, int control, int chosen), {
  Module.page.setChosen(window, control, chosen);
});
EM_JS(void, numerak_show_window, (int window, int modal, int focus), { Module.page.showWindow(window, modal, focus); });
EM_JS(void, numerak_remove_window, (int window), { Module.page.removeWindow(window); });
EM_JS(void, numerak_press, (int window, int control), { Module.page.press(window, control); });
EM_JS(void, numerak_focus, (int window, int control), { Module.page.focus(window, control); });
EM_JS(void, numerak_open_menu_bar, (int window), { Module.page.openMenuBar(window); });
// clang-format on
