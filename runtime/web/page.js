// page.js: the page's side of Numerak's browser front end. It builds the windows the program
// describes as HTML, keeps them as the program says, shows the boxes as modal dialogs and hands
// the player's events to the program one at a time, while it waits for one.
"use strict";

(function () {
  const windows = new Map(); // by id: { desc, root, client, elements: Map(index -> element), dialog }
  let waiting = null; // resolves the program's wait for its next event
  let desktop = null;

  // ----- Events, to the program ---------------------------------------------------------------

  // A click, or a window's close box. Only while the program waits for an event: one that comes
  // while a handler runs or waits in a box (a programmatic click can) goes nowhere.
  function post(windowId, index, closeBox) {
    if (!waiting) return;
    const resolve = waiting;
    waiting = null;
    resolve((windowId << 16) | (index << 1) | (closeBox ? 1 : 0));
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

  // ----- Building a window --------------------------------------------------------------------

  function element(tag, className, parent) {
    const e = document.createElement(tag);
    if (className) e.className = className;
    if (parent) parent.appendChild(e);
    return e;
  }

  // A caption with "&" before its access key: the key underlined, "&&" a plain "&".
  function caption(target, text) {
    target.textContent = "";
    let key = null;
    for (let i = 0; i < text.length; i++) {
      if (text[i] === "&" && i + 1 < text.length) {
        i++;
        if (text[i] !== "&" && key === null) {
          key = text[i].toUpperCase();
          element("u", "", target).textContent = text[i];
          continue;
        }
      }
      target.append(text[i]);
    }
    return key;
  }

  function plain(text) {
    return text.replace(/&(.)/g, "$1");
  }

  function place(e, c) {
    e.style.left = c.left + "px";
    e.style.top = c.top + "px";
    e.style.width = c.width + "px";
    e.style.height = c.height + "px";
    e.style.zIndex = String(c.index + 1); // creation order is stacking order
  }

  function looks(e, c) {
    // Standard buttons paint the button face: a colour stored for one is not seen.
    if (c.back && c.kind !== "button") e.style.background = c.back;
    if (c.fore) e.style.color = c.fore;
    if (c.font) {
      e.style.fontSize = c.font.px + "px";
      e.style.fontWeight = String(c.font.weight);
      e.style.fontStyle = c.font.italic ? "italic" : "normal";
      const lines = [c.font.underline && "underline", c.font.strikeout && "line-through"].filter(Boolean);
      e.style.textDecoration = lines.length ? lines.join(" ") : "none";
    }
  }

  function line(w, c) {
    const svg = document.createElementNS("http://www.w3.org/2000/svg", "svg");
    svg.setAttribute("class", "line");
    svg.setAttribute("aria-hidden", "true");
    svg.setAttribute("width", w.desc.width);
    svg.setAttribute("height", w.desc.height);
    // Hairlines stay above the wide lines laid beside them: an engraved groove either way round.
    svg.style.zIndex = String(c.index + 1 + (c.hairline ? 1000 : 0));
    const l = document.createElementNS("http://www.w3.org/2000/svg", "line");
    // Covering the pixels from the line down as it grows wider.
    const shift = c.lineWidth / 2;
    l.setAttribute("x1", c.left);
    l.setAttribute("y1", c.top + shift);
    l.setAttribute("x2", c.width);
    l.setAttribute("y2", c.height + shift);
    l.setAttribute("stroke", c.fore || "#000000");
    l.setAttribute("stroke-width", c.lineWidth);
    l.setAttribute("shape-rendering", "crispEdges");
    svg.appendChild(l);
    return svg;
  }

  function control(w, c) {
    let e;
    switch (c.kind) {
      case "label":
        e = element("div", "label");
        e.textContent = c.caption;
        e.setAttribute("aria-live", "polite");
        break;
      case "text":
        e = element("input", "textbox");
        e.type = "text";
        e.value = c.caption;
        e.autocomplete = "off";
        e.spellcheck = false;
        if (c.accessibleName) e.setAttribute("aria-label", c.accessibleName);
        e.addEventListener("input", () => typed(w.desc.id, c.index, e.value));
        break;
      case "button":
        e = element("button", "button");
        e.type = "button";
        e.dataset.key = caption(e, c.caption) || ""; // pressed with Alt, as on the desktop
        e.addEventListener("click", () => post(w.desc.id, c.index, false));
        break;
      case "option": {
        e = element("label", "option");
        const radio = element("input", "", e);
        radio.type = "radio";
        radio.name = "options-" + w.desc.id;
        element("span", "", e).textContent = plain(c.caption);
        // Chosen by a click, a tap or the arrow keys: into the model, then the click to the program.
        const chosen = () => {
          if (radio.checked) Module._numerak_chosen(w.desc.id, c.index);
        };
        radio.addEventListener("change", chosen);
        radio.addEventListener("click", () => {
          chosen();
          post(w.desc.id, c.index, false);
        });
        break;
      }
      case "picture": {
        e = element("div", "picture");
        e.tabIndex = 0; // a picture box takes the focus in its turn
        e.setAttribute("role", "img");
        if (c.accessibleName) e.setAttribute("aria-label", c.accessibleName);
        if (c.picture) {
          const img = element("img", "", e);
          img.alt = "";
          img.src = "pictures/" + c.picture;
          img.srcset = "pictures/" + c.picture + " 1x, pictures/" + c.picture2x + " 2x";
          img.draggable = false;
        }
        e.style.background = c.back || "#F0F0F0";
        break;
      }
      case "line":
        e = line(w, c);
        break;
      default:
        return null;
    }
    if (c.kind !== "line") {
      place(e, c);
      if (c.kind !== "picture") looks(e, c);
    }
    e.dataset.name = c.name;
    e.hidden = !c.visible;
    return e;
  }

  function menus(w, bar) {
    let list = null;
    for (const c of w.desc.controls) {
      if (c.kind === "menu") {
        const top = element("button", "menu", bar);
        top.type = "button";
        top.textContent = c.caption;
        top.dataset.name = c.name;
        top.setAttribute("role", "menuitem");
        top.setAttribute("aria-haspopup", "menu");
        top.setAttribute("aria-expanded", "false");
        top.tabIndex = bar.children.length === 1 ? 0 : -1;
        list = element("div", "menu-list", bar);
        list.setAttribute("role", "menu");
        list.setAttribute("aria-label", c.caption);
        list.hidden = true;
        top.menuList = list;
        top.addEventListener("click", () => toggleMenu(bar, top));
        w.elements.set(c.index, top);
      } else if (c.kind === "menuitem" && list) {
        const item = element("button", "menu-item", list);
        item.type = "button";
        item.textContent = c.caption;
        item.dataset.name = c.name;
        item.setAttribute("role", "menuitem");
        item.tabIndex = -1;
        item.addEventListener("click", () => {
          closeMenus(bar);
          post(w.desc.id, c.index, false);
        });
        w.elements.set(c.index, item);
      }
    }
    bar.addEventListener("keydown", (event) => menuKeys(bar, event));
  }

  function tops(bar) {
    return Array.from(bar.querySelectorAll(".menu")).filter((m) => !m.hidden);
  }

  function closeMenus(bar) {
    for (const top of tops(bar)) {
      top.setAttribute("aria-expanded", "false");
      top.menuList.hidden = true;
    }
  }

  function toggleMenu(bar, top, focusItem) {
    const open = top.getAttribute("aria-expanded") === "true";
    closeMenus(bar);
    if (open && !focusItem) return;
    top.setAttribute("aria-expanded", "true");
    const list = top.menuList;
    list.hidden = false;
    list.style.left = top.offsetLeft + "px";
    const first = list.querySelector(".menu-item:not([hidden])");
    if (first && focusItem) first.focus();
  }

  // The menu bar's keys: the arrows between menus and items, Enter or Space to open, Esc to close.
  function menuKeys(bar, event) {
    const all = tops(bar);
    const top = event.target.closest(".menu") || event.target.closest(".menu-list")?.previousElementSibling;
    if (!top) return;
    const at = all.indexOf(top);
    const items = Array.from(top.menuList.querySelectorAll(".menu-item:not([hidden])"));
    const inList = event.target.classList.contains("menu-item");
    const move = (to) => {
      const next = all[(to + all.length) % all.length];
      for (const m of all) m.tabIndex = m === next ? 0 : -1;
      if (top.getAttribute("aria-expanded") === "true") toggleMenu(bar, next, true);
      else next.focus();
    };
    switch (event.key) {
      case "ArrowLeft":
        move(at - 1);
        break;
      case "ArrowRight":
        move(at + 1);
        break;
      case "ArrowDown":
      case "ArrowUp":
        if (!inList) toggleMenu(bar, top, true);
        else {
          const i = items.indexOf(event.target) + (event.key === "ArrowDown" ? 1 : -1);
          items[(i + items.length) % items.length].focus();
        }
        break;
      case "Escape":
        closeMenus(bar);
        top.focus();
        break;
      case "Tab":
        closeMenus(bar);
        return;
      default:
        return;
    }
    event.preventDefault();
    event.stopPropagation();
  }

  function buildWindow(desc) {
    desktop = desktop || document.getElementById("desktop");
    const w = { desc: desc, elements: new Map() };
    const root = element(desc.fixed ? "dialog" : "section", "window" + (desc.fixed ? " fixed" : ""));
    root.hidden = true;
    const title = element("div", "titlebar", root);
    const icon = element("img", "icon", title);
    icon.src = "pictures/icon-16.png";
    icon.alt = "";
    const text = element("span", "title", title);
    text.id = "title-" + desc.id;
    text.textContent = desc.caption;
    root.setAttribute("aria-labelledby", text.id);
    const close = element("button", "close", title);
    close.type = "button";
    close.tabIndex = -1;
    close.setAttribute("aria-label", "Close");
    close.title = "Close";
    close.textContent = "\u00d7";
    close.addEventListener("click", () => post(desc.id, 0, true));
    if (desc.controls.some((c) => c.kind === "menu")) {
      const bar = element("div", "menubar", root);
      bar.setAttribute("role", "menubar");
      menus(w, bar);
    }
    const client = element("div", "client", root);
    client.style.width = desc.width + "px";
    client.style.height = desc.height + "px";
    client.style.background = desc.back;
    // The page's order is the tab order; creation order stays the stacking order.
    const laid = desc.controls
      .filter((c) => c.kind !== "menu" && c.kind !== "menuitem")
      .sort((a, b) => (a.tabIndex < 0) - (b.tabIndex < 0) || a.tabIndex - b.tabIndex || a.index - b.index);
    for (const c of laid) {
      const e = control(w, c);
      if (!e) continue;
      client.appendChild(e);
      w.elements.set(c.index, e);
    }
    root.addEventListener("keydown", (event) => windowKeys(w, event));
    client.addEventListener("focusin", (event) => (w.lastFocus = event.target));
    if (desc.fixed) root.addEventListener("cancel", (event) => event.preventDefault()); // Esc is ours
    w.root = root;
    w.client = client;
    windows.set(desc.id, w);
    desktop.appendChild(root);
  }

  // The window's own keys: Enter and Esc press its default and cancel buttons, whatever has the
  // keyboard, and nothing else; Alt with a button's access key presses that button.
  function windowKeys(w, event) {
    if (event.target.closest(".menubar")) return;
    const plainKey = !event.altKey && !event.ctrlKey && !event.metaKey && !event.shiftKey;
    let pressed = null;
    if (plainKey && (event.key === "Enter" || event.key === "Escape")) {
      const flag = event.key === "Enter" ? "isDefault" : "isCancel";
      const c = w.desc.controls.find((x) => x[flag]);
      pressed = c ? w.elements.get(c.index) : null;
      event.preventDefault();
      if (!pressed) return;
    } else if (event.altKey && !event.ctrlKey && !event.metaKey && /^Key[A-Z]$/.test(event.code)) {
      const letter = event.code.slice(3);
      pressed = Array.from(w.client.querySelectorAll("button")).find((b) => b.dataset.key === letter) || null;
    } else if (event.key === "F10" && plainKey) {
      const first = w.root.querySelector(".menubar .menu");
      if (first) {
        event.preventDefault();
        first.focus();
      }
      return;
    }
    if (!pressed) return;
    event.preventDefault();
    if (!pressed.hidden) pressed.click();
  }

  // ----- Changing a window --------------------------------------------------------------------

  function setWindowCaption(id, text) {
    const w = windows.get(id);
    if (w) w.root.querySelector(".title").textContent = text;
  }

  function setCaption(id, index, text) {
    const e = windows.get(id)?.elements.get(index);
    if (!e) return;
    if (e.tagName === "INPUT") {
      if (e.value !== text) e.value = text;
    } else if (e.classList.contains("button")) {
      e.dataset.key = caption(e, text) || "";
    } else if (e.classList.contains("option")) {
      e.querySelector("span").textContent = plain(text);
    } else if (!e.classList.contains("picture")) {
      e.textContent = text;
    }
  }

  function setVisible(id, index, visible) {
    const e = windows.get(id)?.elements.get(index);
    if (!e) return;
    // The keyboard moves on rather than staying on a control nobody sees.
    if (!visible && e.contains(document.activeElement)) {
      const w = windows.get(id);
      const focusable = Array.from(w.client.querySelectorAll("input, button, [tabindex='0']")).filter(
        (x) => !x.closest("[hidden]") && !e.contains(x)
      );
      e.hidden = true;
      const after = focusable.find((x) => e.compareDocumentPosition(x) & Node.DOCUMENT_POSITION_FOLLOWING);
      (after || focusable[0] || w.root).focus();
      return;
    }
    e.hidden = !visible;
  }

  function setChosen(id, index, chosen) {
    const radio = windows.get(id)?.elements.get(index)?.querySelector("input");
    if (radio && radio.checked !== chosen) radio.checked = chosen;
  }

  function showWindow(id, modal, focusIndex) {
    const w = windows.get(id);
    if (!w) return;
    w.root.hidden = false;
    if (modal && w.root.showModal) {
      w.beneath = Array.from(windows.values()).filter((x) => x !== w).pop(); // gets the keyboard back
      w.root.showModal();
    }
    const scale = fit();
    if (w.desc.position) {
      // Where the design puts it on the screen, kept within the page.
      const shown = w.root.getBoundingClientRect();
      const left = Math.max(0, Math.min(w.desc.position.left * scale, innerWidth - shown.width));
      const top = Math.max(0, Math.min(w.desc.position.top * scale, innerHeight - shown.height));
      w.root.classList.add("placed");
      w.root.style.left = left / scale + "px";
      w.root.style.top = top / scale + "px";
    }
    const first = w.elements.get(focusIndex);
    if (first) (first.querySelector("input") || first).focus();
  }

  function removeWindow(id) {
    const w = windows.get(id);
    if (!w) return;
    windows.delete(id);
    if (w.root.open) w.root.close();
    w.root.remove();
    if (w.beneath && windows.has(w.beneath.desc.id)) giveFocus(w.beneath);
  }

  // The keyboard to a window: where it last was in it, or its first control in tab order.
  function giveFocus(w) {
    const last = w.lastFocus;
    if (last && last.isConnected && last.offsetParent !== null) {
      last.focus();
      return;
    }
    const first = w.client.querySelector("input:not([type=radio]), button, [tabindex='0'], input:checked");
    if (first) first.focus();
  }

  // ----- The boxes ----------------------------------------------------------------------------

  function box(title, label) {
    const dialog = element("dialog", "box", document.body);
    const bar = element("div", "titlebar", dialog);
    const heading = element("span", "title", bar);
    heading.id = "box-title";
    heading.textContent = title;
    dialog.setAttribute("aria-labelledby", heading.id);
    const body = element("div", "box-body", dialog);
    const text = element(label ? "label" : "p", "box-text", body);
    text.id = "box-text";
    text.textContent = label || "";
    dialog.setAttribute("aria-describedby", text.id);
    dialog.style.zoom = String(fit());
    return { dialog, body, text };
  }

  function boxButton(parent, name, onPress) {
    const b = element("button", "button", parent);
    b.type = "button";
    b.textContent = name;
    b.addEventListener("click", onPress);
    return b;
  }

  // A modal box with the text and OK, or Yes and No; Esc answers No, or OK where it is alone.
  function messageBox(text, title, yesNo) {
    return new Promise((resolve) => {
      const b = box(title, null);
      b.text.textContent = text;
      const row = element("div", "box-buttons", b.body);
      const answer = (value) => {
        b.dialog.close();
        b.dialog.remove();
        resolve(value);
      };
      const first = yesNo ? boxButton(row, "Yes", () => answer(1)) : boxButton(row, "OK", () => answer(0));
      first.classList.add("default");
      if (yesNo) boxButton(row, "No", () => answer(2));
      b.dialog.addEventListener("cancel", (event) => {
        event.preventDefault();
        answer(yesNo ? 2 : 0);
      });
      b.dialog.showModal();
      first.focus();
    });
  }

  // A modal input box with no default text: what was typed, or null when cancelled.
  function inputBox(prompt, title) {
    return new Promise((resolve) => {
      const b = box(title, prompt);
      b.dialog.classList.add("input-box");
      const form = element("form", "", b.body);
      form.method = "dialog";
      const field = element("input", "textbox", form);
      field.type = "text";
      field.id = "box-input";
      field.autocomplete = "off";
      b.text.htmlFor = field.id;
      const row = element("div", "box-buttons", form);
      const ok = boxButton(row, "OK", () => form.requestSubmit());
      ok.type = "submit";
      ok.classList.add("default");
      let done = false;
      const answer = (value) => {
        if (done) return;
        done = true;
        b.dialog.close();
        b.dialog.remove();
        resolve(value);
      };
      boxButton(row, "Cancel", () => answer(null));
      form.addEventListener("submit", (event) => {
        event.preventDefault();
        answer(field.value);
      });
      b.dialog.addEventListener("cancel", (event) => {
        event.preventDefault();
        answer(null);
      });
      b.dialog.showModal();
      field.focus();
    });
  }

  // ----- The page -----------------------------------------------------------------------------

  // Narrower than the game window, the windows scale down as a whole; they never grow.
  function fit() {
    const game = Array.from(windows.values()).find((w) => !w.desc.fixed);
    if (!game) return 1;
    game.root.style.zoom = "1";
    const width = game.root.offsetWidth;
    const scale = width ? Math.min(1, (document.documentElement.clientWidth - 16) / width) : 1;
    for (const w of windows.values()) w.root.style.zoom = String(scale);
    for (const d of document.querySelectorAll("dialog.box")) d.style.zoom = String(scale);
    return scale;
  }

  function ended() {
    for (const id of Array.from(windows.keys())) removeWindow(id);
    desktop = desktop || document.getElementById("desktop");
    desktop.textContent = "";
    const note = element("div", "ended", desktop);
    element("p", "", note).textContent = "Numerak has ended.";
    const again = element("button", "button", note);
    again.type = "button";
    again.textContent = "Play again";
    again.addEventListener("click", () => location.reload());
    again.focus();
  }

  addEventListener("resize", fit);
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
})();
