// main.js: the page's own listeners, the game's first screen, and the program loaded with the
// page's functions it calls (page_calls.cpp): those the modules export, by their names.
import * as boxes from "./boxes.js";
import * as events from "./events.js";
import { drawFirstScreen } from "./first_screen.js";
import { languages, useLanguage } from "./language.js";
import { closeMenus } from "./menus.js";
import { keepForOffline, loadProgram } from "./shell.js";
import * as windows from "./windows.js";

addEventListener("resize", windows.refit);
document.fonts.addEventListener("loadingdone", windows.fitShownCaptions);
// A tap or click anywhere else closes an open menu.
addEventListener("pointerdown", (event) => {
  if (!event.target.closest(".menubar"))
    for (const bar of document.querySelectorAll(".menubar")) closeMenus(bar);
});

// The game's first screen at once, recorded when the site was built, in the font the page
// carries in itself; once the browser has shown it, the program, which takes it over.
const firstScreen = document.getElementById("first-screen");
const page = drawFirstScreen(
  { ...events, ...windows, ...boxes, languages, useLanguage },
  firstScreen && JSON.parse(firstScreen.textContent)
);
requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(() => events.useProgram(loadProgram(page)))));
keepForOffline();
