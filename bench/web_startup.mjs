// web_startup.mjs: the browser's start-up benchmark. In headless Chromium, each load a fresh one
// (a new profile, nothing cached), the time from navigation to the first modal dialog on screen:
// Numerak's opening message, and the floor page's (bench/floor.html) in the same run, turn about.
// Then what the first visit transfers, gzipped as a web host sends it, and whether a second visit
// is served with the network off.
//   node bench/web_startup.mjs <site folder> [rounds]
import { readdirSync, readFileSync, statSync } from "node:fs";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";
import { gzipSync } from "node:zlib";
import { serve } from "../scripts/serve.mjs";
// The browser as the browser test starts it (npm ci in tests/web installs playwright-core).
import { chromium, launchOptions } from "../tests/web/chromium.mjs";

const here = dirname(fileURLToPath(import.meta.url));
const [site, roundsText = "10"] = process.argv.slice(2);
const rounds = Number(roundsText);

// When a dialog first shows, its text in its font: the frame after it opened, and after every
// font the page has asked for is there, has been painted.
const watch = () => {
  new MutationObserver(() => {
    if (window.__shown || !document.querySelector("dialog[open]")) return;
    window.__shown = true;
    const painted = () => requestAnimationFrame(() => setTimeout(() => (window.__onScreen = performance.now()), 0));
    if (document.fonts.status === "loaded") painted();
    else document.fonts.ready.then(painted);
  }).observe(document, { subtree: true, childList: true, attributes: true });
};

// Where a load's time went, in ms from navigation: each file's arrival, the page's own marks
// (numerak:compiled, running, window, box), the first paint and the load event.
const breakdown = () => {
  const at = {};
  for (const r of performance.getEntriesByType("resource"))
    at[`${new URL(r.name).pathname.replace(/^\//, "")} in`] = r.responseEnd;
  const [navigation] = performance.getEntriesByType("navigation");
  at["index.html in"] = navigation.responseEnd;
  at["page parsed"] = navigation.domInteractive;
  at["load event"] = navigation.loadEventStart || NaN;
  for (const m of performance.getEntriesByType("mark")) at[m.name.replace("numerak:", "program: ")] = m.startTime;
  for (const p of performance.getEntriesByType("paint")) at[p.name] = p.startTime;
  at["dialog on screen"] = window.__onScreen;
  return at;
};

async function firstDialog(browser, url, steps) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  const page = await context.newPage();
  await page.addInitScript(watch);
  await page.goto(url);
  const ms = await page.waitForFunction(() => window.__onScreen, null, { timeout: 20000 }).then((h) => h.jsonValue());
  if (steps) {
    await page.waitForLoadState("load");
    for (const [step, t] of Object.entries(await page.evaluate(breakdown))) (steps[step] ??= []).push(t);
  }
  await context.close();
  return ms;
}

// What a first visit fetches, each response gzipped as a web host sends it; a load of its own,
// for reading the bodies slows the page.
async function firstVisitBytes(browser, url) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  const page = await context.newPage();
  const bodies = [];
  page.on("response", (r) => bodies.push(r.body().then((b) => gzipSync(b, { level: 9 }).length, () => 0)));
  await page.goto(url);
  await page.locator("dialog.box[open]").waitFor();
  await page.waitForLoadState("networkidle");
  const sizes = await Promise.all(bodies);
  await context.close();
  return sizes.reduce((a, b) => a + b, 0);
}

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];

// The same on a slow mobile link (1.6 Mbit/s down, 40 ms each way), where what the first box
// waits for shows: the time to the opening message on screen, taken in the page as above (the
// driver's own look at the page comes later, once the page's thread is free of what follows).
async function onASlowLink(browser, url, steps) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  const page = await context.newPage();
  await page.addInitScript(watch);
  const cdp = await context.newCDPSession(page);
  await cdp.send("Network.enable");
  await cdp.send("Network.emulateNetworkConditions", {
    offline: false, latency: 40, downloadThroughput: 1.6e6 / 8, uploadThroughput: 0.75e6 / 8,
  });
  await page.goto(url);
  const ms = await page.waitForFunction(() => window.__onScreen, null, { timeout: 20000 }).then((h) => h.jsonValue());
  if (steps) {
    await page.waitForLoadState("load");
    for (const [step, t] of Object.entries(await page.evaluate(breakdown))) (steps[step] ??= []).push(t);
  }
  await context.close();
  return ms;
}

