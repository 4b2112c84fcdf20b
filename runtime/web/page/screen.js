// screen.js: what the boxes and the windows share of the screen: how far the windows are scaled
// down on a narrow one, and the labels kept quiet while a modal dialog is up.

let scaled = () => 1; // no window on the screen yet: nothing to scale to
let modalsUp = 0; // modal dialogs up: a box or a modal window

// The scale of the windows, as the windows work it out once there are some (windows.js).
export function scaleBy(fit) {
  scaled = fit;
}

export function scale() {
  return scaled();
}

// The labels say what the game writes into them as it writes it (live regions). A screen reader
// would hear every label at once where the browser puts them back into the accessibility tree: a
// window shown (its labels appear), a modal dialog closed (it took the rest of the page out). So
// they stay quiet while a dialog is up, and until the browser has told of the change (two frames on).
function labelsLive(value) {
  for (const e of document.querySelectorAll(".label[aria-live]")) e.setAttribute("aria-live", value);
}

export function labelsLiveSoon() {
  requestAnimationFrame(() => requestAnimationFrame(() => modalsUp === 0 && labelsLive("polite")));
}

export function quietBehind(dialog) {
  if (modalsUp++ === 0) labelsLive("off");
  dialog.addEventListener("close", () => --modalsUp === 0 && labelsLiveSoon(), { once: true });
}
