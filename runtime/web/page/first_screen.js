// first_screen.js: the game's first screen, its window and its opening message, on screen as soon
// as the page is parsed. The build records, in each language, what the program asks of the page
// from its start until it first waits for the player (app/web/record_first_screen.js); the page
// draws that at once, while the program is still on its way, and the program, once it runs, takes
// the screen over: the calls it makes that the page has made for it already are passed over, and
// its opening box is the one on screen, answered already if the player was quick. Should the
// program ask for anything else, the page's drawing goes and the page draws what the program asks.

let script = null; // the recorded calls, [name, ...arguments], the last one a wait
let made = 0; // how many of them the program has made
let opening = null; // the answer of the opening box the page showed
let desktop = null;
let focused = null; // where the keyboard was when the box was answered

function end() {
  script = null;
  if (!desktop.inert) return;
  desktop.inert = false;
  if (document.activeElement === document.body && focused?.isConnected) focused.focus();
}

function undo(page) {
  for (const [name, description] of script.slice(0, -1))
    if (name === "buildWindow") page.removeWindow(JSON.parse(description).id);
  const box = document.querySelector("dialog.box");
  if (box) {
    box.close();
    box.remove();
  }
}

// The program's call as the recording has it; the language's words the program sends whole, where
// the page carries only the few it may show before the program runs.
function same(name, args, [expected, ...expectedArgs]) {
  if (name !== expected) return false;
  if (name === "useLanguage") return args[0] === expectedArgs[0];
  return JSON.stringify(args) === JSON.stringify(expectedArgs);
}

function follow(page, name, args) {
  if (same(name, args, script[made])) {
    if (name === "useLanguage") page[name](...args);
    if (++made < script.length) return undefined;
    const answer = opening || page[name](...args);
    end();
    return answer;
  }
  undo(page);
  for (const [done, ...doneArgs] of script.slice(0, made)) page[done](...doneArgs);
  end();
  return page[name](...args);
}

// What the program asks of the page, rather than draws: never part of a screen.
const questions = new Set(["languages"]);

// The screen the program will draw, in the language it will choose from the browser's: what it
// chose, when the site was built, for the first of the browser's languages it was asked about
// there (by its name, else by its name cut short: "zh-Hant-HK" as "zh_Hant", "de-AT" as "de"); for none of them, what it chose for
// a browser whose languages it knows none of.
export function screenFor({ choices, otherwise, screens }) {
  const chose = new Map(Object.entries(choices));
  for (const tag of navigator.languages || [navigator.language || ""]) {
    const parts = tag.split(/[.@]/)[0].split(/[-_]/);
    const asked = parts.map((_, i) => parts.slice(0, parts.length - i).join("_")).find((n) => chose.has(n));
    if (asked) return screens[chose.get(asked)];
  }
  return screens[otherwise];
}

// The page's functions as the program calls them, the recorded first screen drawn first.
export function drawFirstScreen(page, recordings) {
  const recorded = recordings?.choices && screenFor(recordings);
  if (!Array.isArray(recorded) || recorded.length === 0) return page;
  script = recorded;
  desktop = document.getElementById("desktop");
  for (const [name, ...args] of script.slice(0, -1)) page[name](...args);
  const [wait, ...waitArgs] = script[script.length - 1];
  if (wait !== "nextEvent") {
    // The box first.js drew as the page was parsed, if it did; else drawn here.
    opening = document.getElementById("first-screen")?.answered ?? page[wait](...waitArgs);
    // Answered before the program runs: nothing on the page answers the player until it does.
    opening.then(() => {
      if (!script) return;
      focused = document.activeElement;
      desktop.inert = true;
    });
  }
  const taken = {};
  for (const [name, real] of Object.entries(page))
    taken[name] = (...args) => (script && !questions.has(name) ? follow(page, name, args) : real(...args));
  return taken;
}
