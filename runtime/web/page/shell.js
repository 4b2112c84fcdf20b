// shell.js: the page around the game: the program loaded once the first screen is up, the note
// that takes the game's place when it has ended or cannot start or go on, and the news of a new
// release.

import { element } from "./dom.js";
import { words } from "./language.js";

// The game's place taken by a line that says why, and the one button, which loads the page again.
export function note(text, button) {
  for (const box of document.querySelectorAll("dialog.box")) box.remove(); // the first screen's
  const desktop = document.getElementById("desktop");
  desktop.textContent = "";
  desktop.inert = false;
  const said = element("div", "ended", desktop);
  said.setAttribute("role", "alert");
  element("p", "", said).textContent = text;
  const again = element("button", "button", said);
  again.type = "button";
  again.textContent = button;
  again.addEventListener("click", () => location.reload());
  again.focus();
}

// When the game cannot start or go on, the page says so in plain words and offers a reload; what
// went wrong goes to the console.
function stopped(text, what) {
  if (what) console.error(what);
  note(text, words.reload);
}

// The program, fetched once the page has put the game's first screen on screen (main.js), so that
// on a slow link nothing comes before the page, and on a machine of few cores no compiler slows it
// down; with it, everything the game shows later, from the same release. What it is given is its
// module object: the page's functions it calls (page_calls.cpp) and, once it has loaded, its
// exports, which the page calls.
export function loadProgram(page) {
  const fetching = fetch("numerak.wasm");
  // The face's letters beyond the first screen's, which the page does not carry in itself.
  document.fonts.load('11px "Numerak Sans"', "\u00a9").catch(() => {});
  new Image().srcset = "pictures/banner.jpg 1x, pictures/banner@2x.jpg 2x";
  new Image().src = "pictures/icon-16.png";
  const program = {
    page,
    started: false,
    instantiateWasm: (imports, receive) => {
      WebAssembly.compileStreaming(fetching)
        .then((module) => (performance.mark("numerak:compiled"), WebAssembly.instantiate(module, imports)))
        .then((instance) => receive(instance), (e) => stopped(words.notLoaded, e));
      return {};
    },
    onRuntimeInitialized: () => {
      performance.mark("numerak:running");
      program.started = true;
    },
    printErr: (text) => console.error(text),
    onAbort: (what) => stopped(program.started ? words.notGoingOn : words.notLoaded, what),
  };
  import("./numerak.js").then(
    ({ default: start }) => start(program).catch(() => {}), // an abort is onAbort's to tell
    (e) => stopped(words.notLoaded, e)
  );
  return program;
}

// Kept for playing without the network: the service worker holds the game's files. It is
// registered once the page is idle, so that it does not slow the start. A new release is not
// forced on a game in progress: one line above the game says it is ready, with a reload.
export function keepForOffline() {
  if (!("serviceWorker" in navigator)) return;
  const later = window.requestIdleCallback || ((f) => setTimeout(f, 1000));
  const register = () =>
    later(() => navigator.serviceWorker.register("sw.js").then(offerNewRelease, () => {}), { timeout: 5000 });
  if (document.readyState === "complete") register();
  else addEventListener("load", register);
  keepOwnFace();
}

// The worker keeps the face of a language's letters only once a page asks for it: this page's,
// fetched again once the worker has it in hand (the page fetched it before there was one).
function keepOwnFace() {
  const faces = { ja: "ja", ko: "ko", "zh-CN": "zh_CN", "zh-TW": "zh_TW" };
  const ask = () => {
    const face = faces[document.documentElement.lang];
    if (face) fetch(`fonts/numerak-cjk-${face}.woff2`).catch(() => {});
  };
  if (navigator.serviceWorker.controller) ask();
  else navigator.serviceWorker.addEventListener("controllerchange", ask, { once: true });
}

function offerNewRelease(registration) {
  const ready = (worker) => {
    const bar = document.getElementById("update");
    bar.textContent = words.newRelease + " ";
    const reload = element("button", "button", bar);
    reload.type = "button";
    reload.textContent = words.reload;
    reload.addEventListener("click", () => {
      // Taken over already, at another page's reload: this one loads again on it.
      if (worker.state === "activated" || navigator.serviceWorker.controller === worker) return location.reload();
      navigator.serviceWorker.addEventListener("controllerchange", () => location.reload());
      worker.postMessage("take over");
    });
    bar.hidden = false;
  };
  if (!navigator.serviceWorker.controller) return; // the first visit: nothing older is running
  if (registration.waiting) ready(registration.waiting);
  registration.addEventListener("updatefound", () => {
    const next = registration.installing;
    next.addEventListener("statechange", () => next.state === "installed" && ready(next));
  });
}
