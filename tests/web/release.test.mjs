// How a release reaches players who keep the game, on a host that lets browsers keep files for ten
// minutes: a plain reload of the only tab brings it; a tab with another one open is told of it
// and takes it when the player asks, while the other keeps its release; a release whose files
// cannot all be fetched as built leaves nothing behind. Other apps of the host keep their caches.
// In Chromium, Firefox ESR or WebKitGTK (browser.mjs).
//   node tests/web/release.test.mjs <chromium|firefox|webkit> <site> <the same site built as the next version> <next version>
import assert from "node:assert/strict";
import { createHash } from "node:crypto";
import { copyFileSync, cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, before, test } from "node:test";
import { serve } from "../../scripts/serve.mjs";
import { launch } from "./browser.mjs";

const [engineName, site, nextSite, nextVersion] = process.argv.slice(2);
if (!engineName || !site || !nextSite || !nextVersion) {
  console.error("usage: node release.test.mjs <chromium|firefox|webkit> <site> <next site> <next version>");
  process.exit(2);
}
let engine;
const scratch = mkdtempSync(join(tmpdir(), "numerak-release-"));

before(async () => (engine = await launch(engineName)));
after(async () => {
  await engine?.close();
  rmSync(scratch, { recursive: true, force: true });
});

// A host of its own for a test, serving a folder the test may change, telling browsers to keep
// what it sends for ten minutes.
async function host(t, name, from) {
  const folder = join(scratch, name);
  cpSync(from, folder, { recursive: true });
  const server = await serve(folder, 0, "127.0.0.1", "max-age=600");
  t.after(() => server.close());
  return { folder, url: `http://127.0.0.1:${server.address().port}/` };
}

// A browser of its own; anything a page's policy refuses in it (the hand-over page's too) fails the
// test.
async function page(t) {
  const p = await engine.open();
  t.after(async () => {
    const refused = await p.refused();
    await p.close();
    assert.deepEqual(refused, [], "refused by a page's policy");
  });
  return p;
}

const opening = (p) => p.waitFor("dialog.box[open] .box-text", { text: "Please choose" });

async function versionInAbout(p) {
  await p.press("Enter");
  await p.click(".menubar > .menu", { text: "Help" });
  await p.click(".menubar .menu-item", { text: "About" });
  await p.waitFor('dialog.window[open] [data-name="lblVersion"]');
  return p.text('dialog.window[open] [data-name="lblVersion"]');
}

// The player's press of the update bar's Reload, and the page loaded again by it.
async function reloadedByTheBar(p) {
  await p.evaluate(() => (window.beforeReload = true));
  await p.clickToLoad("#update button");
  for (let wait = 0; ; wait++) {
    const again = await p.evaluate(() => !window.beforeReload && document.readyState === "complete").catch(() => false);
    if (again) return;
    if (wait > 200) assert.fail("the page was not loaded again");
    await new Promise((r) => setTimeout(r, 50));
  }
}

// The caches of the origin once they are as expected (the old release's go a little after the
// page that brings the new one has loaded), by whether each is the game's and of which release.
async function cachesBecome(p, expected) {
  const named = (keys) =>
    keys
      .map((key) => (key.startsWith("numerak") ? (key.split(/[ -]/).includes(nextVersion) ? "next release" : "running release") : key))
      .sort();
  let now;
  for (let wait = 0; wait < 100; wait++) {
    now = named(await p.evaluate(() => caches.keys()));
    if (JSON.stringify(now) === JSON.stringify([...expected].sort())) return;
    await new Promise((r) => setTimeout(r, 100));
  }
  assert.deepEqual(now, [...expected].sort());
}

test("a plain reload of the only tab brings a new release, and another app's cache stays", async (t) => {
  const { folder, url } = await host(t, "reloaded", site);
  const p = await page(t);
  await p.goto(url);
  await opening(p);
  await p.evaluate(() => navigator.serviceWorker.ready.then(() => true));
  await p.evaluate(() => caches.open("other-app-v7").then((c) => c.put("other/app.js", new Response("its own"))));

  cpSync(nextSite, folder, { recursive: true }); // the host is given the next release
  await p.reload(); // the browser learns of it
  await opening(p);
  await p.waitFor("#update");
  await p.reload(); // and this one takes it
  await opening(p);
  assert.equal(await versionInAbout(p), `Version ${nextVersion}`);
  await cachesBecome(p, ["next release", "other-app-v7"]);
});

