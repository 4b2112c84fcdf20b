// boxes.js: the message and input boxes, as modal dialogs the program awaits.

import { element } from "./dom.js";
import { words } from "./language.js";
import { quietBehind, scale } from "./screen.js";

function box(title, label) {
  const dialog = element("dialog", "box", document.body);
  const bar = element("div", "titlebar", dialog);
  const heading = element("span", "title", bar);
  heading.id = "box-title";
  heading.textContent = title;
  dialog.setAttribute("aria-labelledby", heading.id);
  const body = element("div", "box-body", dialog);
  const text = element(label ? "label" : "p", "box-text", body);
  text.id = "box-text";
  text.textContent = label || "";
  dialog.setAttribute("aria-describedby", text.id);
  dialog.style.zoom = String(scale());
  return { dialog, body, text, opened: performance.now() };
}

// The second click of a double-click that comes within a double-click's time of the box opening
// was meant for what was under the pointer before (the last box's button, double-clicked): the
// box takes no notice of it. A single click, and a key, answer the box at once.
const doubleClickTime = 500;

function boxButton(box, parent, name, onPress) {
  const b = element("button", "button", parent);
  b.type = "button";
  b.textContent = name;
  b.addEventListener("click", (event) => {
    if (event.detail >= 2 && performance.now() - box.opened < doubleClickTime) return;
    onPress();
  });
  return b;
}

// The box up and modal, then the keyboard into it once the browser has shown it, so that a
// screen reader is told of a new dialog, reads its title and text, then the focused button.
function showAndFocus(dialog, target) {
  quietBehind(dialog);
  dialog.showModal();
  performance.mark("numerak:box");
  target.focus();
  requestAnimationFrame(() => {
    if (dialog.open && document.activeElement !== target) target.focus();
  });
}

// A modal box with the text and OK, or Yes and No; Esc answers No, or OK where it is alone. It
// answers true for Yes, false for OK and No.
export function messageBox(text, title, yesNo) {
  return new Promise((resolve) => {
    const b = box(title, null);
    b.text.textContent = text;
    const row = element("div", "box-buttons", b.body);
    const answer = (value) => {
      b.dialog.close();
      b.dialog.remove();
      resolve(value);
    };
    const first = yesNo
      ? boxButton(b, row, words.yes, () => answer(true))
      : boxButton(b, row, words.ok, () => answer(false));
    first.classList.add("default");
    if (yesNo) boxButton(b, row, words.no, () => answer(false));
    b.dialog.addEventListener("cancel", (event) => {
      event.preventDefault();
      answer(false);
    });
    b.dialog.setAttribute("role", "alertdialog");
    showAndFocus(b.dialog, first);
  });
}

// A modal input box with no default text: what was typed, or null when cancelled.
export function inputBox(prompt, title) {
  return new Promise((resolve) => {
    const b = box(title, prompt);
    b.dialog.classList.add("input-box");
    const form = element("form", "", b.body);
    form.method = "dialog";
    const field = element("input", "textbox", form);
    field.type = "text";
    field.id = "box-input";
    field.autocomplete = "off";
    b.text.htmlFor = field.id;
    const row = element("div", "box-buttons", form);
    const ok = boxButton(b, row, words.ok, () => form.requestSubmit());
    ok.type = "submit";
    ok.classList.add("default");
    let done = false;
    const answer = (value) => {
      if (done) return;
      done = true;
      b.dialog.close();
      b.dialog.remove();
      resolve(value);
    };
    boxButton(b, row, words.cancel, () => answer(null));
    form.addEventListener("submit", (event) => {
      event.preventDefault();
      answer(field.value);
    });
    b.dialog.addEventListener("cancel", (event) => {
      event.preventDefault();
      answer(null);
    });
    showAndFocus(b.dialog, field);
  });
}
