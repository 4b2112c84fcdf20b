// Numerak in a real browser, through real clicks, taps and keys: Chromium, Firefox ESR or WebKitGTK
// (browser.mjs), the site served on the loopback interface. Each test starts the game afresh, so
// that one that fails stops none of the others.
//   node tests/web/play.mjs <chromium|firefox|webkit> <site folder> [screenshot folder]
import assert from "node:assert/strict";
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, before, test } from "node:test";
import { inflateSync } from "node:zlib";
import { serve } from "../../scripts/serve.mjs";
import { launch } from "./browser.mjs";

const [engineName, site, shots] = process.argv.slice(2);
if (!engineName || !site) {
  console.error("usage: node play.mjs <chromium|firefox|webkit> <site folder> [screenshot folder]");
  process.exit(2);
}
const designedWidth = 441; // the game window on a large screen, frame included
const phone = { width: 390, height: 844, touch: true };
let engine, server, url;
before(async () => {
  [engine, server] = await Promise.all([launch(engineName), serve(site)]);
  url = `http://127.0.0.1:${server.address().port}/`;
});
after(async () => {
  await engine?.close();
  server?.close();
});

async function shot(page, name) {
  if (shots) await page.screenshot(`${shots}/${name}.png`);
}

// A page of its own, at the address given (the site's by default); an error in the page, or
// anything its policy refuses, fails the test that made it.
async function open(t, options, at = url) {
  const page = await engine.open(options);
  t.after(() => done(page));
  if (at) await page.goto(at);
  return page;
}

// A page closed before its test ends, what went wrong in it checked.
async function done(page) {
  if (page.closed) return;
  page.closed = true;
  const [errors, refused] = [await page.errors(), await page.refused()];
  await page.close();
  assert.deepEqual(errors, [], "errors in the page");
  assert.deepEqual(refused, [], "refused by the page's policy");
}

// The same, at the opening message.
async function opened(t, options) {
  const page = await open(t, options);
  await box(page, "Please choose");
  return page;
}

// The same, past the opening message, with the game window up.
async function started(t, options) {
  const page = await opened(t, options);
  await page.press("Enter");
  await noBox(page);
  await page.waitFor(control("Option1"));
  return page;
}

// The box that is up, once it says what it should: its title, text and buttons.
async function box(page, text) {
  await page.waitFor("dialog.box[open] .box-text", { text });
  return page.evaluate(() => {
    const dialog = [...document.querySelectorAll("dialog.box[open]")].at(-1);
    return {
      title: dialog.querySelector(".title").textContent,
      text: dialog.querySelector(".box-text").textContent,
      buttons: [...dialog.querySelectorAll(".box-buttons button")].map((b) => b.textContent),
    };
  });
}

const boxButton = "dialog.box[open] .box-buttons button";

// A player's click on the box's button, as soon as the box is up.
const press = (page, name) => page.click(boxButton, { text: name });

// Whether a rectangle is whole on a screen of the size given, to the browser's rounding.
const within = (r, width, height) => r.x > -0.01 && r.y > -0.01 && r.x + r.width < width + 0.01 && r.y + r.height < height + 0.01;

const noBox = (page) => page.waitFor("dialog.box[open]", { state: "detached" });

const control = (name) => `section.window [data-name="${name}"]`;

// The Help menu's About, by the mouse or by taps.
async function openAbout(page, how = "click") {
  await page[how](".menubar > .menu", { text: "Help" });
  await page[how](".menubar .menu-item", { text: "About" });
  await page.waitFor("dialog.window[open]");
}

// By the names a screen reader gives the boxes, as on the desktop.
const boxNames = ["First number", "Second number", "Third number", "Fourth number"];
const numberBox = (name) => `input[aria-label="${name}"]`;
async function typeGuess(page, numbers) {
  for (let i = 0; i < 4; i++) await page.fill(numberBox(boxNames[i]), numbers[i]);
}

async function deal(page, option, how = "click") {
  await page[how](control(option));
  await page[how](control("Command5"));
  await page.waitFor(control(option), { state: "hidden" });
}

