// join_first_screens.mjs: the first screen's recordings (record_first_screen.js) joined as the page
// carries them (page/first_screen.js): the program's choice for each browser language it was asked
// with (choices, by the language's name), its choice for a browser whose languages it knows none
// of (otherwise), and the screen it draws in each language it chose (screens). The page carries
// them in itself, so each screen keeps of the page's words only those it may show before the
// program runs (the opening box's button, the note that the program could not be loaded, the news
// of a new release, which the service worker may bring first); the program sends the rest. Also written: the letters of all of it, for the page's first face
// (make_font.py first), and, for a browser that runs no script, the page's line that says so, in
// English (the page's language then).
//   node join_first_screens.mjs <first_screen.json> <letters.txt> <needs_script.txt> <recording for none> <recording for xx.json>...
import { readFileSync, writeFileSync } from "node:fs";
import { basename } from "node:path";

const early = ["ok", "yes", "no", "notLoaded", "reload", "newRelease"];
const [out, letters, needsScript, none, ...recordings] = process.argv.slice(2);
const joined = { choices: {}, otherwise: null, screens: {} };
let needs = null;
for (const file of [none, ...recordings]) {
  const { choice, calls } = JSON.parse(readFileSync(file, "utf8"));
  if (typeof choice !== "string" || !Array.isArray(calls)) throw new Error(`${file}: no language chosen, or no screen`);
  joined.screens[choice] = calls.map(([name, ...args]) => {
    if (name !== "useLanguage") return [name, ...args];
    const words = JSON.parse(args[1]);
    if (choice === "en") needs = words.needsScript;
    return [name, args[0], JSON.stringify(Object.fromEntries(early.map((w) => [w, words[w]])))];
  });
  if (file === none) joined.otherwise = choice;
  else joined.choices[basename(file, ".json")] = choice;
}
if (needs === null) throw new Error("no English screen telling the page its words");
writeFileSync(needsScript, needs);
const text = JSON.stringify(joined);
writeFileSync(letters, [...new Set(text)].sort().join(""));
// Inside the page's <script> element: no "</script>" may end it early.
writeFileSync(out, text.replaceAll("<", "\\u003c"));
