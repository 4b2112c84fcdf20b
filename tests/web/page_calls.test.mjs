// Every call the program makes of the page (runtime/web/page_calls.hpp) has its function on the
// page, by the name the build's library hands it to.
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { test } from "node:test";
import * as boxes from "../../runtime/web/page/boxes.js";
import * as events from "../../runtime/web/page/events.js";
import * as language from "../../runtime/web/page/language.js";
import * as windows from "../../runtime/web/page/windows.js";

test("every call to the page has a function of its name, and only one", () => {
  const header = readFileSync(new URL("../../runtime/web/page_calls.hpp", import.meta.url), "utf8");
  const calls = [...header.matchAll(/^NUMERAK_(?:PAGE|WAITS) \S+ numerak_(\w+)\(/gm)].map((m) =>
    m[1].replace(/_(\w)/g, (_, letter) => letter.toUpperCase()));
  assert.ok(calls.includes("openMenuBar") && calls.includes("messageBox"), `the calls read: ${calls}`);
  for (const name of calls) {
    const owners = [boxes, events, language, windows].filter((module) => typeof module[name] === "function");
    assert.equal(owners.length, 1, `${name}: ${owners.length} modules have it`);
  }
});
