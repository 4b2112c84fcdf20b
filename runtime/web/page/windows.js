// windows.js: the windows the program describes (page_protocol.hpp), built as HTML and kept as
// the program says, scaled down whole on a narrow screen.

import { words } from "./language.js";
import { element } from "./dom.js";
import { focusOnReturn, post, typed } from "./events.js";
import { fitCaption, fitCaptions } from "./fitting.js";
import { windowKeys } from "./keys.js";
import { menus } from "./menus.js";
import { labelsLiveSoon, quietBehind, scaleBy } from "./screen.js";
import { note } from "./shell.js";

// By id: { desc, root, client, elements: Map(index -> element), lastFocus (an index), beneath }.
const windows = new Map();
let desktop = null;

// A caption as the program shows it, its access key (a place in characters, -1 for none)
// underlined. Alt with it is the program's to answer (keys.js), as on the desktop.
function caption(target, text, key) {
  const characters = [...text];
  target.textContent = "";
  if (key < 0 || key >= characters.length) return target.append(text);
  target.append(characters.slice(0, key).join(""));
  element("u", "", target).textContent = characters[key];
  target.append(characters.slice(key + 1).join(""));
}

function place(e, c) {
  e.style.left = c.left + "px";
  e.style.top = c.top + "px";
  e.style.width = c.width + "px";
  e.style.height = c.height + "px";
  e.style.zIndex = String(c.index + 1); // creation order is stacking order
}

// The colours the program gives, and those it gives for when the system asks for more contrast
// (numerak.css applies them then).
function looks(e, c) {
  if (c.back) e.style.background = c.back;
  if (c.fore) e.style.color = c.fore;
  if (c.contrast) {
    e.classList.add("contrast");
    if (c.contrast.back) e.style.setProperty("--contrast-back", c.contrast.back);
    if (c.contrast.fore) e.style.setProperty("--contrast-fore", c.contrast.fore);
  }
  if (c.font) {
    e.style.fontSize = c.font.px + "px";
    e.style.fontWeight = String(c.font.weight);
    e.style.fontStyle = c.font.italic ? "italic" : "normal";
    const lines = [c.font.underline && "underline", c.font.strikeout && "line-through"].filter(Boolean);
    e.style.textDecoration = lines.length ? lines.join(" ") : "none";
  }
}

function line(w, c) {
  const svg = document.createElementNS("http://www.w3.org/2000/svg", "svg");
  svg.setAttribute("class", "line");
  svg.setAttribute("aria-hidden", "true");
  svg.setAttribute("width", w.desc.width);
  svg.setAttribute("height", w.desc.height);
  svg.style.zIndex = String(c.index + 1 + (c.onTop ? 1000 : 0));
  const l = document.createElementNS("http://www.w3.org/2000/svg", "line");
  for (const end of ["x1", "y1", "x2", "y2"]) l.setAttribute(end, c.stroke[end]); // placed by the program
  l.setAttribute("stroke", c.fore);
  l.setAttribute("stroke-width", c.lineWidth);
  l.setAttribute("shape-rendering", "crispEdges");
  svg.appendChild(l);
  return svg;
}

function control(w, c) {
  let e;
  switch (c.kind) {
    case "label":
      e = element("div", "label");
      e.textContent = c.caption;
      e.setAttribute("aria-live", "off"); // until its window has been shown (labelsLive)
      break;
    case "text":
      e = element("input", "textbox");
      e.type = "text";
      e.value = c.caption;
      e.autocomplete = "off";
      e.spellcheck = false;
      if (c.number) e.inputMode = "numeric"; // a phone offers its number keys
      if (c.accessibleName) e.setAttribute("aria-label", c.accessibleName);
      e.addEventListener("input", () => typed(w.desc.id, c.index, e.value));
      break;
    case "button":
      e = element("button", "button");
      e.type = "button";
      caption(e, c.caption, c.key);
      e.addEventListener("click", () => post(w.desc.id, c.index, false));
      break;
    case "option": {
      e = element("label", "option");
      const radio = element("input", "", e);
      radio.type = "radio";
      radio.name = "options-" + w.desc.id;
      element("span", "", e).textContent = c.caption;
      // Chosen by a click, a tap or the arrow keys: the program chooses it, then clicks it.
      radio.addEventListener("click", () => post(w.desc.id, c.index, false));
      break;
    }
    case "picture": {
      e = element("div", "picture");
      e.setAttribute("role", "img");
      if (c.accessibleName) e.setAttribute("aria-label", c.accessibleName);
      if (c.picture) {
        const img = element("img", "", e);
        img.alt = "";
        img.src = "pictures/" + c.picture;
        img.srcset = "pictures/" + c.picture + " 1x, pictures/" + c.picture2x + " 2x";
        img.draggable = false;
      }
      break;
    }
    case "line":
      e = line(w, c);
      break;
    default:
      return null;
  }
  if (c.kind !== "line") {
    place(e, c);
    looks(e, c);
  }
  if (c.takesFocus && e.tabIndex < 0 && !e.querySelector("input")) e.tabIndex = 0; // in its turn (a picture box)
  e.dataset.name = c.name;
  e.dataset.index = c.index;
  e.id = "control-" + w.desc.id + "-" + c.index;
  if (c.describedBy?.length) e.describers = c.describedBy.map((i) => "control-" + w.desc.id + "-" + i);
  e.hidden = !c.visible;
  return e;
}

