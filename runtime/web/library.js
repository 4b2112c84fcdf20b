// library.js: what the program calls of the page, linked into it with --js-library. Each passes
// straight on to page.js; the three that wait for the player are awaited through Asyncify, so
// that the handler that called them simply goes on with the answer.
mergeInto(LibraryManager.library, {
  // The page's next event, as numerak_event packed it (page_protocol.hpp).
  numerak_next_event__deps: ["$Asyncify"],
  numerak_next_event: function () {
    return Asyncify.handleAsync(() => Numerak.nextEvent());
  },

  // A modal box: 0 for OK, 1 for Yes, 2 for No.
  numerak_message_box__deps: ["$Asyncify"],
  numerak_message_box: function (text, title, yesNo) {
    return Asyncify.handleAsync(() => Numerak.messageBox(UTF8ToString(text), UTF8ToString(title), yesNo !== 0));
  },

  // A modal input box: the text typed in memory the program frees, or null when cancelled.
  numerak_input_box__deps: ["$Asyncify", "malloc"],
  numerak_input_box: function (prompt, title) {
    return Asyncify.handleAsync(async () => {
      const answer = await Numerak.inputBox(UTF8ToString(prompt), UTF8ToString(title));
      if (answer === null) return 0;
      const size = lengthBytesUTF8(answer) + 1;
      const copy = _malloc(size);
      if (copy) stringToUTF8(answer, copy, size);
      return copy;
    });
  },

  numerak_ended: function () {
    Numerak.ended();
  },

  // A window: built from its description, then changed control by control, by their places.
  numerak_build_window: function (description) {
    Numerak.buildWindow(JSON.parse(UTF8ToString(description)));
  },
  numerak_set_window_caption: function (window, text) {
    Numerak.setWindowCaption(window, UTF8ToString(text));
  },
  numerak_set_caption: function (window, control, text) {
    Numerak.setCaption(window, control, UTF8ToString(text));
  },
  numerak_set_visible: function (window, control, visible) {
    Numerak.setVisible(window, control, visible !== 0);
  },
  numerak_set_chosen: function (window, control, chosen) {
    Numerak.setChosen(window, control, chosen !== 0);
  },
  numerak_show_window: function (window, modal, focus) {
    Numerak.showWindow(window, modal !== 0, focus);
  },
  numerak_remove_window: function (window) {
    Numerak.removeWindow(window);
  },
});