// A copy of the site, changed as a test needs, on a host of its own.
async function changedSite(t, change) {
  const folder = mkdtempSync(join(tmpdir(), "numerak-site-"));
  cpSync(site, folder, { recursive: true });
  change(folder);
  const host = await serve(folder);
  t.after(() => {
    host.close();
    rmSync(folder, { recursive: true, force: true });
  });
  return `http://127.0.0.1:${host.address().port}/`;
}

// The site on a host of its own that holds a file back until the test lets it go: what a slow
// link does to it.
async function holdingBack(t, file) {
  const host = await serve(site);
  const [answer] = host.listeners("request");
  let letGo;
  const held = new Promise((done) => (letGo = done));
  host.removeAllListeners("request");
  host.on("request", async (request, response) => {
    if (new URL(request.url, "http://host").pathname === `/${file}`) await held;
    answer(request, response);
  });
  t.after(() => {
    letGo();
    host.close();
  });
  return { at: `http://127.0.0.1:${host.address().port}/`, letGo };
}

// What every front end shows, the browser too, is played by checks.mjs; here is what is the site's own.

test("the opening message comes before the game window, which has a menu bar and its designed size", async (t) => {
  const page = await opened(t);
  assert.ok(!(await page.visible("section.window")), "the game window waits behind it");
  await shot(page, "opening-1280x800");
  await page.press("Enter");
  await noBox(page);
  await page.waitFor(control("Option1"));
  assert.deepEqual(await page.texts(".menubar > .menu"), ["File", "Game", "Help"]);
  const frame = await page.rect("section.window");
  assert.ok(Math.abs(frame.width - designedWidth) <= 1, `at its designed size: ${frame.width} wide`);
});

test("a click a script makes behind a box does nothing, and Esc answers No", async (t) => {
  const page = await started(t);
  await deal(page, "Option1");
  await shot(page, "easy-1280x800");
  await typeGuess(page, ["9", "9", "9", "9"]);
  await page.click(control("Command1"));
  await box(page, "You got");
  await shot(page, "sorry-1280x800");
  await page.evaluate((s) => document.querySelector(s).click(), control("Command1"));
  assert.equal(await page.count("dialog.box[open]"), 1, "a programmatic click behind the box");
  await page.press("Escape"); // No
  await box(page, "Are you sure you want to quit?");
  await page.press("Escape"); // No
  await noBox(page);
  assert.ok(await page.visible(control("Command1")), "the game goes on");
});

test("About opens from the menu bar as a modal window on light green", async (t) => {
  const page = await started(t);
  await openAbout(page);
  assert.equal(await page.text("dialog.window[open] .title"), "About Numerak");
  assert.equal(await page.evaluate(() => getComputedStyle(document.querySelector("dialog.window[open] .client")).backgroundColor),
               "rgb(192, 255, 192)");
  await shot(page, "about-1280x800");
  await page.press("Escape");
  await page.waitFor("dialog.window[open]", { state: "detached" });
});

test("a browser can install it, and with its host gone a reload starts the game", async (t) => {
  const host = await serve(site); // its own, to take away
  t.after(() => host.close());
  // A profile of its own, as a player's browser has: an incognito one cannot install apps.
  const page = await open(t, { profile: true }, `http://127.0.0.1:${host.address().port}/`);
  await box(page, "Please choose");
  if (engine.can.installing) {
    const cdp = await page.driver.page.context().newCDPSession(page.driver.page);
    assert.deepEqual((await cdp.send("Page.getInstallabilityErrors")).installabilityErrors, []);
  }
  await page.evaluate(() => navigator.serviceWorker.ready.then(() => true));
  host.close();
  host.closeAllConnections();
  await page.reload();
  const b = await box(page, "Please choose");
  assert.equal(b.title, "Select New game");
});

test("Alt+Q and Yes end the game the way a page can, with a way to start again", async (t) => {
  const page = await started(t);
  await page.press("Alt+KeyQ");
  await box(page, "Are you sure you want to quit?");
  await press(page, "Yes");
  await page.waitFor(".ended", { text: "Numerak has ended." });
  assert.ok(await page.visible(".ended button", { text: "Play again" }));
});

