// Numerak in a real browser, through real clicks, taps and keys: Debian's Chromium, headless,
// driven by playwright-core, the site served on the loopback interface. Each test starts the game
// afresh, so that one that fails stops none of the others.
//   node tests/web/play.mjs <site folder> [screenshot folder]
import assert from "node:assert/strict";
import { mkdtemp, rm } from "node:fs/promises";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, before, test } from "node:test";
import { inflateSync } from "node:zlib";
import { chromium, launchOptions, siteInBrowser } from "./chromium.mjs";

const [site, shots] = process.argv.slice(2);
if (!site) {
  console.error("usage: node play.mjs <site folder> [screenshot folder]");
  process.exit(2);
}
const timeout = 10_000;
const designedWidth = 441; // the game window on a large screen, frame included
let url, browser, close;
before(async () => ({ url, browser, close } = await siteInBrowser(site)));
after(() => close?.());

async function shot(page, name) {
  if (shots) await page.screenshot({ path: `${shots}/${name}.png` });
}

// Anything the page's Content-Security-Policy refuses fails the test: what the page reports of it,
// and what the browser writes to the console.
async function policed(t, page) {
  const refused = [];
  await page.addInitScript(() =>
    addEventListener("securitypolicyviolation", (e) => console.error(`refused by the policy: ${e.effectiveDirective} ${e.blockedURI}`))
  );
  page.on("console", (m) => /refused by the policy|Content Security Policy/i.test(m.text()) && refused.push(m.text()));
  t.after(() => assert.deepEqual(refused, [], "refused by the page's policy"));
  return refused;
}

// A page of its own at the opening message; an error in the page, or anything its policy
// refuses, fails the test that made it.
async function open(t, options = { viewport: { width: 1280, height: 800 } }) {
  const context = await browser.newContext(options);
  t.after(() => context.close());
  const page = await context.newPage();
  page.setDefaultTimeout(timeout);
  const errors = [];
  page.on("pageerror", (e) => errors.push(e.message));
  t.after(() => assert.deepEqual(errors, [], "errors in the page"));
  await policed(t, page);
  await page.goto(url);
  await box(page, "Please choose");
  return page;
}

// The same, past the opening message, with the game window up.
async function started(t, options) {
  const page = await open(t, options);
  await page.keyboard.press("Enter");
  await noBox(page);
  await control(page, "Option1").waitFor();
  return page;
}

// The box that is up, once it says what it should: its title, text and buttons.
async function box(page, text) {
  const dialog = page.locator("dialog.box[open]").last();
  await dialog.locator(".box-text", { hasText: text }).waitFor({ timeout });
  return {
    dialog,
    title: await dialog.locator(".title").textContent(),
    text: await dialog.locator(".box-text").textContent(),
    buttons: await dialog.locator(".box-buttons button").allTextContents(),
  };
}

// A player's click on a box's button, as soon as the box is up.
async function press(b, name) {
  await b.dialog.getByRole("button", { name }).click();
}

async function noBox(page) {
  await page.locator("dialog.box[open]").waitFor({ state: "detached", timeout });
}

const control = (page, name) => page.locator(`section.window [data-name="${name}"]`);

// By the names a screen reader gives the boxes, as on the desktop.
const boxNames = ["First number", "Second number", "Third number", "Fourth number"];
async function typeGuess(page, numbers) {
  for (let i = 0; i < 4; i++) await page.getByRole("textbox", { name: boxNames[i] }).fill(numbers[i]);
}

async function deal(page, option) {
  await control(page, option).click();
  await control(page, "Command5").click();
  await control(page, option).waitFor({ state: "hidden" });
}

// What every front end shows, the browser too, is played by checks.mjs; here is what is the site's own.

test("the opening message comes before the game window, which has a menu bar and its designed size", async (t) => {
  const page = await open(t);
  assert.ok(await page.locator("section.window").isHidden(), "the game window waits behind it");
  await shot(page, "opening-1280x800");
  await page.keyboard.press("Enter");
  await noBox(page);
  await control(page, "Option1").waitFor();
  assert.deepEqual(await page.locator(".menubar > .menu").allTextContents(), ["File", "Game", "Help"]);
  const frame = await page.locator("section.window").boundingBox();
  assert.ok(Math.abs(frame.width - designedWidth) <= 1, `at its designed size: ${frame.width} wide`);
});

