// main.js: the page's own listeners, and what the program calls of it (page_calls.hpp) as the
// functions the modules export, by their names.
import * as boxes from "./boxes.js";
import * as events from "./events.js";
import { closeMenus } from "./menus.js";
import * as windows from "./windows.js";

addEventListener("resize", windows.refit);
// A tap or click anywhere else closes an open menu.
addEventListener("pointerdown", (event) => {
  if (!event.target.closest(".menubar"))
    for (const bar of document.querySelectorAll(".menubar")) closeMenus(bar);
});

globalThis.Numerak = { ...events, ...windows, ...boxes };