test("quitting in German leaves no English word of the page's own on it", async (t) => {
  // What the page says of its own when the game has ended, and of itself, in a language.
  const ended = async (language) => {
    const page = await open(t, { languages: [language] });
    await page.waitFor("dialog.box[open]");
    await page.press("Enter");
    await page.waitFor(control("Option1"));
    await page.click(control("Command3")); // Quit
    await box(page, "");
    await page.click(`${boxButton}:first-child`); // Yes
    await page.waitFor(".ended");
    return page.evaluate(() => ({
      lang: document.documentElement.lang,
      words: [...document.querySelectorAll(".ended p, .ended button")].map((e) => e.textContent),
      shown: [document.body.innerText, document.querySelector('meta[name="description"]').content,
              ...[...document.querySelectorAll("[aria-label], [title]")].map((e) => e.getAttribute("aria-label") ?? e.title)].join("\n"),
      description: document.querySelector('meta[name="description"]').content,
    }));
  };
  const [english, german] = [await ended("en-US"), await ended("de-DE")];
  assert.equal(german.lang, "de");
  for (const word of [...english.words, english.description]) assert.ok(!german.shown.includes(word), `English on a German page: ${word}`);
});

// WebKitGTK's driver has no touch screen: there the taps are clicks.
test("on a phone the windows scale down whole, and play by tap", async (t) => {
  const page = await opened(t, phone);
  await shot(page, "opening-390x844");
  await page.press("Enter");
  await noBox(page);
  await page.waitFor("section.window");
  const frame = await page.rect("section.window");
  assert.ok(within(frame, 390, 844), `the window fits 390 pixels: ${frame.width} wide`);
  const wide = await (await started(t)).rect("section.window");
  const ratio = frame.width / frame.height;
  assert.ok(Math.abs(ratio / (wide.width / wide.height) - 1) < 0.01, `its proportions kept: ${ratio.toFixed(3)}`);
  await deal(page, "Option1", "tap");
  await shot(page, "easy-390x844");
  for (let i = 0; i < 4; i++) {
    await page.tap(numberBox(boxNames[i]));
    await page.type("9");
  }
  await page.tap(control("Command1"));
  await box(page, "You got 0");
  await shot(page, "sorry-390x844");
  await page.tap(boxButton, { text: "Yes" });
  await noBox(page);
  await openAbout(page, "tap");
  const about = await page.rect("dialog.window[open]");
  assert.ok(within(about, 390, 844), `the About window fits too: ${JSON.stringify(about)}`);
  // Where the design places it, as far as the screen lets it: against the screen's right edge.
  assert.ok(Math.abs(about.x + about.width - 390) < 1, `where the design places it: ${JSON.stringify(about)}`);
  await shot(page, "about-390x844");
});

test("a double-click answers one box, a quick single click the next", async (t) => {
  // Firefox and WebKit count a double-click's clicks themselves: only Chromium's driver sends the
  // second click alone.
  if (!engine.can.secondClick) return t.skip("the second click of a double-click cannot be sent alone");
  const page = await started(t);
  await deal(page, "Option1");
  await typeGuess(page, ["9", "9", "9", "9"]);
  await page.click(control("Command1"));
  await box(page, "You got");
  await press(page, "No");
  await box(page, "Are you sure you want to quit?");
  // The second click of a double-click whose first answered the last box lands on this one.
  const yes = await page.rect(boxButton, { text: "Yes" });
  const mouse = page.driver.page.mouse;
  await mouse.move(yes.x + yes.width / 2, yes.y + yes.height / 2);
  await mouse.down({ clickCount: 2 });
  await mouse.up({ clickCount: 2 });
  assert.ok(await page.visible("dialog.box[open] .box-text", { text: "quit" }), "the quit question is still asked");
  await press(page, "No"); // at once: a single click answers
  await noBox(page);
  assert.ok(await page.visible(control("Command1")), "the game goes on");
  // A single click the moment a box is up is its answer.
  await page.click(control("Command1"));
  await box(page, "You got");
  await press(page, "Yes");
  await noBox(page);
  assert.ok(await page.visible(control("Command1")), "the game goes on after Yes");
});

test("the number boxes offer a phone's number keys and take what the desktop takes", async (t) => {
  const page = await started(t);
  for (const name of boxNames) assert.equal(await page.attribute(numberBox(name), "inputmode"), "numeric", name);
  await deal(page, "Option1"); // 2 2 3 3, as on the desktop
  await typeGuess(page, [" 2 ", "2.0", "+3", "3"]);
  await page.click(control("Command1"));
  assert.equal((await box(page, "You done it")).title, "well done");
});

