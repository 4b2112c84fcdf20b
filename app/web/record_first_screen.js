// record_first_screen.js: run with the program under node when the site is built (--pre-js of
// numerak_first_screen), once for each browser language it is asked with:
//   numerak_first_screen.js <out.json> [language]   (none: a browser whose languages it knows none of)
// The page's functions the program calls (page_calls.cpp) are its module's page, here one that
// answers the browser's languages with the one given; every other call to the page is recorded,
// and answered with a promise that never settles: the first call the program waits on suspends it
// for good, and node ends. Written to the file named, as JSON: the language the program chose
// (choice, as it tells the page) and what it asked until then, the game's first screen (calls),
// for the page to draw before the program has loaded (page/first_screen.js).
"use strict";
(() => {
  const calls = [];
  let choice = null;
  const [out, language = ""] = process.argv.slice(2);
  Module.page = new Proxy(
    {},
    {
      get: (_, name) =>
        name === "languages"
          ? () => language
          : (...args) => {
              if (name === "useLanguage") choice = args[0];
              calls.push([name, ...args]);
              return new Promise(() => {});
            },
    }
  );
  process.on("exit", () => require("fs").writeFileSync(out, JSON.stringify({ choice, calls })));
})();
