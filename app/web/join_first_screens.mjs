// join_first_screens.mjs: the first screen's recordings (record_first_screen.js) joined as the page
// carries them (page/first_screen.js): the program's choice for each browser language it was asked
// with (choices, by the language's name), its choice for a browser whose languages it knows none
// of (otherwise), and the screen it draws in each language it chose (screens); and, for a browser
// that runs no script, the page's line that says so, in English (the page's language then).
//   node join_first_screens.mjs <first_screen.json> <needs_script.txt> <recording for none> <recording for xx.json>...
import { readFileSync, writeFileSync } from "node:fs";
import { basename } from "node:path";

const [out, needsScript, none, ...recordings] = process.argv.slice(2);
const joined = { choices: {}, otherwise: null, screens: {} };
for (const file of [none, ...recordings]) {
  const { choice, calls } = JSON.parse(readFileSync(file, "utf8"));
  if (typeof choice !== "string" || !Array.isArray(calls)) throw new Error(`${file}: no language chosen, or no screen`);
  joined.screens[choice] = calls;
  if (file === none) joined.otherwise = choice;
  else joined.choices[basename(file, ".json")] = choice;
}
const english = joined.screens.en?.find(([name]) => name === "useLanguage");
if (!english) throw new Error("no English screen telling the page its words");
writeFileSync(needsScript, JSON.parse(english[2]).needsScript);
// Inside the page's <script> element: no "</script>" may end it early.
writeFileSync(out, JSON.stringify(joined).replaceAll("<", "\\u003c"));