test("a click a script makes behind a box does nothing, and Esc answers No", async (t) => {
  const page = await started(t);
  await deal(page, "Option1");
  await shot(page, "easy-1280x800");
  await typeGuess(page, ["9", "9", "9", "9"]);
  await control(page, "Command1").click();
  await box(page, "You got");
  await shot(page, "sorry-1280x800");
  await control(page, "Command1").evaluate((e) => e.click());
  assert.equal(await page.locator("dialog.box[open]").count(), 1, "a programmatic click behind the box");
  await page.keyboard.press("Escape"); // No
  await box(page, "Are you sure you want to quit?");
  await page.keyboard.press("Escape"); // No
  await noBox(page);
  assert.ok(await control(page, "Command1").isVisible(), "the game goes on");
});

test("About opens from the menu bar as a modal window on light green", async (t) => {
  const page = await started(t);
  await page.locator(".menubar > .menu", { hasText: "Help" }).click();
  await page.getByRole("menuitem", { name: "About" }).click();
  const about = page.locator("dialog.window[open]");
  await about.waitFor();
  assert.equal(await about.locator(".title").textContent(), "About Numerak");
  assert.equal(await about.locator(".client").evaluate((e) => getComputedStyle(e).backgroundColor), "rgb(192, 255, 192)");
  await shot(page, "about-1280x800");
  await page.keyboard.press("Escape");
  await about.waitFor({ state: "detached" });
});

test("a browser can install it, and with the network off a reload starts the game", async (t) => {
  // A profile of its own, as a player's browser has: an incognito one cannot install apps.
  const profile = await mkdtemp(join(tmpdir(), "numerak-browser-"));
  const context = await chromium.launchPersistentContext(profile, { ...launchOptions, viewport: { width: 1280, height: 800 } });
  t.after(async () => {
    await context.close();
    await rm(profile, { recursive: true, force: true });
  });
  const page = context.pages()[0] || (await context.newPage());
  page.setDefaultTimeout(timeout);
  await page.goto(url);
  await box(page, "Please choose");
  const cdp = await context.newCDPSession(page);
  assert.deepEqual((await cdp.send("Page.getInstallabilityErrors")).installabilityErrors, []);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await context.setOffline(true);
  await page.reload();
  const b = await box(page, "Please choose");
  assert.equal(b.title, "Select New game");
});

test("Alt+Q and Yes end the game the way a page can, with a way to start again", async (t) => {
  const page = await started(t);
  await page.keyboard.press("Alt+KeyQ");
  const b = await box(page, "Are you sure you want to quit?");
  await press(b, "Yes");
  await page.locator(".ended", { hasText: "Numerak has ended." }).waitFor();
  assert.ok(await page.getByRole("button", { name: "Play again" }).isVisible());
});

