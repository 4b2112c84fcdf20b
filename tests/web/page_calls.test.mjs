// The calls between the program and the page meet at both ends: each call of the program's to
// the page (runtime/web/page_calls.cpp) has its function there, in one module, and each export of
// the program's that the page calls (page/events.js) is exported.
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { test } from "node:test";
import * as boxes from "../../runtime/web/page/boxes.js";
import * as events from "../../runtime/web/page/events.js";
import * as language from "../../runtime/web/page/language.js";
import * as windows from "../../runtime/web/page/windows.js";

const source = (path) => readFileSync(new URL(`../../runtime/web/${path}`, import.meta.url), "utf8");
const named = (text, pattern) => [...new Set([...text.matchAll(pattern)].map((m) => m[1]))];

test("every call to the page has a function of its name, and only one", () => {
  const calls = named(source("page_calls.cpp"), /Module\.page\.(\w+)\(/g);
  assert.ok(calls.includes("openMenuBar") && calls.includes("messageBox"), `the calls read: ${calls}`);
  for (const name of calls) {
    const owners = [boxes, events, language, windows].filter((module) => typeof module[name] === "function");
    assert.equal(owners.length, 1, `${name}: ${owners.length} modules have it`);
  }
});

test("every export the page calls, the program exports", () => {
  const called = named(source("page/events.js"), /program\._(numerak_\w+)\(/g);
  assert.ok(called.includes("numerak_event"), `the exports read: ${called}`);
  const exported = named(source("web_runtime.cpp"), /EMSCRIPTEN_KEEPALIVE \w+ (numerak_\w+)\(/g);
  assert.deepEqual(called.sort(), exported.sort());
});