// The program's calls (page_calls.cpp).

export function buildWindow(description) {
  const desc = JSON.parse(description);
  desktop = desktop || document.getElementById("desktop");
  const w = { desc: desc, elements: new Map() };
  const root = element(desc.fixed ? "dialog" : "section", "window" + (desc.fixed ? " fixed" : ""));
  root.hidden = true;
  root.dataset.window = desc.name;
  // A screen reader passes every key to the game window, as to a program of its own: digits typed
  // into a box are digits, not the reader's keys for moving through a page.
  if (!desc.fixed) root.setAttribute("role", "application");
  const title = element("div", "titlebar", root);
  const icon = element("img", "icon", title);
  icon.src = "pictures/icon-16.png";
  icon.alt = "";
  const text = element("span", "title", title);
  text.id = "title-" + desc.id;
  text.textContent = desc.caption;
  root.setAttribute("aria-labelledby", text.id);
  const close = element("button", "close", title);
  close.type = "button";
  close.tabIndex = -1;
  close.setAttribute("aria-label", words.close);
  close.title = words.close;
  close.textContent = "\u00d7";
  close.addEventListener("click", () => post(desc.id, 0, true));
  if (desc.controls.some((c) => c.kind === "menu")) {
    const bar = element("div", "menubar", root);
    bar.setAttribute("role", "menubar");
    menus(w, bar);
  }
  document.documentElement.style.setProperty("--interface-font", desc.fontPixels + "px");
  const client = element("div", "client", root);
  client.style.width = desc.width + "px";
  client.style.height = desc.height + "px";
  client.style.background = desc.back;
  // The page's order is the tab order, as the program gives it; creation order stays the
  // stacking order.
  for (const c of desc.tabOrder.map((index) => desc.controls[index])) {
    const e = control(w, c);
    if (!e) continue;
    client.appendChild(e);
    w.elements.set(c.index, e);
  }
  for (const e of w.elements.values()) if (e.describers) describe(e);
  root.addEventListener("keydown", (event) => windowKeys(w, event));
  client.addEventListener("focusin", (event) => {
    const e = event.target.closest("[data-index]");
    if (e) w.lastFocus = Number(e.dataset.index);
  });
  if (desc.fixed) root.addEventListener("cancel", (event) => event.preventDefault()); // Esc is ours
  w.root = root;
  w.client = client;
  windows.set(desc.id, w);
  desktop.appendChild(root);
}

export function setWindowCaption(id, text) {
  const w = windows.get(id);
  if (w) w.root.querySelector(".title").textContent = text;
}

export function setCaption(id, index, text, key) {
  const e = windows.get(id)?.elements.get(index);
  if (!e) return;
  if (e.tagName === "INPUT") {
    if (e.value !== text) e.value = text;
  } else if (e.classList.contains("button")) {
    caption(e, text, key);
  } else if (e.classList.contains("option")) {
    e.querySelector("span").textContent = text;
  } else if (!e.classList.contains("picture")) {
    if (e.textContent !== text && !describingAnew) queueMicrotask(describeAnew);
    describingAnew ||= e.textContent !== text;
    e.textContent = text;
  }
  fitCaption(e);
}

// What the labels a control is described by say (the range, the turns left) is read with it when
// the keyboard lands on it. A label rewritten says so itself (it is live); the control the
// keyboard is on, or lands on with the same click, keeps no description until the keyboard
// leaves it, so that a screen reader, which says a new description of the focused control as it
// changes, does not say the rewrite twice, or three times with the focus.
function describe(e) {
  const text = e.describers
    .map((id) => document.getElementById(id)?.textContent.trim())
    .filter(Boolean)
    .join(" ");
  e.dataset.description = text;
  if (e.describedLater) return;
  if (text) e.setAttribute("aria-description", text);
  else e.removeAttribute("aria-description");
}

let describingAnew = false;
function describeAnew() {
  describingAnew = false;
  for (const w of windows.values())
    for (const e of w.elements.values()) {
      if (!e.describers) continue;
      if (e.contains(document.activeElement) && !e.describedLater) {
        e.removeAttribute("aria-description");
        e.describedLater = true;
        e.addEventListener("focusout", () => ((e.describedLater = false), describe(e)), { once: true });
      }
      describe(e);
    }
}

