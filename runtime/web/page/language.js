// language.js: the language the program chose, for the page's own words and for the page itself,
// so that a screen reader reads it in its voice.

import pageWords from "./words.json" with { type: "json" };

// Every word the page writes itself, in one table (words.json, in English): the boxes' buttons
// and a window's close box, which the program sends in its language as it starts, and the notes
// of the page around the game (shell.js). The build writes the <noscript> line from it too.
export const words = { ...pageWords };

// The browser's languages, best first, for the program to choose from.
export function languages() {
  return (navigator.languages || [navigator.language || ""]).join(",");
}

export function useLanguage(tag, wordsJson) {
  document.documentElement.lang = tag;
  Object.assign(words, JSON.parse(wordsJson));
}