// A file of the site as the page at hand gets it, by its digest.
const digestIn = (p, file) =>
  p.evaluate(async (f) => {
    const bytes = await crypto.subtle.digest("SHA-256", await (await fetch(f)).arrayBuffer());
    return Array.from(new Uint8Array(bytes), (b) => b.toString(16).padStart(2, "0")).join("");
  }, file);
const digestOf = (file) => createHash("sha256").update(readFileSync(file)).digest("hex");

test("with another tab open, a tab is told of a new release, the player's reload brings it, and the other keeps its own", async (t) => {
  const { folder, url } = await host(t, "cached", site);
  const p = await page(t);
  await p.goto(url);
  await opening(p);
  await p.evaluate(() => navigator.serviceWorker.ready.then(() => true));
  const other = await p.another();
  await other.goto(url);
  await opening(other);

  cpSync(nextSite, folder, { recursive: true }); // the host is given the next release
  await p.reload(); // the first reload: still the release the tab has, and the news
  await opening(p);
  await p.waitFor("#update");
  assert.match(await p.text("#update"), /A new version of Numerak is ready/);
  assert.ok(await p.visible("dialog.box[open]"), "the game goes on meanwhile");
  await p.press("Enter"); // the box first: nothing else of the page answers while it is up
  await p.reload(); // a plain reload leaves the other tab its release
  await opening(p);
  await p.waitFor("#update");
  await p.press("Enter");
  await reloadedByTheBar(p); // the player's
  await opening(p);
  assert.equal(await versionInAbout(p), `Version ${nextVersion}`);

  // What the other tab fetches now (as a tab on its first screen fetches the program) is its release's.
  const program = "numerak.wasm";
  assert.notEqual(digestOf(join(site, program)), digestOf(join(nextSite, program)), "the releases differ");
  assert.equal(await digestIn(other, program), digestOf(join(site, program)), "the other tab's release");
  assert.equal(await digestIn(p, program), digestOf(join(nextSite, program)), "this tab's release");
  await cachesBecome(p, ["next release", "running release"]);

  // Its player takes the new release in turn: the old one has no page left, and goes at the next load.
  await other.press("Enter");
  await reloadedByTheBar(other);
  await opening(other);
  assert.equal(await versionInAbout(other), `Version ${nextVersion}`);
  await p.reload();
  await opening(p);
  await cachesBecome(p, ["next release"]);
});

test("a release that cannot be fetched whole, or not as it was built, leaves no cache behind, and the running one runs on", async (t) => {
  const { folder, url } = await host(t, "broken", site);
  const p = await page(t);
  await p.goto(url);
  await opening(p);
  await p.evaluate(() => navigator.serviceWorker.ready.then(() => true));
  const wasm = join(folder, "numerak.wasm");
  const breakages = {
    "a file missing": () => rmSync(join(folder, "pictures", "icon-512.png")),
    "a file half uploaded": () => writeFileSync(wasm, readFileSync(wasm).subarray(0, 1000)),
    "the host's page for a file it lacks": () => copyFileSync(join(folder, "index.html"), wasm),
  };
  for (const [breakage, breakIt] of Object.entries(breakages)) {
    cpSync(nextSite, folder, { recursive: true }); // the host is given the next release, broken
    breakIt();
    const state = await p.evaluate(async () => {
      const registration = await navigator.serviceWorker.getRegistration();
      const next = await new Promise((found) => {
        registration.addEventListener("updatefound", () => found(registration.installing), { once: true });
        registration.update().catch(() => {});
      });
      await new Promise((done) => {
        const settled = () => (next.state === "redundant" || next.state === "installed") && done();
        next.addEventListener("statechange", settled);
        settled();
      });
      return { state: next.state, waiting: !!registration.waiting };
    });
    assert.deepEqual(state, { state: "redundant", waiting: false }, breakage);
    await cachesBecome(p, ["running release"]);
  }
  await p.reload();
  await opening(p);
  assert.notEqual(await versionInAbout(p), `Version ${nextVersion}`, "the running release");
});
