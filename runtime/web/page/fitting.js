// fitting.js: captions kept whole in their designed boxes where a browser draws the face a little
// wider than it is. WebKitGTK rounds each letter's advance to whole pixels at the size it draws
// it, most of all at the smaller size of windows scaled down for a phone, so that a caption that
// fits elsewhere wraps, and its last word is lost below its box. Such a caption is drawn a little
// tighter: by as little as makes it fit, and never by more than that rounding can add (half a
// pixel a letter, on the screen). One that needs more, as a translation too long does, is left
// as it is, for all to see.

// Whole pixels: what the browser gives of an element's size, each rounded.
const overflows = (e) => e.scrollWidth > e.clientWidth + 1 || e.scrollHeight > e.clientHeight + 1;

export function fitCaption(e) {
  if (e.style.letterSpacing) e.style.letterSpacing = "";
  if (e.tagName === "INPUT" || e.textContent.trim() === "" || e.getClientRects().length === 0 || !overflows(e)) return;
  const tighter = (by) => {
    e.style.letterSpacing = `${(-by).toFixed(2)}px`;
    return !overflows(e);
  };
  // A letter's rounding, in the element's own pixels: its window's scaled down on a phone.
  let [fits, fails] = [0.5 / (Number(getComputedStyle(e.closest(".window")).zoom) || 1), 0];
  if (!tighter(fits)) {
    e.style.letterSpacing = "";
    return;
  }
  for (let step = 0; step < 5; step++) {
    const by = (fits + fails) / 2;
    if (tighter(by)) fits = by;
    else fails = by;
  }
  tighter(fits);
}

export function fitCaptions(client) {
  for (const e of client.querySelectorAll(":scope > [data-name]")) fitCaption(e);
}
