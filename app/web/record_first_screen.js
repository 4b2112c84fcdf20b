// record_first_screen.js: run with the program under node when the site is built (--pre-js of
// numerak_first_screen). Every call to the page is recorded, and answered with a promise that
// never settles: the first call the program waits on suspends it for good, and node ends. What
// it asked until then, the game's first screen, is written as JSON to the file named on the
// command line, for the page to draw before the program has loaded (page/first_screen.js).
"use strict";
const calls = [];
globalThis.Numerak = new Proxy(
  {},
  {
    get:
      (_, name) =>
      (...args) => {
        calls.push([name, ...args]);
        return new Promise(() => {});
      },
  }
);
process.on("exit", () => {
  // As it goes into the page: no "</script>" can end its element early.
  require("fs").writeFileSync(process.argv[2], JSON.stringify(calls).replace(/</g, "\\u003c"));
});
