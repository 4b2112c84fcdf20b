// main.js: the page's own listeners, and what the program calls (library.js).
addEventListener("resize", refit);
// A tap or click anywhere else closes an open menu.
addEventListener("pointerdown", (event) => {
  if (!event.target.closest(".menubar"))
    for (const bar of document.querySelectorAll(".menubar")) closeMenus(bar);
});

globalThis.Numerak = {
  buildWindow,
  setWindowCaption,
  setCaption,
  setVisible,
  setChosen,
  showWindow,
  removeWindow,
  nextEvent,
  messageBox,
  inputBox,
  ended,
};
