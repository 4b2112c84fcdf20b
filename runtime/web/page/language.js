// language.js: the language the program chose, for the page's own words (the boxes' buttons, a
// window's close box) and for the page itself, so that a screen reader reads it in its voice.

export const words = { ok: "OK", cancel: "Cancel", yes: "&Yes", no: "&No", close: "Close" };

// The browser's languages, best first, for the program to choose from.
export function languages() {
  return (navigator.languages || [navigator.language || ""]).join(",");
}

export function useLanguage(tag, wordsJson) {
  document.documentElement.lang = tag;
  Object.assign(words, JSON.parse(wordsJson));
}
