// browser.mjs: the browser engine a test plays the site in, chosen by name (chromium, firefox,
// webkit), and what the tests do with a page in any of them. Each engine's module (chromium.mjs,
// firefox.mjs, webkit.mjs) drives its browser through its own driver and offers the same few
// things: a page opened at a size, in languages, with a touch screen or not; a page function
// evaluated; keys and clicks or taps at a point as the driver's own input; a screenshot; a new
// size; what went wrong in the page. Its `can` says what else the engine's driver can do; a test
// that needs more says so where it stops. Everything else a test does is written here once, on
// those.

const engines = ["chromium", "firefox", "webkit"];
const patience = 10_000; // a broken build fails fast

export async function launch(name) {
  if (!engines.includes(name)) throw new Error(`no engine ${name}: one of ${engines.join(", ")}`);
  const engine = await (await import(`./${name}.mjs`)).launch();
  return {
    name,
    can: engine.can,
    open: async (options = {}) => new Page(engine, await engine.open({ width: 1280, height: 800, ...options })),
    close: () => engine.close(),
  };
}

// The page's element a test means: the last the selector finds, with the text where one is given.
// Where it is on the screen, its centre, and whether a click there reaches it. A window the page
// scales down (CSS zoom) has its elements' rectangles given by WebKit in the element's own
// unscaled pixels; the engine's module says so.
function placeOf(selector, text, unscaledRects) {
  const e = [...document.querySelectorAll(selector)].filter((e) => text == null || e.textContent.includes(text)).at(-1);
  if (!e) return null;
  let scale = 1;
  for (let a = e; unscaledRects && a; a = a.parentElement) scale *= Number(getComputedStyle(a).zoom) || 1;
  const r = e.getBoundingClientRect();
  const [x, y, width, height] = [r.x * scale, r.y * scale, r.width * scale, r.height * scale];
  const shown = e.getClientRects().length > 0 && getComputedStyle(e).visibility !== "hidden";
  const hit = document.elementFromPoint(x + width / 2, y + height / 2);
  const reached = shown && !!hit && (e === hit || e.contains(hit));
  return { x, y, width, height, shown, reached, ...(reached ? {} : { instead: hit?.outerHTML.slice(0, 100) }) };
}

function stateOf(selector, text) {
  const e = [...document.querySelectorAll(selector)].filter((e) => text == null || e.textContent.includes(text)).at(-1);
  if (!e) return "detached";
  return e.getClientRects().length > 0 && getComputedStyle(e).visibility !== "hidden" ? "visible" : "hidden";
}

class Page {
  constructor(engine, driver) {
    this.engine = engine;
    this.driver = driver;
  }

  goto(url) {
    return this.driver.goto(url);
  }
  reload() {
    return this.driver.reload();
  }
  // A function run in the page with arguments that JSON carries; what it returns or resolves to.
  evaluate(fn, ...args) {
    return this.driver.evaluate(String(fn), args);
  }
  // Until a page function gives what is wanted (anything true, by default), which it then gives. A
  // page that is being loaded again (the function met a document going, or none yet) is asked
  // again; what it last said, or what last went wrong, tells of a wait in vain.
  async poll(what, fn, args, wanted = (value) => !!value) {
    const end = Date.now() + patience;
    for (;;) {
      let said;
      try {
        said = await this.evaluate(fn, ...args);
        if (wanted(said)) return said;
      } catch (e) {
        said = e.message;
      }
      if (Date.now() > end) throw new Error(`waited ${patience} ms for ${what}: ${JSON.stringify(said)}`);
      await new Promise((done) => setTimeout(done, 50));
    }
  }
  until(fn, ...args) {
    return this.poll(String(fn).slice(0, 200), fn, args);
  }
  // Until the last element the selector finds (with the text, where one is given) is in that state:
  // visible (the default), hidden, attached (either), or detached (none found).
  async waitFor(selector, { state = "visible", text } = {}) {
    const wanted = (now) => now === state || (state === "hidden" && now === "detached") || (state === "attached" && now !== "detached");
    await this.poll(`${selector}${text ? ` "${text}"` : ""} to be ${state}`, stateOf, [selector, text], wanted);
  }
  async visible(selector, { text } = {}) {
    return (await this.evaluate(stateOf, selector, text)) === "visible";
  }
  count(selector) {
    return this.evaluate((s) => document.querySelectorAll(s).length, selector);
  }
  text(selector) {
    return this.evaluate((s) => document.querySelector(s)?.textContent ?? null, selector);
  }
  texts(selector) {
    return this.evaluate((s) => [...document.querySelectorAll(s)].map((e) => e.textContent), selector);
  }
  attribute(selector, name) {
    return this.evaluate((s, n) => document.querySelector(s)?.getAttribute(n) ?? null, selector, name);
  }
  // Where the element is on the screen, in the page's pixels as the player sees them.
  async rect(selector, { text } = {}) {
    const place = await this.evaluate(placeOf, selector, text, !!this.engine.can.unscaledRects);
    if (!place) throw new Error(`no ${selector} on the page`);
    return place;
  }

  // A click of the mouse, or a tap, at the element's centre once it is there to be clicked; or at a
  // point, whatever is there.
  async click(selector, { text, touch } = {}) {
    const place = await this.poll(`${selector} ${text ?? ""} to be clicked`, placeOf, [selector, text, !!this.engine.can.unscaledRects],
                                  (p) => p?.reached);
    await this.clickAt(place.x + place.width / 2, place.y + place.height / 2, { touch });
  }
  // A click that loads a page: where the engine's driver has its own for that, by it.
  async clickToLoad(selector) {
    if (this.driver.clickToLoad) {
      await this.waitFor(selector);
      await this.driver.clickToLoad(selector);
    } else await this.click(selector);
  }
  tap(selector, { text } = {}) {
    return this.click(selector, { text, touch: true });
  }
  clickAt(x, y, { touch = false } = {}) {
    return this.driver.click(x, y, { touch });
  }
  // Keys as they are named in the browser (Enter, ArrowDown, Alt+KeyQ, Shift+Tab), pressed in turn.
  async press(key, times = 1) {
    for (let i = 0; i < times; i++) await this.driver.press(key);
  }
  type(text) {
    return this.driver.type(text);
  }
  // What a box holds replaced by the text, as a player clicks into it, selects it all and types.
  async fill(selector, text) {
    await this.click(selector);
    await this.press("Control+KeyA");
    if (text === "") await this.press("Backspace");
    else await this.type(text);
  }
  // What a screen reader hears of the element: from the accessibility tree, or only its role and
  // name, as the engine's driver can tell (its `can`).
  heard(selector) {
    return this.driver.heard(selector);
  }
  screenshot(path) {
    return this.driver.screenshot(path);
  }
  resize(width, height) {
    return this.driver.resize(width, height);
  }
  // What went wrong in the page since it was last asked: errors, and what the page's policy refused.
  errors() {
    return this.driver.errors();
  }
  refused() {
    return this.driver.refused();
  }
  // Another tab of the same browser, as a player opens the site twice.
  async another() {
    return new Page(this.engine, await this.driver.another());
  }
  close() {
    return this.driver.close();
  }
}
