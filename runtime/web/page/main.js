// main.js: the page's own listeners, and what the program calls of it (page_calls.cpp) as the
// functions the modules export, by their names: its module's page.
import * as boxes from "./boxes.js";
import * as events from "./events.js";
import { drawFirstScreen } from "./first_screen.js";
import { languages, useLanguage } from "./language.js";
import { closeMenus } from "./menus.js";
import * as windows from "./windows.js";

addEventListener("resize", windows.refit);
// A tap or click anywhere else closes an open menu.
addEventListener("pointerdown", (event) => {
  if (!event.target.closest(".menubar"))
    for (const bar of document.querySelectorAll(".menubar")) closeMenus(bar);
});

// The game's first screen at once, recorded in each language when the site was built, in the
// font the page carries in itself; once the browser has shown it, the program (index.html's loadProgram),
// which takes it over.
const firstScreen = document.getElementById("first-screen");
Module.page = drawFirstScreen(
  { ...events, ...windows, ...boxes, languages, useLanguage },
  firstScreen && JSON.parse(firstScreen.textContent)
);
requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(loadProgram)));
