// The behaviour every front end shows (tests/frontends/checks.txt), played on the site in Debian's
// Chromium, headless, through real keys, clicks and dialogs. Each check starts the game afresh.
//   node tests/web/checks.mjs <site folder> <version>
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { after, before, test } from "node:test";
import { siteInBrowser } from "./chromium.mjs";

const [site, version] = process.argv.slice(2);
if (!site || !version) {
  console.error("usage: node checks.mjs <site folder> <version>");
  process.exit(2);
}
const patience = 5_000;
let url, browser, close;
before(async () => ({ url, browser, close } = await siteInBrowser(site)));
after(() => close?.());

// checks.txt: a check a name and its steps, each with its line.
function readChecks() {
  const checks = [];
  const lines = readFileSync(new URL("../frontends/checks.txt", import.meta.url), "utf8").split("\n");
  lines.forEach((text, i) => {
    const line = text.replaceAll("$VERSION", version);
    if (!line.trim() || line.startsWith("#")) return;
    if (line.startsWith("check ")) return checks.push({ name: line.slice(6).trim(), steps: [] });
    const step = line.trim();
    if (step.startsWith("desktop ")) return;
    const blank = step.indexOf(" ");
    const rest = blank < 0 ? "" : step.slice(blank + 1);
    checks.at(-1).steps.push({ line: i + 1, verb: blank < 0 ? step : step.slice(0, blank), rest,
                               words: rest.split(" ").filter(Boolean) });
  });
  return checks;
}

// The system's colours as the page paints them, as a light desktop theme has them.
const systemColours = { Window: "#FFFFFF", WindowText: "#000000", HighlightText: "#FFFFFF", ButtonFace: "#F0F0F0",
                        Light3D: "#E3E3E3" };
const keyNames = { Up: "ArrowUp", Down: "ArrowDown", Left: "ArrowLeft", Right: "ArrowRight" };

function pageKey(key) {
  const alt = key.match(/^Alt\+([A-Z])$/);
  if (alt) return `Alt+Key${alt[1]}`;
  return keyNames[key] || key;
}

function rgb(css) {
  const [r, g, b] = css.match(/\d+/g).map(Number);
  return (r << 16) | (g << 8) | b;
}

const near = (a, b) => [0, 8, 16].every((s) => Math.abs(((a >> s) & 255) - ((b >> s) & 255)) <= 3);
const hex = (c) => "#" + c.toString(16).toUpperCase().padStart(6, "0");

// What a screen reader hears of the first element a selector finds, from Chromium's accessibility
// tree: its role, name, description, state and what is inside it (a label's name is its text). Null
// where the tree has nothing of it.
async function accessible(cdp, selector) {
  const { root } = await cdp.send("DOM.getDocument", { depth: 0 });
  const { nodeId } = await cdp.send("DOM.querySelector", { nodeId: root.nodeId, selector });
  if (!nodeId) return null;
  const { node: { backendNodeId } } = await cdp.send("DOM.describeNode", { nodeId });
  const { nodes } = await cdp.send("Accessibility.getPartialAXTree", { backendNodeId, fetchRelatives: false });
  const found = nodes.find((n) => n.backendDOMNodeId === backendNodeId);
  if (!found) return null;
  const { nodes: inside } = found.ignored ? { nodes: [] } : await cdp.send("Accessibility.queryAXTree", { backendNodeId });
  const heardInside = inside.filter((n) => n.nodeId !== found.nodeId && !n.ignored).map((n) => ({ role: n.role?.value, name: n.name?.value ?? "" }));
  return {
    role: found.role?.value,
    name: found.name?.value || heardInside.filter((n) => n.role === "StaticText").map((n) => n.name).join(""),
    description: found.description?.value ?? "",
    showing: !found.ignored,
    checked: found.properties?.find((p) => p.name === "checked")?.value.value,
    inside: heardInside,
  };
}

// Chromium's roles in the words of checks.txt.
const roleWords = { button: "button", radio: "option", textbox: "text", generic: "label", image: "picture",
                    alertdialog: "alert", dialog: "dialog" };

