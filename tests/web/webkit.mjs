// webkit.mjs: Debian's WebKitGTK, its MiniBrowser driven over WebDriver by its WebKitWebDriver
// (webkit2gtk-driver), with selenium-webdriver from this folder's lockfile, for the browser tests
// (browser.mjs). The GTK port has no headless mode: the browser runs on a virtual display (Xvfb)
// of its own. Each page is a browser of its own, with a profile of its own, in the language it is
// given, which WebKitGTK takes from the C library's locale: only from one that is generated
// (scripts/test-web.sh generates the site's).
import { execFileSync, spawn } from "node:child_process";
import { mkdtempSync, mkdirSync, rmSync, writeFileSync } from "node:fs";
import { createServer } from "node:net";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { Builder, By, Key } from "selenium-webdriver";
import { onPath } from "./chromium.mjs";

const driverProgram = onPath(["WebKitWebDriver"], "webkit2gtk-driver");
const running = new Set(); // what this process started, ended with it whatever ends it
process.on("exit", () => running.forEach((p) => p.kill()));
for (const [signal, number] of [["SIGINT", 2], ["SIGTERM", 15]]) process.once(signal, () => process.exit(128 + number));

function start(program, args, options) {
  const child = spawn(program, args, options);
  running.add(child);
  child.on("exit", () => running.delete(child));
  return child;
}

async function virtualDisplay() {
  const xvfb = start(onPath(["Xvfb"], "xvfb"), ["-displayfd", "3", "-screen", "0", "1600x1000x24", "-nolisten", "tcp"],
                     { stdio: ["ignore", "ignore", "ignore", "pipe"] });
  const number = await new Promise((found, failed) => {
    xvfb.stdio[3].once("data", (d) => found(String(d).trim()));
    xvfb.once("exit", () => failed(new Error("Xvfb did not start")));
  });
  return { xvfb, display: `:${number}` };
}

export async function launch() {
  const { xvfb, display } = await virtualDisplay();
  const home = mkdtempSync(join(tmpdir(), "numerak-webkit-"));
  // The browser's own bar, made no wider than its buttons, so that its window can be as narrow as
  // a phone.
  mkdirSync(join(home, "gtk-3.0"));
  writeFileSync(join(home, "gtk-3.0", "gtk.css"), "* { min-width: 0; min-height: 0; padding: 0; margin: 0; }\n");
  const locales = execFileSync("locale", ["-a"], { encoding: "utf8" }).split("\n");
  return {
    can: {
      // WebDriver reads an element's role and name (computed), but not its description.
      accessibilityTree: false,
      roleAndName: true,
      contrast: false, // nothing asks WebKitGTK for more contrast or forced colours
      anyLanguages: false, // one language, a locale's
      secondClick: false, // WebKit counts a double-click's clicks itself
      installing: false,
      // No console over WebDriver: what went wrong in the page is heard only once it has loaded.
      console: false,
      // WebKit gives an element's rectangle in a window scaled down (CSS zoom) in its own
      // unscaled pixels.
      unscaledRects: true,
    },
    open: (options) => open({ display, home, locales }, options),
    close: () => {
      xvfb.kill();
      rmSync(home, { recursive: true, force: true });
    },
  };
}

// The C library's locale for a language ("de-AT", "pt-BR", "sv"): that one, else one of the
// language's; none for English, which the C locale is.
function localeFor(tag, locales) {
  const [language, region] = tag.split("-");
  const wanted = region ? `${language}_${region}.utf8` : null;
  const found = locales.find((l) => l === wanted) || locales.find((l) => l.startsWith(`${language}_`) && l.endsWith(".utf8"));
  if (found) return found.replace(".utf8", ".UTF-8");
  if (language === "en") return "C.UTF-8";
  throw new Error(`no locale of the C library for ${tag}: scripts/test-web.sh generates those of the site's languages`);
}

