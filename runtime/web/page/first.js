// first.js: what the page does before anything else, written into the page itself with first.css
// and the first screen's letters: the game's opening box, as the build recorded it in the
// player's language (first_screen.js), drawn as soon as the page is parsed; then the rest of the
// page's style and code (numerak.css, page.js), which take the box over, and the program after.

import { messageBox } from "./boxes.js";
import { element } from "./dom.js";
import { screenFor } from "./first_screen.js";
import { useLanguage, words } from "./language.js";
import { note } from "./shell.js";

const recorded = document.getElementById("first-screen");
const screen = recorded && screenFor(JSON.parse(recorded.textContent));
if (Array.isArray(screen) && screen.length > 0) {
  for (const [name, ...args] of screen.slice(0, -1)) if (name === "useLanguage") useLanguage(...args);
  const [wait, ...waitArgs] = screen[screen.length - 1];
  if (wait === "messageBox") {
    // For page.js to take over: the box's answer, once the player gives it, kept with the recording.
    recorded.answered = messageBox(...waitArgs);
  }
}

element("link", "", document.head).setAttribute("href", "numerak.css");
document.head.lastChild.rel = "stylesheet";
const page = element("script", "", document.body);
page.addEventListener("error", () => note(words.notLoaded, words.reload));
page.src = "page.js";