class Player {
  constructor(page, cdp) {
    this.page = page;
    this.cdp = cdp;
  }
  root(window) {
    return this.page.locator(`[data-window="${window}"]`);
  }
  control(window, name) {
    return this.root(window).locator(`.client [data-name="${name}"], .menubar [data-name="${name}"]`).first();
  }
  // What a screen reader hears of a control (an option's radio button), or of the window named.
  async heard(window, name) {
    const at = `[data-window="${window}"]` + (name === window ? "" : ` .client [data-name="${name}"]`);
    const heard = (name !== window && (await accessible(this.cdp, `${at} input`))) || (await accessible(this.cdp, at));
    if (!heard) return null;
    const role = name === window ? "window" : roleWords[heard.role] || heard.role;
    // The control the keyboard is on holds its rewritten description back until the keyboard
    // leaves it (the rewrite was heard as it came): it is heard with it when the keyboard lands again.
    const later = name !== window && (await this.page.locator(at).evaluate((e) => e.describedLater && e.dataset.description));
    return { ...heard, role, description: later || heard.description, checked: heard.checked === undefined ? undefined : heard.checked === "true" };
  }
  async heardBox() {
    const heard = await accessible(this.cdp, "dialog.box[open]:not([data-answered])");
    if (!heard) return null;
    const buttons = heard.inside.filter((n) => n.role === "button").map((n) => n.name);
    // Its text as read with it: what it holds besides its title and its buttons.
    const text = heard.inside.filter((n) => n.role === "StaticText" && n.name !== heard.name && !buttons.includes(n.name));
    return { role: roleWords[heard.role] || heard.role, name: heard.name, text: text.map((n) => n.name).join(""), buttons,
             field: heard.inside.find((n) => n.role === "textbox")?.name ?? "" };
  }
  async box() {
    const dialog = await this.page.$("dialog.box[open]:not([data-answered])");
    if (!dialog) return null;
    const text = async (selector) => (await dialog.$(selector))?.textContent();
    return {
      dialog,
      title: await text(".title"),
      text: await text(".box-text"),
      buttons: await dialog.$$eval(".box-buttons button", (all) => all.map((b) => b.textContent)),
      defaultButton: await text(".box-buttons button.default"),
      icon: (await dialog.$(".icon, img")) !== null,
      field: (await dialog.$("input")) !== null,
    };
  }
  async answer(box, answer) {
    await box.dialog.evaluate((d) => (d.dataset.answered = "yes"));
    const typed = answer.match(/^type (.*?), (.*)$/);
    if (typed) {
      await this.page.keyboard.type(typed[1]);
      return this.answer(box, typed[2]);
    }
    if (answer.startsWith("click ")) {
      for (const button of await box.dialog.$$(".box-buttons button"))
        if ((await button.textContent()) === answer.slice(6)) return button.click();
      assert.fail(`no button ${answer.slice(6)}`);
    }
    await this.page.keyboard.press(answer);
  }
  async act(window, step) {
    const [first = ""] = step.words;
    const text = step.rest.slice(first.length + 1);
    switch (step.verb) {
      case "key":
        for (let i = 0; i < Number(step.words[1] || 1); i++) await this.page.keyboard.press(pageKey(first));
        return true;
      case "type":
        await this.page.keyboard.type(step.rest);
        return true;
      case "fill":
        await this.control(window, first).fill(text);
        return true;
      case "click":
        await this.control(window, first).click();
        return true;
      case "menu": {
        const item = this.control(window, first);
        await item.evaluate((e) => e.closest(".menu-list").previousElementSibling.click());
        await item.click();
        return true;
      }
      case "close":
        await this.root(window).locator(".close").first().click();
        return true;
      case "contrast":
        await this.page.emulateMedia({ contrast: first === "more" ? "more" : "no-preference" });
        return true;
      case "blocked": {
        // Where a player sees it, through whatever is on top; then its access key.
        const at = await this.control(window, first).boundingBox();
        await this.page.mouse.click(at.x + at.width / 2, at.y + at.height / 2);
        const key = await this.control(window, first).evaluate((e) => e.querySelector("u")?.textContent);
        if (key) await this.page.keyboard.press(`Alt+Key${key.toUpperCase()}`);
        await this.page.waitForTimeout(300);
        return true;
      }
    }
    return false;
  }
  // What is not so of the step, or null.
  async seen(window, step) {
    const [first = ""] = step.words;
    const text = step.rest.slice(first.length + 1);
    const each = async (holds) => {
      for (const name of step.words) if (!(await holds(name))) return `not so of ${name}`;
      return null;
    };
    // What is seen of a control, and what a screen reader hears of it, agree.
    const chosen = async (name) => {
      const [seen, heard] = [await this.control(window, name).locator("input").isChecked(), await this.heard(window, name)];
      return heard?.checked === undefined || heard.checked === seen ? seen : null;
    };
    const shown = async (name) => {
      const [seen, heard] = [await this.control(window, name).isVisible(), await this.heard(window, name)];
      return !!heard?.showing === seen ? seen : null;
    };
    switch (step.verb) {
      case "focus": {
        const at = await this.root(window).evaluate((root) =>
          root.contains(document.activeElement) ? document.activeElement.closest("[data-name]")?.dataset.name : null);
        return at === step.rest ? null : `the keyboard is on ${at ?? "nothing"}`;
      }
      case "chosen":
        return each(chosen);
      case "unchosen":
        return each(async (name) => (await chosen(name)) === false);
      case "shown":
        return each(shown);
      case "hidden":
        return each(async (name) => (await shown(name)) === false);
      case "heard": {
        const [role, name, description] = [...text.split("|").map((s) => s.trim()), "", ""];
        const heard = await this.heard(window, first);
        if (!heard) return "a screen reader does not find it";
        const seen = [heard.role, heard.name.trim(), heard.description.trim()].join(" | ") + (heard.showing ? "" : " (hidden)");
        return seen === [role, name, description].join(" | ") ? null : `a screen reader hears ${seen}`;
      }
      case "caption": {
        const expected = text;
        // As the design writes it: the underlined access key marked with "&".
        const seen = await this.control(window, first).evaluate((e) => {
          if (e.tagName === "INPUT") return e.value;
          if (e.classList.contains("option")) return e.querySelector("span").textContent;
          return Array.from(e.childNodes, (n) => (n.nodeName === "U" ? "&" : "") + n.textContent).join("");
        });
        return seen === expected ? null : `it says "${seen}"`;
      }
      case "client": {
        const client = await this.root(window).locator(".client").boundingBox();
        const at = [client.width, client.height].map(Math.round).join(" ");
        return at === step.rest ? null : `it is ${at}`;
      }
      case "place": {
        const client = await this.root(window).locator(".client").boundingBox();
        const box = await this.control(window, first).boundingBox();
        const at = [box.x - client.x, box.y - client.y, box.width, box.height].map(Math.round).join(" ");
        return at === text ? null : `it is at ${at}`;
      }
      case "colours": {
        const painted = first === window ? this.root(window).locator(".client") : this.control(window, first);
        const [back, fore] = await painted.evaluate((e) => [getComputedStyle(e).backgroundColor, getComputedStyle(e).color]);
        const want = (word) => (word === "-" ? null : parseInt((systemColours[word] || word).slice(1), 16));
        const [wantBack, wantFore] = [want(step.words[1]), want(step.words[2])];
        if ((wantBack !== null && !near(rgb(back), wantBack)) || (wantFore !== null && !near(rgb(fore), wantFore)))
          return `it is painted ${hex(rgb(back))} with text ${hex(rgb(fore))}`;
        return null;
      }
      case "gone":
        return (await this.root(window).isVisible()) ? "it is still up" : null;
      case "ended":
        return (await this.page.locator(".ended", { hasText: "Numerak has ended." }).isVisible()) ? null : "it goes on";
    }
    return "a step checks.txt does not describe";
  }
}