// What the driver is asked to do, or an error once it has not answered for long.
const within = (promise, what) =>
  Promise.race([
    promise,
    new Promise((_, failed) => setTimeout(() => failed(new Error(`WebKitWebDriver did not ${what} in 20 s`)), 20_000).unref()),
  ]);

const freePort = () =>
  new Promise((found) => {
    const probe = createServer().listen(0, "127.0.0.1", () => {
      const { port } = probe.address();
      probe.close(() => found(port));
    });
  });

async function open({ display, home, locales }, { width, height, languages }) {
  if (languages?.length > 1) throw new Error("WebKitGTK takes one language, its locale's");
  const profile = mkdtempSync(join(home, "profile-"));
  const port = await freePort();
  const driverProcess = start(driverProgram, [`--port=${port}`], {
    stdio: "ignore", // the browser's own complaints of a display without a desktop
    env: {
      PATH: process.env.PATH,
      HOME: profile,
      DISPLAY: display,
      XDG_CONFIG_HOME: home,
      XDG_DATA_HOME: join(profile, "data"),
      XDG_CACHE_HOME: join(profile, "cache"),
      LANG: localeFor(languages?.[0] || "en", locales),
      MESA_SHADER_CACHE_DISABLE: "true",
      GST_REGISTRY: join(home, "gstreamer-registry.bin"), // found once, not for every page
    },
  });
  // The driver ended, and its browser with it (on its display it would not outlive it long).
  const stop = async () => {
    if (driverProcess.exitCode === null && driverProcess.signalCode === null) {
      const ended = new Promise((done) => driverProcess.once("exit", done));
      driverProcess.kill();
      await ended;
    }
    rmSync(profile, { recursive: true, force: true, maxRetries: 10 });
  };
  const address = `http://127.0.0.1:${port}`;
  for (let tries = 0; ; tries++) {
    try {
      if ((await fetch(`${address}/status`)).ok) break;
    } catch (e) {
      if (tries > 100) throw new Error(`WebKitWebDriver did not answer: ${e.message}`);
    }
    await new Promise((done) => setTimeout(done, 50));
  }
  const driver = await within(
    new Builder()
      .usingServer(address)
      .withCapabilities({
        browserName: "MiniBrowser",
        // No host but the loopback interface: every other goes to a proxy that is not there.
        "webkitgtk:browserOptions": {
          args: ["--automation", "--proxy=http://127.0.0.1:9", "--ignore-host=127.0.0.1", "--enable-dns-prefetching=false"],
        },
      })
      .build(),
    "start a browser"
  ).catch(async (e) => {
    await stop();
    throw e;
  });
  const window = driver.manage().window();
  // The window's size for a page of this size: the page's, and what the browser's bar takes.
  await window.setRect({ width, height });
  const [barWidth, barHeight] = await driver.executeScript("return [outerWidth - innerWidth, outerHeight - innerHeight]");
  const session = { driver, window, bar: [barWidth, barHeight], current: await driver.getWindowHandle() };
  const first = driverOf(session, session.current, async () => {
    await within(driver.quit(), "end its browser").catch(() => {});
    await stop();
  });
  await first.resize(width, height);
  return first;
}

const keys = { Enter: Key.ENTER, Escape: Key.ESCAPE, Tab: Key.TAB, Space: " ", Backspace: Key.BACK_SPACE, Shift: Key.SHIFT,
               Alt: Key.ALT, Control: Key.CONTROL, ArrowUp: Key.ARROW_UP, ArrowDown: Key.ARROW_DOWN,
               ArrowLeft: Key.ARROW_LEFT, ArrowRight: Key.ARROW_RIGHT, F10: Key.F10 };
const keyOf = (name) => keys[name] ?? (/^Key[A-Z]$/.test(name) ? name.slice(3).toLowerCase() : name);

