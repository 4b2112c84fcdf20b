// A whole game of Numerak in a real browser, through real clicks, taps and keys: Debian's
// Chromium, headless, driven by playwright-core, the site served on the loopback interface.
//   node tests/web/play.mjs <site folder> <version> [screenshot folder]
// Then the same page in a phone's width, and a reload with the network off.
import { mkdtemp, rm } from "node:fs/promises";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { chromium, launchOptions } from "./chromium.mjs";
import { serve } from "../../scripts/serve.mjs";

const [site, version, shots] = process.argv.slice(2);
if (!site || !version) {
  console.error("usage: node play.mjs <site folder> <version> [screenshot folder]");
  process.exit(2);
}
const timeout = 10_000;
let wide = null; // the game window as a large screen shows it
let failures = 0;

function check(ok, what) {
  console.log(`${ok ? "ok  " : "FAIL"} ${what}`);
  if (!ok) failures++;
}

function same(got, wanted, what) {
  const ok = JSON.stringify(got) === JSON.stringify(wanted);
  check(ok, ok ? `${what}: ${JSON.stringify(got)}` : `${what}: ${JSON.stringify(got)}, wanted ${JSON.stringify(wanted)}`);
}

async function shot(page, name) {
  if (shots) await page.screenshot({ path: `${shots}/${name}.png` });
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

async function noBox(page) {
  await page.locator("dialog.box[open]").waitFor({ state: "detached", timeout });
}

const control = (page, name) => page.locator(`section.window [data-name="${name}"]`);
const caption = async (page, name) => (await control(page, name).textContent()) ?? "";

// By the names a screen reader gives the boxes, as on the desktop.
const boxNames = ["First number", "Second number", "Third number", "Fourth number"];
async function typeGuess(page, numbers) {
  for (let i = 0; i < 4; i++) await page.getByRole("textbox", { name: boxNames[i] }).fill(numbers[i]);
}

const server = await serve(site);
const url = `http://127.0.0.1:${server.address().port}/`;
const browser = await chromium.launch(launchOptions);

try {
  // A profile of its own, as a player's browser has: an incognito one cannot install apps.
  const profile = await mkdtemp(join(tmpdir(), "numerak-browser-"));
  const context = await chromium.launchPersistentContext(profile, {
    ...launchOptions,
    viewport: { width: 1280, height: 800 },
  });
  const page = context.pages()[0] || (await context.newPage());
  page.setDefaultTimeout(timeout);
  page.on("pageerror", (e) => check(false, `no error in the page: ${e.message}`));
  await page.goto(url);

  // The opening message, before the game window; Enter answers it.
  let b = await box(page, "Please choose");
  same([b.title, b.text, b.buttons], ["Select New game",
    "Please choose your preferred difficulty setting on the right.", ["OK"]], "the opening message");
  check(await page.locator("section.window").isHidden(), "the game window waits behind it");
  await shot(page, "opening-1280x800");
  await page.keyboard.press("Enter");
  await noBox(page);
  await control(page, "Option1").waitFor();
  check(await control(page, "Text1").evaluate((e) => e === document.activeElement), "the keyboard starts in Text1");
  wide = await page.locator("section.window").boundingBox();
  same(await page.locator(".menubar > .menu").allTextContents(), ["File", "Game", "Help"], "the menus");
  // Tab goes the design's way: the options are one stop, the labels none.
  const order = [];
  for (let i = 0; i < 10; i++) {
    order.push(await page.evaluate(() => document.activeElement.closest("[data-name]")?.dataset.name));
    await page.keyboard.press("Tab");
  }
  same(order, ["Text1", "Text2", "Text3", "Text4", "Command1", "Command2", "Command3", "Picture1", "Option1", "Command5"],
       "the tab order");

  // Easy, tapped, and Enter: the first deal is the desktop's, 2 2 3 3.
  await control(page, "Option1").click();
  await control(page, "Command5").click();
  await control(page, "Option1").waitFor({ state: "hidden" });
  same(await caption(page, "Label1"), "Please enter 4 numbers below. (1-5)", "Easy dealt");
  await shot(page, "easy-1280x800");

  // A wrong guess and its box. A click that comes while the box is up goes nowhere.
  await typeGuess(page, ["9", "9", "9", "9"]);
  await control(page, "Command1").click();
  b = await box(page, "You got");
  same([b.title, b.text, b.buttons], ["sorry", "You got 0 out of four, do you want to continue?", ["Yes", "No"]],
       "the sorry box");
  check(await page.getByRole("dialog", { name: "sorry" }).isVisible(), "a dialog a screen reader names by its title");
  await shot(page, "sorry-1280x800");
  await control(page, "Command1").evaluate((e) => e.click());
  same(await page.locator("dialog.box[open]").count(), 1, "a programmatic click behind the box does nothing");

  // No, then No to the quit question (Esc answers No): the game goes on.
  await b.dialog.getByRole("button", { name: "No" }).click();
  b = await box(page, "Are you sure you want to quit?");
  same([b.title, b.buttons], ["Are you sure?", ["Yes", "No"]], "the quit question");
  await page.keyboard.press("Escape");
  await noBox(page);
  check(await control(page, "Command1").isVisible(), "the game goes on");

  // The right numbers win; Yes deals again from the difficulty panel.
  await typeGuess(page, ["2", "2", "3", "3"]);
  await page.keyboard.press("Alt+KeyG");
  b = await box(page, "You done it");
  same([b.title, b.text], ["well done", "You done it! Would you like to play again?"], "a win with the desktop's deal");
  await b.dialog.getByRole("button", { name: "Yes" }).click();
  await noBox(page);
  same(await caption(page, "Label1"), "Please enter 4 numbers below (0-5)", "the board reset after the win");

  // Custom with the keyboard alone, one turn; the next guess is out of turns.
  await control(page, "Option4").click();
  await control(page, "Command5").focus();
  await page.keyboard.press("Space");
  b = await box(page, "How many turns");
  same(b.title, "Turns", "the turns question");
  await page.keyboard.type("1");
  await page.keyboard.press("Enter");
  b = await box(page, "What is the highest");
  same(b.title, "Number", "the highest-number question");
  await page.keyboard.type("5");
  await page.keyboard.press("Enter");
  await noBox(page);
  await control(page, "Command1").click();
  b = await box(page, "out of turns");
  same([b.title, b.text], ["out of turns", "Sorry you are out of turns, would you like to go again?"],
       "the out-of-turns question");
  await b.dialog.getByRole("button", { name: "Yes" }).click();
  await noBox(page);
  check(await control(page, "Option1").isVisible(), "the difficulty panel is back");

  // Help > About: modal, light green; System Info is unavailable in a browser; Esc closes.
  await page.locator(".menubar > .menu", { hasText: "Help" }).click();
  await page.getByRole("menuitem", { name: "About" }).click();
  const about = page.locator("dialog.window[open]");
  await about.waitFor();
  same(await about.locator(".title").textContent(), "About Numerak", "the About window");
  same(await about.locator('[data-name="lblVersion"]').textContent(), `Version ${version}`, "its version");
  same(await about.locator(".client").evaluate((e) => getComputedStyle(e).backgroundColor), "rgb(192, 255, 192)",
       "its colour");
  await shot(page, "about-1280x800");
  await about.locator('[data-name="cmdSysInfo"]').click();
  b = await box(page, "System Information");
  same([b.title, b.text, b.buttons], ["Numerak", "System Information Is Unavailable At This Time", ["OK"]],
       "System Info in a browser");
  await page.keyboard.press("Enter");
  await noBox(page);
  check(await about.isVisible(), "the About window stays open");
  await page.keyboard.press("Escape");
  await about.waitFor({ state: "detached" });

  // Installable, and kept for playing offline: the reload with the network off starts the game.
  const cdp = await context.newCDPSession(page);
  same((await cdp.send("Page.getInstallabilityErrors")).installabilityErrors, [], "a browser can install it");
  await page.evaluate(() => navigator.serviceWorker.ready);
  await context.setOffline(true);
  await page.reload();
  b = await box(page, "Please choose");
  check(true, "with the network off, a reload starts the game again");
  await page.keyboard.press("Enter");
  await context.setOffline(false);

  // Quit (Alt+Q), Yes: the game ends the way a page can.
  await page.keyboard.press("Alt+KeyQ");
  b = await box(page, "Are you sure you want to quit?");
  await b.dialog.getByRole("button", { name: "Yes" }).click();
  await page.locator(".ended", { hasText: "Numerak has ended." }).waitFor();
  check(await page.getByRole("button", { name: "Play again" }).isVisible(), "the game ends, with a way to start again");
  await context.close();
  await rm(profile, { recursive: true, force: true });

  // On a phone: the window scales down as a whole, its proportions kept.
  const phone = await browser.newContext({ viewport: { width: 390, height: 844 }, hasTouch: true, isMobile: true });
  const small = await phone.newPage();
  small.setDefaultTimeout(timeout);
  await small.goto(url);
  await box(small, "Please choose");
  await shot(small, "opening-390x844");
  await small.locator("dialog.box[open] button").tap();
  const frame = await small.locator("section.window").boundingBox();
  check(frame.x >= 0 && frame.x + frame.width <= 390, `the window fits 390 pixels: ${Math.round(frame.width)} wide`);
  const ratio = frame.width / frame.height;
  check(Math.abs(ratio / (wide.width / wide.height) - 1) < 0.01, `its proportions kept: ${ratio.toFixed(3)}`);
  check(Math.abs(wide.width - 441) <= 1, `at its designed size on a large screen: ${Math.round(wide.width)} wide`);
  await control(small, "Option1").tap();
  await control(small, "Command5").tap();
  await control(small, "Option1").waitFor({ state: "hidden" });
  await shot(small, "easy-390x844");
  await typeGuess(small, ["9", "9", "9", "9"]);
  await control(small, "Command1").tap();
  await box(small, "You got 0");
  await shot(small, "sorry-390x844");
  await small.locator("dialog.box[open] button", { hasText: "Yes" }).tap();
  await noBox(small);
  await small.locator(".menubar > .menu", { hasText: "Help" }).tap();
  await small.getByRole("menuitem", { name: "About" }).tap();
  const aboutSmall = await small.locator("dialog.window[open]").boundingBox();
  check(aboutSmall.x >= 0 && aboutSmall.x + aboutSmall.width <= 390, "the About window fits too");
  await shot(small, "about-390x844");
  await phone.close();
} catch (e) {
  check(false, `the game played through: ${e.message}`);
} finally {
  await browser.close();
  server.close();
}
console.log(failures ? `${failures} checks failed` : "every check passed");
process.exit(failures ? 1 : 0);
