// events.js: the player's events, to the program one at a time while it waits for one, and
// what the player types or chooses, into the program's model at once.

let waiting = null; // resolves the program's wait for its next event

// A click, or a window's close box. Only while the program waits for an event: one that comes
// while a handler runs or waits in a box (a programmatic click can) goes nowhere.
function post(windowId, index, closeBox) {
  if (!waiting) return;
  const resolve = waiting;
  waiting = null;
  resolve(Module._numerak_event(windowId, index, closeBox ? 1 : 0)); // packed as the program reads it
}

function nextEvent() {
  return new Promise((resolve) => {
    waiting = resolve;
  });
}

// What the player types or chooses goes into the program's model at once.
function typed(windowId, index, text) {
  const size = Module.lengthBytesUTF8(text) + 1;
  const at = Module._malloc(size);
  if (!at) return;
  Module.stringToUTF8(text, at, size);
  Module._numerak_typed(windowId, index, at);
  Module._free(at);
}
