// firefox.mjs: Debian's Firefox ESR, headless, driven over WebDriver BiDi by puppeteer-core from
// this folder's lockfile, for the browser tests (browser.mjs). NUMERAK_FIREFOX names another
// browser than the one on the PATH.
import puppeteer from "puppeteer-core";
import { known, onPath } from "./chromium.mjs";

// Nothing but the loopback interface: every other host goes to a proxy that is not there, and
// nothing is fetched in the background.
const prefs = {
  "network.proxy.type": 1,
  "network.proxy.http": "127.0.0.1",
  "network.proxy.http_port": 9,
  "network.proxy.ssl": "127.0.0.1",
  "network.proxy.ssl_port": 9,
  "network.proxy.no_proxies_on": "127.0.0.1",
  "network.captive-portal-service.enabled": false,
  "network.connectivity-service.enabled": false,
  "network.dns.disablePrefetch": true,
  "network.trr.mode": 5,
  "dom.push.connection.enabled": false,
};

const policyWatch = () =>
  addEventListener("securitypolicyviolation", (e) => console.error(`refused by the policy: ${e.effectiveDirective} ${e.blockedURI}`));
const policyWords = /refused by the policy|Content[- ]Security[- ]Policy/i;

export async function launch() {
  const browser = await puppeteer.launch({
    browser: "firefox",
    executablePath: process.env.NUMERAK_FIREFOX || onPath(["firefox-esr", "firefox"], "firefox-esr"),
    headless: true,
    extraPrefsFirefox: prefs,
  });
  return {
    can: {
      // The driver finds elements by role and name, but reads neither, nor a description.
      accessibilityTree: false,
      // Neither more contrast nor forced colours can be asked for over WebDriver BiDi.
      contrast: false,
      anyLanguages: true,
      // Firefox counts a double-click's clicks itself.
      secondClick: false,
      installing: false, // Firefox installs no web apps
      console: true,
    },
    open: (options) => open(browser, options),
    close: () => browser.close(),
  };
}

async function open(browser, { width, height, touch = false, languages }) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  const browsingContext = page.mainFrame().browsingContext;
  await page.setViewport({ width, height, hasTouch: touch });
  if (known(languages?.[0]))
    await browsingContext.userContext.browser.session.send("emulation.setLocaleOverride", {
      locale: languages[0],
      contexts: [browsingContext.id],
    });
  if (languages && (languages.length > 1 || !known(languages[0])))
    await page.evaluateOnNewDocument((list) => Object.defineProperty(navigator, "languages", { get: () => list }), languages);
  await page.evaluateOnNewDocument(policyWatch);
  return driverOf(page, () => context.close(), touch, { front: page });
}

// A tab of the browser's, for the tests: closing the first closes its context. The player's keys
// and clicks go to the tab in front, as they do in Firefox.
function driverOf(page, close, touch, tabs) {
  const front = async () => {
    if (tabs.front !== page) await page.bringToFront();
    tabs.front = page;
  };
  const [errors, refused] = [[], []];
  // The browser reports what the policy refused as an error of the page.
  page.on("pageerror", (e) => (policyWords.test(e.message) ? refused : errors).push(e.message));
  page.on("console", (m) => policyWords.test(m.text()) && refused.push(m.text()));
  const drain = (list) => list.splice(0);
  return {
    page,
    goto: (url) => page.goto(url),
    reload: () => page.reload(),
    evaluate: (fn, args) => page.evaluate(`(${fn})(...${JSON.stringify(args)})`),
    press: async (key) => {
      await front();
      const keys = key.split("+").map((k) => (k === "Space" ? " " : k));
      for (const k of keys.slice(0, -1)) await page.keyboard.down(k);
      await page.keyboard.press(keys.at(-1));
      for (const k of keys.slice(0, -1).reverse()) await page.keyboard.up(k);
    },
    type: async (text) => (await front(), page.keyboard.type(text)),
    click: async (x, y, { touch: tap }) => (await front(), tap ? page.touchscreen.tap(x, y) : page.mouse.click(x, y)),
    screenshot: (path) => page.screenshot({ path }),
    resize: (w, h) => page.setViewport({ width: w, height: h, hasTouch: touch }),
    errors: () => drain(errors),
    refused: () => drain(refused),
    another: async () => {
      const other = await page.browserContext().newPage();
      await other.evaluateOnNewDocument(policyWatch);
      tabs.front = other;
      return driverOf(other, () => other.close(), false, tabs);
    },
    close,
  };
}
