// chromium.mjs: Debian's Chromium, headless, as the browser tests and the start-up benchmark start
// it, with playwright-core from this folder's lockfile. The browser is found on the PATH
// (NUMERAK_CHROMIUM names another); the flags keep it from calling home on a machine whose
// network is closed.
import { accessSync, constants } from "node:fs";
import { mkdtemp, rm } from "node:fs/promises";
import { tmpdir } from "node:os";
import { delimiter, join } from "node:path";

import { chromium } from "playwright-core";

export { chromium };

export function onPath(names, packageName) {
  for (const folder of (process.env.PATH || "").split(delimiter))
    for (const name of names) {
      try {
        accessSync(join(folder, name), constants.X_OK);
        return join(folder, name);
      } catch {
        // not here
      }
    }
  throw new Error(`no ${names.join(" or ")} on the PATH: install Debian's ${packageName}`);
}

export const launchOptions = {
  executablePath: process.env.NUMERAK_CHROMIUM || onPath(["chromium", "chromium-browser"], "chromium"),
  args: ["--disable-gpu", "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--no-first-run", "--disable-quic"],
};

// What the page reports its policy refusing, and what the browser writes of it to the console.
const policyWatch = () =>
  addEventListener("securitypolicyviolation", (e) => console.error(`refused by the policy: ${e.effectiveDirective} ${e.blockedURI}`));
const policyWords = /refused by the policy|Content Security Policy/i;

// A language the browser can be set to as a whole (the test language no browser knows is only
// in the list of the player's languages).
export const known = (language) => (language && Intl.DateTimeFormat.supportedLocalesOf(language).length ? language : undefined);

// The browser for the tests (browser.mjs): each page in a context of its own, as a fresh profile.
export async function launch() {
  const browser = await chromium.launch(launchOptions);
  return {
    can: {
      accessibilityTree: true, // what a screen reader hears, from Chromium's own tree
      contrast: true, // more contrast and forced colours asked for, as a system would
      anyLanguages: true, // a player's list of languages, best first, whatever they are
      secondClick: true, // the second click of a double-click sent by itself
      installing: true, // whether the browser would install the site as an app
      console: true, // what the browser itself writes to the console
      fontsDrawn: true, // the fonts the browser drew a text with
    },
    open: (options) => open(browser, options),
    close: () => browser.close(),
  };
}

async function open(browser, { width, height, touch = false, languages, profile = false }) {
  const contextOptions = { viewport: { width, height }, hasTouch: touch, isMobile: touch, locale: known(languages?.[0]) };
  // A profile of its own on disk, as a player's browser has, where a test needs one: an incognito
  // context cannot install apps.
  const folder = profile ? await mkdtemp(join(tmpdir(), "numerak-chromium-")) : null;
  const context = folder
    ? await chromium.launchPersistentContext(folder, { ...launchOptions, ...contextOptions })
    : await browser.newContext(contextOptions);
  if (languages && (languages.length > 1 || !known(languages[0])))
    await context.addInitScript((list) => Object.defineProperty(navigator, "languages", { get: () => list }), languages);
  await context.addInitScript(policyWatch);
  return driverOf(context.pages()[0] || (await context.newPage()), async () => {
    await context.close();
    if (folder) await rm(folder, { recursive: true, force: true });
  });
}

// A tab of the browser's, for the tests: closing the first closes its context.
function driverOf(page, close) {
  const [errors, refused] = [[], []];
  page.on("pageerror", (e) => errors.push(e.message));
  page.on("console", (m) => policyWords.test(m.text()) && refused.push(m.text()));
  const drain = (list) => list.splice(0);
  return {
    page, // playwright's, for what only Chromium is asked
    goto: (url) => page.goto(url),
    reload: () => page.reload(),
    evaluate: (fn, args) => page.evaluate(`(${fn})(...${JSON.stringify(args)})`),
    press: (key) => page.keyboard.press(key),
    type: (text) => page.keyboard.type(text),
    click: (x, y, { touch: tap }) => (tap ? page.touchscreen.tap(x, y) : page.mouse.click(x, y)),
    screenshot: (path) => page.screenshot({ path }),
    resize: (w, h) => page.setViewportSize({ width: w, height: h }),
    errors: () => drain(errors),
    refused: () => drain(refused),
    heard: (selector) => heard(page, selector),
    another: async () => driverOf(await page.context().newPage(), () => {}),
    close,
  };
}

// What a screen reader hears of the first element a selector finds, from Chromium's accessibility
// tree: its role, name, description, whether it is in the tree and what is inside it (a label's
// name is its text). Null where the tree has nothing of it.
async function heard(page, selector) {
  const cdp = (page.cdp ??= await page.context().newCDPSession(page));
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
