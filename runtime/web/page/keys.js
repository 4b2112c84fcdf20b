// keys.js: a window's own keys, answered by the program by the window's rules (Enter and Esc,
// the arrows among option buttons, Alt with an access key, F10); the menu bar has its own.

import { windowKey } from "./events.js";

// The control the keyboard is on, by its place in the window's form; -1 for none.
function focusedIndex(event) {
  const e = event.target.closest("[data-index]");
  return e ? Number(e.dataset.index) : -1;
}

export function windowKeys(w, event) {
  if (event.target.closest(".menubar")) return;
  // A letter by its place on the keyboard, so that Alt with it names the same key in any layout;
  // with what it types where that is no Latin letter (a Cyrillic access key).
  const typed = [...event.key].length === 1 && /[^\x00-\x7f]/.test(event.key) ? ":" + event.key : "";
  const name = /^Key[A-Z]$/.test(event.code) ? event.code + typed : event.key;
  if (windowKey(w.desc.id, focusedIndex(event), name, event)) event.preventDefault();
}
