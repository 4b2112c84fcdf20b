// menus.js: a window's menu bar: menus that open on a click or a key, items that are events.

import { element } from "./dom.js";
import { post } from "./events.js";

export function menus(w, bar) {
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

export function closeMenus(bar) {
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