async function until(condition) {
  const end = Date.now() + patience;
  for (;;) {
    const result = await condition();
    if (result.done || Date.now() > end) return result;
    await new Promise((done) => setTimeout(done, 20));
  }
}

for (const check of readChecks()) {
  test(check.name, async (t) => {
    const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
    t.after(() => context.close());
    const page = await context.newPage();
    page.setDefaultTimeout(patience);
    const errors = [];
    page.on("pageerror", (e) => errors.push(e.message));
    const player = new Player(page, await context.newCDPSession(page));
    await page.goto(url);
    let window = "frmCode";
    for (const step of check.steps) {
      const where = `checks.txt:${step.line} (${check.name}): ${step.verb} ${step.rest}`;
      if (step.verb === "box") {
        const [title, text, buttons, answer] = step.rest.split("|").map((s) => s.trim());
        const { box } = await until(async () => {
          const box = await player.box();
          return { done: !!box, box };
        });
        assert.ok(box, `${where}: no box came up`);
        assert.deepEqual([box.title, box.text, box.defaultButton], [title, text, buttons.split(" ")[0]], where);
        assert.deepEqual([...box.buttons].sort(), buttons.split(" ").sort(), where);
        assert.equal(box.icon, false, `${where}: the boxes show no icon`);
        // A screen reader hears the same: a dialog it is put in, read whole, its title and its text
        // (an input box's field named by its prompt).
        const heard = await player.heardBox();
        assert.deepEqual([heard?.role, heard?.name, heard?.text.trim(), heard?.field, heard?.buttons.sort()],
                         ["dialog", title, text, box.field ? text : "", buttons.split(" ").sort()],
                         `${where}: what a screen reader hears`);
        await player.answer(box, answer);
        continue;
      }
      const unexpected = await player.box();
      assert.equal(unexpected, null, `${where}: a box came up that the check does not name: ${unexpected?.text}`);
      if (step.verb === "in") {
        window = step.rest;
        continue;
      }
      if (await player.act(window, step)) continue;
      const { seen } = await until(async () => {
        const seen = await player.seen(window, step);
        return { done: seen === null, seen };
      });
      assert.equal(seen, null, where);
    }
    await page.waitForTimeout(200);
    assert.equal(await player.box(), null, `a box is left up at the end of ${check.name}`);
    assert.deepEqual(errors, [], "errors in the page");
  });
}