// A tab of the browser's, for the tests: each command goes to its own tab. Closing the first ends
// the browser.
function driverOf(session, handle, close) {
  const { driver } = session;
  const use = async () => {
    if (session.current !== handle) await driver.switchTo().window(handle);
    session.current = handle;
  };
  const evaluate = async (fn, args) => {
    const { value, error } = await driver.executeAsyncScript(
      `const done = arguments[arguments.length - 1];
       Promise.resolve().then(() => (${fn})(...arguments[0]))
         .then((value) => done({ value }), (e) => done({ error: String(e && e.stack || e) }));`,
      args
    );
    if (error) throw new Error(`in the page: ${error}`);
    return value;
  };
  // What goes wrong in the page, heard from the page itself once it has loaded.
  const [errors, refused] = [[], []];
  const hear = () =>
    driver.executeScript(`
      const heard = (window.numerakHeard = { errors: [], refused: [] });
      addEventListener("error", (e) => heard.errors.push(e.message));
      addEventListener("unhandledrejection", (e) => heard.errors.push(String(e.reason)));
      addEventListener("securitypolicyviolation", (e) => heard.refused.push("refused by the policy: " + e.effectiveDirective + " " + e.blockedURI));`);
  const collect = async () => {
    const heard = await driver.executeScript("const h = window.numerakHeard; window.numerakHeard = { errors: [], refused: [] }; return h;").catch(() => null);
    errors.push(...(heard?.errors ?? []));
    refused.push(...(heard?.refused ?? []));
  };
  const drain = async (list) => (await collect(), list.splice(0));
  const commands = {
    goto: async (url) => {
      await collect();
      await driver.get(url);
      await hear();
    },
    reload: async () => {
      await collect();
      await driver.navigate().refresh();
      await hear();
    },
    evaluate,
    press: async (key) => {
      const modifiers = key.split("+").map(keyOf);
      const last = modifiers.pop();
      let actions = driver.actions();
      for (const m of modifiers) actions = actions.keyDown(m);
      actions = actions.keyDown(last).keyUp(last);
      for (const m of modifiers.reverse()) actions = actions.keyUp(m);
      await actions.perform();
    },
    type: (text) => driver.actions().sendKeys(text).perform(),
    // The GTK port's driver has no touch screen: a tap is a click.
    click: (x, y) => driver.actions().move({ x: Math.round(x), y: Math.round(y), duration: 0 }).press().release().perform(),
    // A click that loads a page again: the driver's pointer waits forever for the page it left,
    // where its click of an element waits for the one that comes.
    clickToLoad: async (selector) => (await driver.findElement(By.css(selector))).click(),
    // Once the page has been painted: the driver takes what is on the screen at once.
    screenshot: async (path) => {
      await evaluate("() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done)))", []);
      writeFileSync(path, Buffer.from(await driver.takeScreenshot(), "base64"));
    },
    resize: async (w, h) => {
      await session.window.setRect({ width: w + session.bar[0], height: h + session.bar[1] });
      for (let wait = 0; (await driver.executeScript("return innerWidth + 'x' + innerHeight")) !== `${w}x${h}`; wait++)
        if (wait > 100) throw new Error(`the browser's window does not take a page of ${w}x${h}`);
    },
    errors: () => drain(errors),
    refused: () => drain(refused),
    heard: async (selector) => {
      const e = await driver.findElement(By.css(selector)).catch(() => null);
      return e && { role: await e.getAriaRole(), name: await e.getAccessibleName() };
    },
    // A window of its own beside the first, as the player sees both: the browser keeps a tab
    // behind another hidden, where a page does not start its program.
    another: async () => {
      await driver.switchTo().newWindow("window");
      session.current = await driver.getWindowHandle();
      return driverOf(session, session.current, () => {});
    },
  };
  const tab = { driver, close };
  for (const [name, command] of Object.entries(commands))
    tab[name] = async (...args) => {
      await use();
      return command(...args);
    };
  return tab;
}
