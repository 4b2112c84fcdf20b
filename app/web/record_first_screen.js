// record_first_screen.js: run with the program under node when the site is built (--pre-js of
// numerak_first_screen), once for each language: numerak_first_screen.js <out.json> <language>.
// The page's functions the program calls (page_calls.cpp) are its module's page, here one that
// answers the browser's language with the one given; every other call to the page is recorded, and
// answered with a promise that never settles: the first call the program waits on suspends it
// for good, and node ends. What it asked until then, the game's first screen, is written as JSON
// to the file named, for the page to draw before the program has loaded (page/first_screen.js).
"use strict";
(() => {
  const calls = [];
  const [out, language] = process.argv.slice(2);
  Module.page = new Proxy(
    {},
    {
      get: (_, name) =>
        name === "languages"
          ? () => language
          : (...args) => {
              calls.push([name, ...args]);
              return new Promise(() => {});
            },
    }
  );
  process.on("exit", () => require("fs").writeFileSync(out, JSON.stringify(calls)));
})();
