// The local web host serves its folder and nothing else.
import assert from "node:assert/strict";
import { mkdirSync, mkdtempSync, rmSync, symlinkSync, writeFileSync } from "node:fs";
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
  writeFileSync(join(scratch, "outside.txt"), "secret");
  symlinkSync(join(scratch, "outside.txt"), join(site, "pictures", "leak.txt"));
  symlinkSync(scratch, join(site, "up"));
  server = await serve(site);
  base = `http://127.0.0.1:${server.address().port}`;
});

after(() => {
  server.close();
  rmSync(scratch, { recursive: true, force: true });
});

test("the site's files, with the types a browser needs", async () => {
  const page = await fetch(base + "/");
  assert.equal(page.status, 200);
  assert.equal(await page.text(), "<p>game</p>");
  const wasm = await fetch(base + "/numerak.wasm", { method: "HEAD" });
  assert.equal(wasm.status, 200);
  assert.equal(wasm.headers.get("content-type"), "application/wasm");
});

test("nothing outside the folder, through links or dot-dot, and no dotfile", async () => {
  for (const path of ["/pictures/leak.txt", "/up/outside.txt", "/../outside.txt", "/%2e%2e/outside.txt", "/.env"]) {
    const response = await fetch(base + path);
    assert.equal(response.status, 404, path);
    assert.doesNotMatch(await response.text(), /secret/, path);
  }
});

test("only GET and HEAD", async () => {
  const response = await fetch(base + "/index.html", { method: "POST", body: "x" });
  assert.equal(response.status, 405);
  assert.equal(response.headers.get("allow"), "GET, HEAD");
});
