// The behaviour every front end shows (tests/frontends/checks.txt), played on the site in Chromium,
// Firefox ESR or WebKitGTK (browser.mjs) through real keys, clicks and dialogs. Each check starts
// the game afresh.
//   node tests/web/checks.mjs <chromium|firefox|webkit> <site folder> <version>
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { after, before, test } from "node:test";
import { serve } from "../../scripts/serve.mjs";
import { launch } from "./browser.mjs";

const [engineName, site, version] = process.argv.slice(2);
if (!engineName || !site || !version) {
  console.error("usage: node checks.mjs <chromium|firefox|webkit> <site folder> <version>");
  process.exit(2);
}
const patience = 5_000;
let engine, server, url;
before(async () => {
  [engine, server] = await Promise.all([launch(engineName), serve(site)]);
  url = `http://127.0.0.1:${server.address().port}/`;
});
after(async () => {
  await engine?.close();
  server?.close();
});

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

// The browsers' roles in the words of checks.txt.
const roleWords = { button: "button", radio: "option", textbox: "text", generic: "label", image: "picture",
                    alertdialog: "alert", dialog: "dialog" };
const openBox = "dialog.box[open]:not([data-answered])";

class Player {
  constructor(page) {
    this.page = page;
  }
  root(window) {
    return `[data-window="${window}"]`;
  }
  control(window, name) {
    const root = this.root(window);
    return `${root} .client [data-name="${name}"], ${root} .menubar [data-name="${name}"]`;
  }
  // What a screen reader hears of a control (an option's radio button), or of the window named: of
  // what an engine's driver can tell (its `can`), the rest undefined. Null where it hears nothing.
  async heard(window, name) {
    const at = this.root(window) + (name === window ? "" : ` .client [data-name="${name}"]`);
    const heard = (name !== window && (await this.page.heard(`${at} input`))) || (await this.page.heard(at));
    if (!heard) return null;
    const role = name === window ? "window" : roleWords[heard.role] || heard.role;
    // A label is read by its text, where the driver gives only its name.
    const text = heard.role === "generic" && !heard.name ? await this.page.text(at) : heard.name;
    // The control the keyboard is on holds its rewritten description back until the keyboard
    // leaves it (the rewrite was heard as it came): it is heard with it when the keyboard lands again.
    const later = name !== window && heard.description !== undefined &&
      (await this.page.evaluate((s) => { const e = document.querySelector(s); return e?.describedLater && e.dataset.description; }, at));
    return { ...heard, name: text, role, description: later || heard.description,
             checked: heard.checked === undefined ? undefined : heard.checked === "true" };
  }
  async heardBox() {
    if (!engine.can.accessibilityTree) {
      const heard = await this.page.heard(openBox);
      const buttons = [];
      for (let i = 1; i <= (await this.page.count(`${openBox} .box-buttons button`)); i++)
        buttons.push((await this.page.heard(`${openBox} .box-buttons button:nth-child(${i})`)).name);
      const field = (await this.page.heard(`${openBox} input`))?.name ?? "";
      return heard && { role: roleWords[heard.role] || heard.role, name: heard.name, buttons, field };
    }
    const heard = await this.page.heard(openBox);
    if (!heard) return null;
    const buttons = heard.inside.filter((n) => n.role === "button").map((n) => n.name);
    // Its text as read with it: what it holds besides its title and its buttons.
    const text = heard.inside.filter((n) => n.role === "StaticText" && n.name !== heard.name && !buttons.includes(n.name));
    return { role: roleWords[heard.role] || heard.role, name: heard.name, text: text.map((n) => n.name).join(""), buttons,
             field: heard.inside.find((n) => n.role === "textbox")?.name ?? "" };
  }
  box() {
    return this.page.evaluate((at) => {
      const dialog = document.querySelector(at);
      if (!dialog) return null;
      return {
        title: dialog.querySelector(".title")?.textContent,
        text: dialog.querySelector(".box-text")?.textContent,
        buttons: [...dialog.querySelectorAll(".box-buttons button")].map((b) => b.textContent),
        defaultButton: dialog.querySelector(".box-buttons button.default")?.textContent,
        icon: dialog.querySelector(".icon, img") !== null,
        field: dialog.querySelector("input") !== null,
      };
    }, openBox);
  }
  async answer(answer) {
    const typed = answer.match(/^type (.*?), (.*)$/);
    if (typed) {
      await this.page.type(typed[1]);
      return this.answer(typed[2]);
    }
    if (answer.startsWith("click ")) return this.page.click("dialog.box[open] .box-buttons button", { text: answer.slice(6) });
    await this.page.press(answer);
  }
  async act(window, step) {
    const [first = ""] = step.words;
    const text = step.rest.slice(first.length + 1);
    switch (step.verb) {
      case "key":
        await this.page.press(pageKey(first), Number(step.words[1] || 1));
        return true;
      case "type":
        await this.page.type(step.rest);
        return true;
      case "fill":
        await this.page.fill(this.control(window, first), text);
        return true;
      case "click":
        await this.page.click(this.control(window, first));
        return true;
      case "menu": {
        // The menu the item is in, then the item.
        await this.page.waitFor(this.control(window, first), { state: "attached" });
        const menu = await this.page.evaluate((s) => {
          const top = document.querySelector(s).closest(".menu-list").previousElementSibling;
          return [...top.parentElement.children].indexOf(top) + 1;
        }, this.control(window, first));
        await this.page.click(`${this.root(window)} .menubar > :nth-child(${menu})`);
        await this.page.click(this.control(window, first));
        return true;
      }
      case "close":
        await this.page.click(`${this.root(window)} .close`);
        return true;
      case "contrast":
        await this.page.driver.page.emulateMedia({ contrast: first === "more" ? "more" : "no-preference" });
        return true;
      case "blocked": {
        // Where a player sees it, through whatever is on top; then its access key.
        const at = await this.page.rect(this.control(window, first));
        await this.page.clickAt(at.x + at.width / 2, at.y + at.height / 2);
        const key = await this.page.evaluate((s) => document.querySelector(s).querySelector("u")?.textContent, this.control(window, first));
        if (key) await this.page.press(`Alt+Key${key.toUpperCase()}`);
        await new Promise((done) => setTimeout(done, 300));
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
    // What is seen of a control, and what a screen reader hears of it, agree, where the engine's
    // driver tells what a screen reader hears.
    const tree = engine.can.accessibilityTree;
    const chosen = async (name) => {
      const seen = await this.page.evaluate((s) => document.querySelector(s).querySelector("input").checked, this.control(window, name));
      const heard = tree ? await this.heard(window, name) : null;
      return heard?.checked === undefined || heard.checked === seen ? seen : null;
    };
    const shown = async (name) => {
      const seen = await this.page.visible(this.control(window, name));
      return !tree || !!(await this.heard(window, name))?.showing === seen ? seen : null;
    };
    switch (step.verb) {
      case "focus": {
        const at = await this.page.evaluate((root) =>
          document.querySelector(root).contains(document.activeElement) ? document.activeElement.closest("[data-name]")?.dataset.name : null,
          this.root(window));
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
        // Of what the driver tells: a description only where it reads the accessibility tree.
        const told = (h) => [h.role, h.name.trim(), ...(tree ? [h.description.trim()] : [])].join(" | ");
        const seen = told(heard) + (heard.showing === false ? " (hidden)" : "");
        return seen === told({ role, name, description }) ? null : `a screen reader hears ${seen}`;
      }
      case "caption": {
        const expected = text;
        // As the design writes it: the underlined access key marked with "&".
        const seen = await this.page.evaluate((s) => {
          const e = document.querySelector(s);
          if (e.tagName === "INPUT") return e.value;
          if (e.classList.contains("option")) return e.querySelector("span").textContent;
          return Array.from(e.childNodes, (n) => (n.nodeName === "U" ? "&" : "") + n.textContent).join("");
        }, this.control(window, first));
        return seen === expected ? null : `it says "${seen}"`;
      }
      case "client": {
        const client = await this.page.rect(`${this.root(window)} .client`);
        const at = [client.width, client.height].map(Math.round).join(" ");
        return at === step.rest ? null : `it is ${at}`;
      }
      case "place": {
        const client = await this.page.rect(`${this.root(window)} .client`);
        const box = await this.page.rect(this.control(window, first));
        const at = [box.x - client.x, box.y - client.y, box.width, box.height].map(Math.round).join(" ");
        return at === text ? null : `it is at ${at}`;
      }
      case "colours": {
        const painted = first === window ? `${this.root(window)} .client` : this.control(window, first);
        const [back, fore] = await this.page.evaluate((s) => {
          const style = getComputedStyle(document.querySelector(s));
          return [style.backgroundColor, style.color];
        }, painted);
        const want = (word) => (word === "-" ? null : parseInt((systemColours[word] || word).slice(1), 16));
        const [wantBack, wantFore] = [want(step.words[1]), want(step.words[2])];
        if ((wantBack !== null && !near(rgb(back), wantBack)) || (wantFore !== null && !near(rgb(fore), wantFore)))
          return `it is painted ${hex(rgb(back))} with text ${hex(rgb(fore))}`;
        return null;
      }
      case "gone":
        return (await this.page.visible(this.root(window))) ? "it is still up" : null;
      case "ended":
        return (await this.page.visible(".ended", { text: "Numerak has ended." })) ? null : "it goes on";
    }
    return "a step checks.txt does not describe";
  }
}

// Until the condition is done, or a while has passed; what the page had not yet (a window not yet
// built) is not done.
async function until(condition) {
  const end = Date.now() + patience;
  for (;;) {
    const result = await condition().catch((e) => ({ done: false, seen: e.message, box: null }));
    if (result.done || Date.now() > end) return result;
    await new Promise((done) => setTimeout(done, 20));
  }
}

// What a driver cannot do is left out: a check that asks for more contrast, and the steps of what
// a screen reader hears where the driver tells nothing of it.
const cannotContrast = (check) => !engine.can.contrast && check.steps.some((s) => s.verb === "contrast");

for (const check of readChecks()) {
  test(check.name, async (t) => {
    if (cannotContrast(check)) return t.skip("the driver cannot ask for more contrast");
    const hears = engine.can.accessibilityTree || engine.can.roleAndName;
    const page = await engine.open({ width: 1280, height: 800 });
    t.after(() => page.close());
    const player = new Player(page);
    await page.goto(url);
    // The page draws the opening message before the program has loaded (play.mjs plays that), and
    // takes no keys until it runs: the checks play the program.
    await page.until(() => performance.getEntriesByName("numerak:running").length > 0);
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
        // (an input box's field named by its prompt), of what the engine's driver tells.
        if (hears) {
          const heard = await player.heardBox();
          assert.deepEqual([heard?.role, heard?.name, heard?.text?.trim(), heard?.field, heard?.buttons.sort()],
                           ["dialog", title, heard?.text === undefined ? undefined : text, box.field ? text : "",
                            buttons.split(" ").sort()],
                           `${where}: what a screen reader hears`);
        }
        await page.evaluate((at) => (document.querySelector(at).dataset.answered = "yes"), openBox);
        await player.answer(answer);
        continue;
      }
      const unexpected = await player.box();
      assert.equal(unexpected, null, `${where}: a box came up that the check does not name: ${unexpected?.text}`);
      if (step.verb === "in") {
        window = step.rest;
        continue;
      }
      if (step.verb === "heard" && !hears) continue;
      if (await player.act(window, step)) continue;
      const { seen } = await until(async () => {
        const seen = await player.seen(window, step);
        return { done: seen === null, seen };
      });
      assert.equal(seen, null, where);
    }
    await new Promise((done) => setTimeout(done, 200));
    assert.equal(await player.box(), null, `a box is left up at the end of ${check.name}`);
    assert.deepEqual(await page.errors(), [], "errors in the page");
    assert.deepEqual(await page.refused(), [], "refused by the page's policy");
  });
}
