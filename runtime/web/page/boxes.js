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

// The box up and modal, the dialog itself focused: a screen reader says its title and its text,
// once, as the desktop says a box. The keyboard stays on the dialog until a key comes, which goes
// on to the box's button or field, as if it had been there (Tab to the next): a focus moved on at once would be told instead of the box, or
// cut its reading short. A key that presses the button presses it, as it began on the dialog.
function showAndFocus(dialog, target) {
  quietBehind(dialog);
  dialog.tabIndex = -1;
  dialog.showModal();
  performance.mark("numerak:box");
  dialog.focus();
  dialog.addEventListener(
    "keydown",
    (event) => {
      if (document.activeElement !== dialog) return;
      target.focus();
      if (target.tagName === "BUTTON" && (event.key === "Enter" || event.key === " ")) {
        event.preventDefault();
        target.click();
      }
    },
    true
  );
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
