// language.js: the language the program chose, for the page's own words and for the page itself,
// so that a screen reader reads it in its voice.

// Every word the page writes itself, in one table: the boxes' buttons and a window's close box,
// the notes around the game (shell.js) and its description, which the program sends in the
// language it chose (and the first screen's recording before it runs).
export const words = {};

// The browser's languages, best first, for the program to choose from.
export function languages() {
  return (navigator.languages || [navigator.language || ""]).join(",");
}

export function useLanguage(tag, wordsJson) {
  document.documentElement.lang = tag;
  Object.assign(words, JSON.parse(wordsJson));
  if (words.description) document.querySelector('meta[name="description"]')?.setAttribute("content", words.description);
}
