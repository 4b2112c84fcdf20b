// keys.js: a window's own keys: Enter and Esc, the arrows among option buttons, Alt with an
// access key, F10.

const arrows = { ArrowDown: 1, ArrowRight: 1, ArrowUp: -1, ArrowLeft: -1 };

// The control the keyboard is on, by its place in the window's form; -1 for none.
function focusedIndex(event) {
  const e = event.target.closest("[data-index]");
  return e ? Number(e.dataset.index) : -1;
}

// The window's own keys, by the program's rules: Enter presses the default button, else the
// focused command button, and nothing else; Esc the cancel button; an arrow on an option button
// moves to the next one round the group and chooses it; Alt with a button's access key presses
// that button.
function windowKeys(w, event) {
  if (event.target.closest(".menubar")) return;
  const plainKey = !event.altKey && !event.ctrlKey && !event.metaKey && !event.shiftKey;
  let pressed = null;
  if (plainKey && (event.key === "Enter" || event.key === "Escape")) {
    const index =
      event.key === "Enter" ? Module._numerak_enter_button(w.desc.id, focusedIndex(event)) : w.desc.cancelButton;
    pressed = w.elements.get(index) || null;
    event.preventDefault();
    if (!pressed) return;
  } else if (plainKey && arrows[event.key] && event.target.type === "radio") {
    const next = w.elements.get(Module._numerak_option_after(w.desc.id, focusedIndex(event), arrows[event.key]));
    event.preventDefault();
    if (next) {
      const radio = next.querySelector("input");
      radio.focus();
      radio.click();
    }
    return;
  } else if (event.altKey && !event.ctrlKey && !event.metaKey && /^Key[A-Z]$/.test(event.code)) {
    const letter = event.code.slice(3);
    pressed = Array.from(w.client.querySelectorAll("button")).find((b) => b.dataset.key === letter) || null;
  } else if (event.key === "F10" && plainKey) {
    const first = w.root.querySelector(".menubar .menu");
    if (first) {
      event.preventDefault();
      first.focus();
    }
    return;
  }
  if (!pressed) return;
  event.preventDefault();
  if (!pressed.hidden) pressed.click();
}