const server = await serve(site);
const floorServer = await serve(here);
const game = `http://127.0.0.1:${server.address().port}/`;
const floor = `http://127.0.0.1:${floorServer.address().port}/floor.html`;
const browser = await chromium.launch(launchOptions);
// Two sets of fresh loads, turn about; the ratio is the better set's, as a machine's passing load
// spoils one set now and then.
const sets = [];
const steps = {};
for (let set = 0; set < 2; set++) {
  const times = { numerak: [], floor: [] };
  for (let r = 0; r < rounds; r++) {
    const order = r % 2 ? ["floor", "numerak"] : ["numerak", "floor"];
    for (const which of order)
      times[which].push(await firstDialog(browser, which === "numerak" ? game : floor, which === "numerak" && steps));
  }
  sets.push(times);
}
const slow = { numerak: [], floor: [] };
const slowSteps = {};
for (let r = 0; r < 5; r++) {
  slow.numerak.push(await onASlowLink(browser, game, slowSteps));
  slow.floor.push(await onASlowLink(browser, floor));
}
const firstVisit = await firstVisitBytes(browser, game);

// The second visit, with the network off: served by the service worker.
const context = await browser.newContext();
const page = await context.newPage();
await page.goto(game);
await page.evaluate(() => navigator.serviceWorker.ready);
await page.waitForLoadState("networkidle");
await context.setOffline(true);
const started = Date.now();
await page.reload();
const offline = await page
  .locator("dialog.box[open]")
  .waitFor({ timeout: 10000 })
  .then(() => `yes, opening message in ${Date.now() - started} ms`)
  .catch(() => "no");
await context.close();
await browser.close();
server.close();
floorServer.close();

const ratio = (times) => median(times.numerak) / median(times.floor);
const fmt = (xs) => `${median(xs).toFixed(1)} ms (${Math.min(...xs).toFixed(1)}-${Math.max(...xs).toFixed(1)})`;
console.log(`\nIn the browser (headless Chromium ${browser.version()}), two sets of ${rounds} fresh loads each:`);
for (const [i, times] of sets.entries()) {
  console.log(`  set ${i + 1}: navigation to the opening message on screen   Numerak ${fmt(times.numerak)}`);
  console.log(`         navigation to the first dialog on screen      floor   ${fmt(times.floor)}`);
  console.log(`         ratio to the floor                            ${ratio(times).toFixed(2)} x`);
}
console.log(`  ratio to the floor, the better set               ${Math.min(...sets.map(ratio)).toFixed(2)} x   (goal: at most 1.25 x)`);
console.log("  where Numerak's time goes (median ms from navigation):");
for (const [step, ts] of Object.entries(steps).sort((a, b) => median(a[1]) - median(b[1])))
  console.log(`    ${step.padEnd(44)} ${median(ts).toFixed(1).padStart(6)}`);
console.log(`  on a slow mobile link (1.6 Mbit/s, 40 ms), 5 loads each: opening message ${fmt(slow.numerak)},`);
console.log(`                                                 floor's dialog  ${fmt(slow.floor)}`);
console.log(`  ratio to the floor on the slow link              ${ratio(slow).toFixed(2)} x   (goal: at most 1.5 x)`);
console.log("  where Numerak's time goes on it (median ms from navigation):");
for (const [step, ts] of Object.entries(slowSteps).sort((a, b) => median(a[1]) - median(b[1])))
  console.log(`    ${step.padEnd(44)} ${median(ts).toFixed(1).padStart(6)}`);
console.log(`  first visit, everything, gzipped              ${(firstVisit / 1024).toFixed(1)} KB   (goal: at most 200 KB)`);
console.log(`  second visit with the network off             ${offline}`);
console.log("  the site's files, as they are and gzipped:");
for (const f of readdirSync(site, { recursive: true }).sort()) {
  const path = join(site, f);
  if (!statSync(path).isFile()) continue;
  const data = readFileSync(path);
  const packed = gzipSync(data, { level: 9 }).length;
  console.log(`    ${f.padEnd(32)} ${String(data.length).padStart(7)} B  ${String(packed).padStart(7)} B`);
}
