// events.js: the player's events, to the program one at a time while it waits for one, and
// what the player types or presses, into the program at once.

let waiting = null; // resolves the program's wait for its next event
let program = null; // the program's module, its exports on it once it has loaded

export function useProgram(module) {
  program = module;
}

// A click, or a window's close box. Only while the program waits for an event: one that comes
// while a handler runs or waits in a box (a programmatic click can) goes nowhere.
export function post(windowId, index, closeBox) {
  if (!waiting) return;
  const resolve = waiting;
  waiting = null;
  resolve(program._numerak_event(windowId, index, closeBox ? 1 : 0)); // packed as the program reads it
}

export function nextEvent() {
  return new Promise((resolve) => {
    waiting = resolve;
  });
}

// Text handed to the program in its own memory, for as long as `use` runs; null when there is
// no memory for it.
function withText(text, use) {
  const size = program.lengthBytesUTF8(text) + 1;
  const at = program._malloc(size);
  if (!at) return null;
  try {
    program.stringToUTF8(text, at, size);
    return use(at);
  } finally {
    program._free(at);
  }
}

// What the player types goes into the program's model at once.
export function typed(windowId, index, text) {
  withText(text, (at) => program._numerak_typed(windowId, index, at));
}

// A key pressed in a window, to the program, which carries out what it does by the window's
// rules; whether it was the window's key, which the browser then does nothing more with.
export function windowKey(windowId, index, name, event) {
  const flag = (on) => (on ? 1 : 0);
  const taken = withText(name, (at) =>
    program._numerak_key(windowId, index, at, flag(event.altKey), flag(event.ctrlKey), flag(event.shiftKey), flag(event.metaKey))
  );
  return taken === 1;
}

// Where the keyboard goes in a window that is active again, by the form's rule: the control it
// was last on (its index, -1 for none) while that is shown, else the first.
export function focusOnReturn(windowId, lastIndex) {
  return program._numerak_focus_on_return(windowId, lastIndex);
}