// Until the element is whole on a screen of the size given.
async function wholeOnScreen(page, selector, width, height) {
  for (let wait = 0; ; wait++) {
    const r = await page.rect(selector);
    if (within(r, width, height)) return;
    if (wait > 100) assert.fail(`${selector} is at ${r.x} ${r.y} ${r.width} ${r.height}, off the screen`);
    await new Promise((done) => setTimeout(done, 50));
  }
}

test("a window the phone's turn would cut off is moved back whole onto the screen", async (t) => {
  const page = await started(t, { width: 844, height: 390, touch: true });
  await openAbout(page, "tap");
  await page.resize(390, 844);
  await wholeOnScreen(page, "dialog.window[open]", 390, 844);
  await wholeOnScreen(page, 'dialog.window[open] [data-name="cmdOK"]', 390, 844); // OK is on the screen
  await wholeOnScreen(page, "dialog.window[open] .close", 390, 844); // and so is the close box
});

test("a page whose program cannot be loaded says so in plain words, with a reload", async (t) => {
  // A host that lacks the program, as one an upload left half done.
  const page = await open(t, {}, await changedSite(t, (folder) => rmSync(join(folder, "numerak.wasm"))));
  await page.waitFor(".ended");
  const note = await page.text(".ended");
  assert.match(note, /Numerak could not be loaded\. Check the connection, then reload the page\./);
  assert.doesNotMatch(note, /TypeError|Error/);
  assert.equal(await page.count("dialog[open]"), 0, "the opening message the page drew is gone");
  assert.ok(await page.evaluate(() => document.activeElement.matches(".ended button") && document.activeElement.textContent === "Reload"));
});

// The page draws the opening message before the program has loaded; the program takes it over.
test("the opening message answered before the program has loaded: the game goes on from there", async (t) => {
  const { at, letGo } = await holdingBack(t, "numerak.js");
  const page = await open(t, {}, at);
  await box(page, "Please choose");
  if (engine.can.fontsDrawn) {
    // In the designed font, which the page carries: the fonts the browser drew the text with.
    const cdp = await page.driver.page.context().newCDPSession(page.driver.page);
    await cdp.send("DOM.enable");
    await cdp.send("CSS.enable");
    const { root } = await cdp.send("DOM.getDocument");
    const { nodeId } = await cdp.send("DOM.querySelector", { nodeId: root.nodeId, selector: "#box-text" });
    const { fonts } = await cdp.send("CSS.getPlatformFontsForNode", { nodeId });
    assert.deepEqual(fonts.map((f) => f.familyName), ["Numerak Sans"]);
  }
  await page.press("Enter");
  await noBox(page);
  assert.ok(await page.evaluate(() => document.getElementById("desktop").inert), "nothing answers until the program runs");
  letGo();
  await page.waitFor(control("Option1"));
  assert.ok(!(await page.evaluate(() => document.getElementById("desktop").inert)));
  await deal(page, "Option1");
  await typeGuess(page, ["9", "9", "9", "9"]);
  await page.click(control("Command1"));
  await box(page, "You got");
});

test("the first screen is in the language the program chooses from the browser's, and stays when it comes", async (t) => {
  if (!engine.can.anyLanguages) return t.skip("the browser takes one language, its locale's");
  const { at, letGo } = await holdingBack(t, "numerak.js");
  // Portugal's Portuguese the game does not have (only Brazil's); Austria's German is German.
  const page = await open(t, { languages: ["pt-PT", "de-AT", "fr"] }, at);
  await box(page, "Bitte wählen Sie");
  await page.evaluate(() => (document.querySelector("dialog.box[open]").drawnFirst = true));
  letGo();
  await page.until(() => performance.getEntriesByName("numerak:running").length > 0);
  assert.ok(await page.evaluate(() => document.querySelector("dialog.box[open]")?.drawnFirst === true),
            "the program took the box over rather than drawing its own");
  assert.equal(await page.count("dialog.box"), 1);
});

