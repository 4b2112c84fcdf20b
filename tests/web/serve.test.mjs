// The local web host serves its folder and nothing else, and stays up whatever it is asked.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdirSync, mkdtempSync, readdirSync, rmSync, symlinkSync, truncateSync, writeFileSync } from "node:fs";
import { get } from "node:http";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, before, test } from "node:test";
import { serve } from "../../scripts/serve.mjs";

let scratch, server, base;

before(async () => {
  scratch = mkdtempSync(join(tmpdir(), "serve-"));
  const site = join(scratch, "site");
  mkdirSync(join(site, "pictures"), { recursive: true });
  writeFileSync(join(site, "index.html"), "<p>game</p>");
  writeFileSync(join(site, "numerak.wasm"), "\0asm");
  writeFileSync(join(site, ".env"), "secret");
  mkdirSync(join(site, ".private"));
  writeFileSync(join(site, ".private", "token"), "secret");
  symlinkSync(".private/token", join(site, "notes.txt"));
  symlinkSync(".private", join(site, "docs"));
  writeFileSync(join(scratch, "outside.txt"), "secret");
  symlinkSync(join(scratch, "outside.txt"), join(site, "pictures", "leak.txt"));
  symlinkSync(scratch, join(site, "up"));
  mkdirSync(join(site, "sub", "index.html"), { recursive: true }); // a folder named like a page
  execFileSync("mkfifo", [join(site, "pipe.txt")]);
  writeFileSync(join(site, "large.bin"), "");
  truncateSync(join(site, "large.bin"), 64 << 20);
  server = await serve(site);
  base = `http://127.0.0.1:${server.address().port}`;
});

after(() => {
  server.close();
  rmSync(scratch, { recursive: true, force: true });
});

test("the site's files, with the types a browser needs, compressed for a browser that takes it", async () => {
  const page = await fetch(base + "/");
  assert.equal(page.status, 200);
  assert.equal(page.headers.get("content-encoding"), "gzip");
  assert.equal(await page.text(), "<p>game</p>");
  const plain = await new Promise((done) => get(`${base}/`, { agent: false }, done));
  assert.deepEqual([plain.headers["content-encoding"], plain.headers["content-length"]], [undefined, "11"]);
  plain.resume();
  const wasm = await fetch(base + "/numerak.wasm", { method: "HEAD" });
  assert.equal(wasm.status, 200);
  assert.equal(wasm.headers.get("content-type"), "application/wasm");
});

test("nothing outside the folder, through links or dot-dot, and no dotfile by any path", async () => {
  const paths = ["/pictures/leak.txt", "/up/outside.txt", "/../outside.txt", "/%2e%2e/outside.txt", "/.env",
                 "/notes.txt", "/docs/token"];
  for (const path of paths) {
    const response = await fetch(base + path);
    assert.equal(response.status, 404, path);
    assert.doesNotMatch(await response.text(), /secret/, path);
  }
});

test("what is no file gets an answer, and the host stays up: a folder named like a page, a FIFO", async () => {
  const asked = ["/sub/", "/sub/index.html", ...Array(6).fill("/pipe.txt")];
  const answers = await Promise.all(asked.map((path) => fetch(base + path, { signal: AbortSignal.timeout(5000) })));
  assert.deepEqual(answers.map((a) => a.status), asked.map(() => 404));
  assert.equal((await fetch(base + "/", { signal: AbortSignal.timeout(5000) })).status, 200);
});

test("an aborted download leaves no file open", async () => {
  const open = () => readdirSync("/proc/self/fd").length;
  const before = open();
  for (let i = 0; i < 10; i++)
    await new Promise((done, failed) => {
      const request = get(`${base}/large.bin`, { agent: false }, (response) =>
        response.once("data", () => (request.destroy(), done()))
      );
      request.on("error", failed);
    });
  // (No more than before: a connection of an earlier test may close meanwhile, but not ten.)
  for (let wait = 0; open() > before && wait < 50; wait++) await new Promise((r) => setTimeout(r, 100));
  assert.ok(open() <= before, `${open()} descriptors open, ${before} before`);
});

test("only GET and HEAD", async () => {
  const response = await fetch(base + "/index.html", { method: "POST", body: "x" });
  assert.equal(response.status, 405);
  assert.equal(response.headers.get("allow"), "GET, HEAD");
});
