// keys.js: a window's own keys: Enter and Esc, Alt with an access key, F10.

// The window's own keys: Enter and Esc press its default and cancel buttons, whatever has the
// keyboard, and nothing else; Alt with a button's access key presses that button.
function windowKeys(w, event) {
  if (event.target.closest(".menubar")) return;
  const plainKey = !event.altKey && !event.ctrlKey && !event.metaKey && !event.shiftKey;
  let pressed = null;
  if (plainKey && (event.key === "Enter" || event.key === "Escape")) {
    pressed = w.elements.get(event.key === "Enter" ? w.desc.defaultButton : w.desc.cancelButton) || null;
    event.preventDefault();
    if (!pressed) return;
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