export function setVisible(id, index, visible, focusNext) {
  const w = windows.get(id);
  const e = w?.elements.get(index);
  if (!e) return;
  // The keyboard moves on, where the program says, rather than staying on a control nobody sees.
  if (!visible && e.contains(document.activeElement)) {
    const next = w.elements.get(focusNext);
    if (next) focusOn(next);
    else w.root.focus();
    // A screen reader told that the focused control has gone guesses the next focus in silence,
    // and then says nothing when the focus arrives: the control leaves the accessibility tree
    // only once the browser has told of the new focus (two frames on), unseen until then.
    e.style.opacity = "0";
    e.style.pointerEvents = "none";
    const hiding = (e.hiding = {});
    requestAnimationFrame(() =>
      requestAnimationFrame(() => {
        if (e.hiding !== hiding) return;
        e.hidden = true;
        e.style.opacity = e.style.pointerEvents = "";
      })
    );
    return;
  }
  e.hiding = null;
  e.style.opacity = e.style.pointerEvents = "";
  e.hidden = !visible;
  if (visible) fitCaption(e);
}

export function setChosen(id, index, chosen) {
  const radio = windows.get(id)?.elements.get(index)?.querySelector("input");
  if (radio && radio.checked !== Boolean(chosen)) radio.checked = Boolean(chosen);
}

// The element of a control that takes the keyboard: an option's radio, else the control itself.
function focusOn(e) {
  (e.querySelector("input") || e).focus();
}

// What a key does, carried out as the player's own: the keyboard onto a control, a button
// pressed (an option chosen) as a click does it, the keyboard into the menu bar.
export function focus(id, index) {
  const e = windows.get(id)?.elements.get(index);
  if (e) focusOn(e);
}

export function press(id, index) {
  const e = windows.get(id)?.elements.get(index);
  if (e && !e.hidden) (e.querySelector("input") || e).click();
}

export function openMenuBar(id) {
  windows.get(id)?.root.querySelector(".menubar .menu")?.focus();
}

export function showWindow(id, modal, focusIndex) {
  const w = windows.get(id);
  if (!w) return;
  w.root.hidden = false;
  performance.mark("numerak:window");
  if (modal && w.root.showModal) {
    w.beneath = Array.from(windows.values()).filter((x) => x !== w).pop(); // gets the keyboard back
    quietBehind(w.root);
    w.root.showModal();
  }
  placeOnScreen(w, fit());
  const first = w.elements.get(focusIndex);
  if (first) focusOn(first);
  labelsLiveSoon();
}

export function removeWindow(id) {
  const w = windows.get(id);
  if (!w) return;
  windows.delete(id);
  if (w.root.open) w.root.close();
  w.root.remove();
  if (w.beneath && windows.has(w.beneath.desc.id)) giveFocus(w.beneath);
}

// The keyboard back to a window, where the program says: where it last was in it while that is
// shown, else its first control.
function giveFocus(w) {
  const e = w.elements.get(focusOnReturn(w.desc.id, w.lastFocus ?? -1));
  if (e) focusOn(e);
}

// Narrower than the game window, the windows scale down as a whole; they never grow.
export function fit() {
  const game = Array.from(windows.values()).find((w) => !w.desc.fixed);
  if (!game) return 1;
  game.root.style.zoom = "1";
  const width = game.root.offsetWidth;
  const scale = width ? Math.min(1, (document.documentElement.clientWidth - 16) / width) : 1;
  for (const w of windows.values()) w.root.style.zoom = String(scale);
  for (const d of document.querySelectorAll("dialog.box")) d.style.zoom = String(scale);
  fitShownCaptions();
  return scale;
}

// Whenever what a caption is drawn at changes: the windows' scale, or a face come (main.js).
export function fitShownCaptions() {
  for (const w of windows.values()) if (!w.root.hidden) fitCaptions(w.client);
}

// A window's size on the screen. WebKit gives the rectangle of a window scaled down in the
// window's own unscaled pixels, where other browsers give it as it is shown.
function shownSize(root, scale) {
  const r = root.getBoundingClientRect();
  const unscaled = Math.abs(r.width - root.offsetWidth) < Math.abs(r.width - root.offsetWidth * scale);
  return unscaled ? { width: r.width * scale, height: r.height * scale } : r;
}

// A window the design places on the screen goes where it says, kept whole within the page; again
// whenever the page changes size (a phone turned), so that no part of it is left off the screen.
function placeOnScreen(w, scale) {
  if (!w.desc.position || w.root.hidden) return;
  const shown = shownSize(w.root, scale);
  const left = Math.max(0, Math.min(w.desc.position.left * scale, innerWidth - shown.width));
  const top = Math.max(0, Math.min(w.desc.position.top * scale, innerHeight - shown.height));
  w.root.classList.add("placed");
  w.root.style.left = left / scale + "px";
  w.root.style.top = top / scale + "px";
}

export function refit() {
  const scale = fit();
  for (const w of windows.values()) placeOnScreen(w, scale);
}

// The program has ended: its windows go, and the page says so, with a way to start again.
export function ended() {
  for (const id of Array.from(windows.keys())) removeWindow(id);
  note(words.ended, words.playAgain);
}

scaleBy(fit);