test("quitting in German leaves no English word of the page's own on it", async (t) => {
  // What the page says of its own when the game has ended, and of itself, in a language.
  const ended = async (locale) => {
    const context = await browser.newContext({ locale, viewport: { width: 1280, height: 800 } });
    t.after(() => context.close());
    const page = await context.newPage();
    page.setDefaultTimeout(timeout);
    await page.goto(url);
    await page.locator("dialog.box[open]").waitFor();
    await page.keyboard.press("Enter");
    await control(page, "Option1").waitFor();
    await control(page, "Command3").click(); // Quit
    await page.locator("dialog.box[open] button").first().click(); // Yes
    await page.locator(".ended").waitFor();
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

test("on a phone the windows scale down whole, and play by tap", async (t) => {
  const phone = { viewport: { width: 390, height: 844 }, hasTouch: true, isMobile: true };
  const page = await open(t, phone);
  await shot(page, "opening-390x844");
  await page.keyboard.press("Enter");
  await noBox(page);
  const frame = await page.locator("section.window").boundingBox();
  assert.ok(frame.x >= 0 && frame.x + frame.width <= 390, `the window fits 390 pixels: ${frame.width} wide`);
  const wide = await (await started(t)).locator("section.window").boundingBox();
  const ratio = frame.width / frame.height;
  assert.ok(Math.abs(ratio / (wide.width / wide.height) - 1) < 0.01, `its proportions kept: ${ratio.toFixed(3)}`);
  await control(page, "Option1").tap();
  await control(page, "Command5").tap();
  await control(page, "Option1").waitFor({ state: "hidden" });
  await shot(page, "easy-390x844");
  await typeGuess(page, ["9", "9", "9", "9"]);
  await control(page, "Command1").tap();
  const sorry = await box(page, "You got 0");
  await shot(page, "sorry-390x844");
  await sorry.dialog.getByRole("button", { name: "Yes" }).tap();
  await noBox(page);
  await page.locator(".menubar > .menu", { hasText: "Help" }).tap();
  await page.getByRole("menuitem", { name: "About" }).tap();
  const about = await page.locator("dialog.window[open]").boundingBox();
  assert.ok(about.x >= 0 && about.x + about.width <= 390, "the About window fits too");
  await shot(page, "about-390x844");
});

test("a double-click answers one box, a quick single click the next", async (t) => {
  const page = await started(t);
  await deal(page, "Option1");
  await typeGuess(page, ["9", "9", "9", "9"]);
  await control(page, "Command1").click();
  await press(await box(page, "You got"), "No");
  const quit = await box(page, "Are you sure you want to quit?");
  // The second click of a double-click whose first answered the last box lands on this one.
  const yes = await quit.dialog.getByRole("button", { name: "Yes" }).boundingBox();
  await page.mouse.move(yes.x + yes.width / 2, yes.y + yes.height / 2);
  await page.mouse.down({ clickCount: 2 });
  await page.mouse.up({ clickCount: 2 });
  assert.ok(await quit.dialog.isVisible(), "the quit question is still asked");
  await press(quit, "No"); // at once: a single click answers
  await noBox(page);
  assert.ok(await control(page, "Command1").isVisible(), "the game goes on");
  // A single click the moment a box is up is its answer.
  await control(page, "Command1").click();
  await press(await box(page, "You got"), "Yes");
  await noBox(page);
  assert.ok(await control(page, "Command1").isVisible(), "the game goes on after Yes");
});

test("the number boxes offer a phone's number keys and take what the desktop takes", async (t) => {
  const page = await started(t);
  for (const name of boxNames)
    assert.equal(await page.getByRole("textbox", { name }).getAttribute("inputmode"), "numeric", name);
  await deal(page, "Option1"); // 2 2 3 3, as on the desktop
  await typeGuess(page, [" 2 ", "2.0", "+3", "3"]);
  await control(page, "Command1").click();
  assert.equal((await box(page, "You done it")).title, "well done");
});

test("a window the phone's turn would cut off is moved back whole onto the screen", async (t) => {
  const page = await started(t, { viewport: { width: 844, height: 390 }, hasTouch: true, isMobile: true });
  await page.locator(".menubar > .menu", { hasText: "Help" }).tap();
  await page.getByRole("menuitem", { name: "About" }).tap();
  const about = page.locator("dialog.window[open]");
  await about.waitFor();
  await page.setViewportSize({ width: 390, height: 844 });
  await page.waitForFunction(() => {
    const r = document.querySelector("dialog.window[open]").getBoundingClientRect();
    return r.left >= 0 && r.top >= 0 && r.right <= innerWidth && r.bottom <= innerHeight;
  });
  const ok = await about.locator('[data-name="cmdOK"]').boundingBox();
  assert.ok(ok.y + ok.height <= 844 && ok.x + ok.width <= 390, "OK is on the screen");
  const close = await about.locator(".close").boundingBox();
  assert.ok(close.x >= 0 && close.x + close.width <= 390, "and so is the close box");
});

test("a page whose program cannot be loaded says so in plain words, with a reload", async (t) => {
  const context = await browser.newContext();
  t.after(() => context.close());
  const page = await context.newPage();
  await page.route("**/numerak.wasm", (route) => route.abort());
  await page.goto(url);
  const note = page.locator(".ended");
  await note.waitFor();
  assert.match(await note.textContent(), /Numerak could not be loaded\. Check the connection, then reload the page\./);
  assert.doesNotMatch(await note.textContent(), /TypeError|Error/);
  assert.equal(await page.locator("dialog[open]").count(), 0, "the opening message the page drew is gone");
  assert.ok(await note.getByRole("button", { name: "Reload" }).evaluate((b) => b === document.activeElement));
});

// The page draws the opening message before the program has loaded; the program takes it over.
test("the opening message answered before the program has loaded: the game goes on from there", async (t) => {
  const context = await browser.newContext();
  t.after(() => context.close());
  const page = await context.newPage();
  page.setDefaultTimeout(timeout);
  await policed(t, page);
  let loadProgram;
  const held = new Promise((resolve) => (loadProgram = resolve));
  await page.route("**/numerak.js", async (route) => (await held, route.continue()));
  await page.goto(url);
  await box(page, "Please choose");
  // In the designed font, which the page carries: the fonts the browser drew the text with.
  const cdp = await context.newCDPSession(page);
  await cdp.send("DOM.enable");
  await cdp.send("CSS.enable");
  const { root } = await cdp.send("DOM.getDocument");
  const { nodeId } = await cdp.send("DOM.querySelector", { nodeId: root.nodeId, selector: "#box-text" });
  const { fonts } = await cdp.send("CSS.getPlatformFontsForNode", { nodeId });
  assert.deepEqual(fonts.map((f) => f.familyName), ["Numerak Sans"]);
  await page.keyboard.press("Enter");
  await noBox(page);
  assert.ok(await page.locator("#desktop").evaluate((d) => d.inert), "nothing answers until the program runs");
  loadProgram();
  await control(page, "Option1").waitFor();
  assert.ok(!(await page.locator("#desktop").evaluate((d) => d.inert)));
  await deal(page, "Option1");
  await typeGuess(page, ["9", "9", "9", "9"]);
  await control(page, "Command1").click();
  await box(page, "You got");
});

test("the first screen is in the language the program chooses from the browser's, and stays when it comes", async (t) => {
  const context = await browser.newContext();
  t.after(() => context.close());
  const page = await context.newPage();
  page.setDefaultTimeout(timeout);
  // Portugal's Portuguese the game does not have (only Brazil's); Austria's German is German.
  await page.addInitScript(() => Object.defineProperty(navigator, "languages", { get: () => ["pt-PT", "de-AT", "fr"] }));
  let loadProgram;
  const held = new Promise((resolve) => (loadProgram = resolve));
  await page.route("**/numerak.js", async (route) => (await held, route.continue()));
  await page.goto(url);
  await box(page, "Bitte wählen Sie");
  const drawn = await page.locator("dialog.box[open]").elementHandle();
  loadProgram();
  await page.waitForFunction(() => performance.getEntriesByName("numerak:running").length > 0);
  assert.ok(await drawn.evaluate((d) => d.isConnected && d.open), "the program took the box over rather than drawing its own");
  assert.equal(await page.locator("dialog.box").count(), 1);
});

test("a first screen that is not the program's gives way to what the program draws", async (t) => {
  const context = await browser.newContext();
  t.after(() => context.close());
  const page = await context.newPage();
  page.setDefaultTimeout(timeout);
  await page.route(url, async (route) => {
    const response = await route.fetch();
    const body = (await response.text()).replace("Please choose your preferred", "Something else, then");
    await route.fulfill({ response, body });
  });
  await page.goto(url);
  await box(page, "Please choose your preferred");
  assert.equal(await page.locator("dialog.box").count(), 1, "one opening message");
  await page.keyboard.press("Enter");
  await control(page, "Option1").waitFor();
});

test("the page runs its own code only: its policy is strict, and a script put into it is refused", async (t) => {
  const context = await browser.newContext();
  t.after(() => context.close());
  const page = await context.newPage();
  page.setDefaultTimeout(timeout);
  const refused = await policed(t, page);
  await page.goto(url);
  await box(page, "Please choose");
  const policy = await page.locator('meta[http-equiv="Content-Security-Policy"]').getAttribute("content");
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
  // Reported to the page, and by the browser in the console.
  const reported = () => refused.some((r) => /refused by the policy/.test(r)) && refused.some((r) => /Content Security Policy/.test(r));
  for (let wait = 0; !reported() && wait < 50; wait++) await page.waitForTimeout(100);
  assert.ok(reported(), refused.join("\n"));
  assert.ok(refused.splice(0).every((r) => /script-src/.test(r)));
});

// A screen reader's own: what each box and control is named and described by is in the checks
// (checks.mjs).
test("the game window takes every key a screen reader would, and its labels keep quiet behind a box", async (t) => {
  const page = await started(t);
  assert.ok(await page.getByRole("application", { name: "Numerak" }).isVisible(), "the game window takes every key");
  await deal(page, "Option2");
  // Behind a box the labels keep quiet, or the page's return would be read as their change.
  await control(page, "Command1").click();
  await page.waitForFunction(() => document.activeElement?.matches("dialog.box[open]"));
  assert.equal(await control(page, "Label1").getAttribute("aria-live"), "off");
  await page.keyboard.press("Enter");
  await page.waitForFunction(() => document.querySelector('section.window [data-name="Label1"]').ariaLive === "polite");
});

// More contrast asked for by the page's own rule is in the checks; a high-contrast theme on
// Windows also forces the browser's colours onto the page.
test("forced colours repaint the coloured controls too", async (t) => {
  const page = await started(t);
  await page.emulateMedia({ forcedColors: "active" });
  const colours = await control(page, "lblNew").evaluate((e) => [getComputedStyle(e).color, getComputedStyle(e).backgroundColor]);
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
  // Chrome's "dark theme for sites", on a system that prefers dark.
  const dark = await chromium.launch({ ...launchOptions, args: [...launchOptions.args, "--enable-features=WebContentsForceDark"] });
  t.after(() => dark.close());
  const page = await dark.newPage({ viewport: { width: 1280, height: 800 }, colorScheme: "dark" });
  await page.goto(url);
  await box(page, "Please choose");
  await page.keyboard.press("Enter");
  await noBox(page);
  const face = await control(page, "Text1").boundingBox();
  assert.deepEqual(await paintedAt(page, face.x + face.width / 2, face.y + face.height / 2), [227, 227, 227]);
  const option = await control(page, "Option1").boundingBox();
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

test("every caption fits its designed box in every language, and the test language is caught", async (t) => {
  // The languages the site carries: its first screen is recorded in each.
  const first = await browser.newPage();
  await first.goto(url);
  const languages = await first.locator("#first-screen").evaluate((e) => Object.keys(JSON.parse(e.textContent).screens));
  await first.close();
  assert.ok(languages.includes("en") && languages.length > 1, languages.join(" "));
  for (const locale of [...languages.map((l) => l.replace("_", "-")), "qps"]) {
    const pseudo = locale === "qps"; // no browser knows it: its list of languages says it
    const context = await browser.newContext({ locale: pseudo ? "en" : locale, viewport: { width: 1280, height: 800 } });
    t.after(() => context.close());
    const page = await context.newPage();
    page.setDefaultTimeout(timeout);
    if (pseudo) await page.addInitScript(() => Object.defineProperty(navigator, "languages", { get: () => ["qps"] }));
    await page.goto(url);
    await page.locator("dialog.box[open]").waitFor();
    await page.waitForFunction((l) => document.documentElement.lang === l, pseudo ? "qps" : locale); // the program's choice
    await page.keyboard.press("Enter");
    await control(page, "Option1").waitFor();
    const found = await misfits(page); // the difficulty panel up
    await deal(page, "Option1"); // the range written into Label1
    found.push(...(await misfits(page)));
    await page.locator(".menubar > .menu").nth(2).click();
    await page.locator(".menubar [role=menuitem]").last().click();
    await page.locator('dialog.window[open] [data-name="lblVersion"]').waitFor();
    found.push(...(await misfits(page)));
    if (locale === "qps") assert.ok(found.length > 0, "the test language, a third longer, fits everywhere");
    else assert.deepEqual(found, [], `${locale}: cut off`);
    await context.close();
  }
});


test("in Russian, Alt with the key that types a button's Cyrillic access key presses it", async (t) => {
  const context = await browser.newContext({ locale: "ru-RU", viewport: { width: 1280, height: 800 } });
  t.after(() => context.close());
  const page = await context.newPage();
  page.setDefaultTimeout(timeout);
  await page.goto(url);
  await box(page, "Выберите сложность");
  await page.keyboard.press("Enter");
  await control(page, "Option1").waitFor();
  // A Russian keyboard: the D key types "в", the access key of "&Выход" (Quit).
  await page.locator(":focus").evaluate((e) =>
    e.dispatchEvent(new KeyboardEvent("keydown", { code: "KeyD", key: "в", altKey: true, bubbles: true, cancelable: true }))
  );
  const b = await box(page, "Вы действительно хотите выйти?");
  assert.equal(b.title, "Вы уверены?");
});