test("a first screen that is not the program's gives way to what the program draws", async (t) => {
  const at = await changedSite(t, (folder) => {
    const index = join(folder, "index.html");
    writeFileSync(index, readFileSync(index, "utf8").replace("Please choose your preferred", "Something else, then"));
  });
  const page = await open(t, {}, at);
  await box(page, "Please choose your preferred");
  assert.equal(await page.count("dialog.box"), 1, "one opening message");
  await page.press("Enter");
  await page.waitFor(control("Option1"));
});

test("the page runs its own code only: its policy is strict, and a script put into it is refused", async (t) => {
  const page = await opened(t);
  const policy = await page.attribute('meta[http-equiv="Content-Security-Policy"]', "content");
  assert.match(policy, /default-src 'self'; script-src 'self' 'wasm-unsafe-eval' 'sha256-/);
  assert.match(policy, /object-src 'none'; base-uri 'none'; form-action 'none'/);
  assert.doesNotMatch(policy, /'unsafe-inline'|'unsafe-eval'|\*|data:/);
  const ran = await page.evaluate(() => {
    const script = document.createElement("script");
    script.textContent = "window.injected = true";
    document.body.append(script);
    return window.injected === true;
  });
  assert.equal(ran, false, "a script put into the page");
  // Reported to the page, and by the browser in the console where the driver hears it.
  const refused = [];
  const reported = () =>
    refused.some((r) => /refused by the policy/.test(r)) && (!engine.can.console || refused.some((r) => /Content[- ]Security[- ]Policy/.test(r)));
  for (let wait = 0; !reported() && wait < 50; wait++) {
    await new Promise((done) => setTimeout(done, 100));
    refused.push(...(await page.refused()));
  }
  assert.ok(reported(), refused.join("\n"));
  assert.ok(refused.every((r) => /script-src/.test(r)), refused.join("\n"));
});

// A screen reader's own: what each box and control is named and described by is in the checks
// (checks.mjs).
test("the game window takes every key a screen reader would, and its labels keep quiet behind a box", async (t) => {
  const page = await started(t);
  if (engine.can.accessibilityTree || engine.can.roleAndName) {
    const heard = await page.heard("section.window");
    assert.deepEqual([heard?.role, heard?.name], ["application", "Numerak"], "the game window takes every key");
  }
  await deal(page, "Option2");
  // Behind a box the labels keep quiet, or the page's return would be read as their change.
  await page.click(control("Command1"));
  await page.until(() => document.activeElement?.matches("dialog.box[open]"));
  assert.equal(await page.attribute(control("Label1"), "aria-live"), "off");
  await page.press("Enter");
  await page.until((s) => document.querySelector(s).ariaLive === "polite", control("Label1"));
});

// More contrast asked for by the page's own rule is in the checks; a high-contrast theme on
// Windows also forces the browser's colours onto the page.
test("forced colours repaint the coloured controls too", async (t) => {
  if (!engine.can.contrast) return t.skip("the driver cannot ask for forced colours");
  const page = await started(t);
  await page.driver.page.emulateMedia({ forcedColors: "active" });
  const colours = await page.evaluate((s) => [getComputedStyle(document.querySelector(s)).color, getComputedStyle(document.querySelector(s)).backgroundColor],
                                      control("lblNew"));
  assert.notDeepEqual(colours, ["rgb(0, 0, 0)", "rgb(0, 255, 0)"]);
});

// A colour as the browser paints it at a point of the page: the screenshot's one pixel, read from
// its PNG (8 bits a channel; in the one row, the pixel's bytes are as they are after any filter).
async function paintedAt(page, x, y) {
  const png = await page.screenshot({ clip: { x, y, width: 1, height: 1 } });
  assert.equal(png[24], 8, "8 bits a channel");
  assert.ok(png[25] === 2 || png[25] === 6, "RGB or RGBA");
  const data = [];
  for (let at = 8; at < png.length; at += 12 + png.readUInt32BE(at))
    if (png.toString("latin1", at + 4, at + 8) === "IDAT") data.push(png.subarray(at + 8, at + 8 + png.readUInt32BE(at)));
  return Array.from(inflateSync(Buffer.concat(data)).subarray(1, 4));
}

test("the browser's automatic dark mode leaves the designed colours as they are", async (t) => {
  // Chrome's "dark theme for sites", on a system that prefers dark; the other engines have none.
  if (engineName !== "chromium") return t.skip("Chromium's own");
  const { chromium, launchOptions } = await import("./chromium.mjs");
  const dark = await chromium.launch({ ...launchOptions, args: [...launchOptions.args, "--enable-features=WebContentsForceDark"] });
  t.after(() => dark.close());
  const page = await dark.newPage({ viewport: { width: 1280, height: 800 }, colorScheme: "dark" });
  await page.goto(url);
  await page.locator("dialog.box[open] .box-text", { hasText: "Please choose" }).waitFor();
  await page.keyboard.press("Enter");
  await page.locator("dialog.box[open]").waitFor({ state: "detached" });
  const face = await page.locator(control("Text1")).boundingBox();
  assert.deepEqual(await paintedAt(page, face.x + face.width / 2, face.y + face.height / 2), [227, 227, 227]);
  const option = await page.locator(control("Option1")).boundingBox();
  assert.deepEqual(await paintedAt(page, option.x + option.width - 3, option.y + option.height - 2), [255, 255, 0]);
});

// What does not show whole in the open windows: controls whose text overflows their box.
const misfits = (page) =>
  page.evaluate(() =>
    [...document.querySelectorAll(".window:not([hidden]) [data-name]")]
      .filter((e) => e.offsetParent !== null && e.textContent.trim() !== "")
      .filter((e) => e.scrollWidth > e.clientWidth + 1 || e.scrollHeight > e.clientHeight + 1)
      .map((e) => `${e.dataset.name}: ${e.textContent.trim()}`)
  );

// Every window of a language the page is in, at each size: what does not fit there.
async function misfitsOf(page, language) {
  const found = [];
  for (const [width, height] of [[1280, 800], [phone.width, phone.height]]) {
    await page.resize(width, height);
    await page.goto(url);
    await page.waitFor("dialog.box[open]");
    await page.until((l) => document.documentElement.lang === l, language); // the program's choice
    await page.press("Enter");
    await page.waitFor(control("Option1"));
    const at = (list) => list.map((m) => `${width}x${height} ${m}`);
    found.push(...at(await misfits(page))); // the difficulty panel up
    await deal(page, "Option1"); // the range written into Label1
    found.push(...at(await misfits(page)));
    await page.click(".menubar > .menu:nth-child(5)"); // Help, whatever it is called
    await page.click(".menubar .menu-list:last-child .menu-item:last-child"); // About
    await page.waitFor('dialog.window[open] [data-name="lblVersion"]');
    found.push(...at(await misfits(page)));
  }
  return found;
}

test("every caption fits its designed box in every language, on a desktop and a phone, and the test language is caught", async (t) => {
  // The languages the site carries: its first screen is recorded in each.
  const first = await open(t);
  const languages = await first.evaluate(() => Object.keys(JSON.parse(document.getElementById("first-screen").textContent).screens));
  await done(first);
  assert.ok(languages.includes("en") && languages.length > 1, languages.join(" "));
  for (const language of languages) {
    const page = await open(t, { languages: [language] }, null);
    assert.deepEqual(await misfitsOf(page, language), [], `${language}: cut off`);
    await done(page);
  }
  // No browser knows the test language, a third longer: only a list of languages can name it.
  if (!engine.can.anyLanguages) return;
  const pseudo = await open(t, { languages: ["qps"] }, null);
  assert.ok((await misfitsOf(pseudo, "qps")).length > 0, "the test language, a third longer, fits everywhere");
});

test("in Russian, Alt with the key that types a button's Cyrillic access key presses it", async (t) => {
  const page = await open(t, { languages: ["ru-RU"] });
  await box(page, "Выберите сложность");
  await page.press("Enter");
  await page.waitFor(control("Option1"));
  // A Russian keyboard: the D key types "в", the access key of "&Выход" (Quit).
  await page.evaluate(() =>
    document.activeElement.dispatchEvent(new KeyboardEvent("keydown", { code: "KeyD", key: "в", altKey: true, bubbles: true, cancelable: true }))
  );
  const b = await box(page, "Вы действительно хотите выйти?");
  assert.equal(b.title, "Вы уверены?");
});
