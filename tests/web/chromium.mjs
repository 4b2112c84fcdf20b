// chromium.mjs: Debian's Chromium, headless, as the browser test and the start-up benchmark start
// it, with playwright-core from this folder's lockfile. The browser is found on the PATH
// (NUMERAK_CHROMIUM names another); the flags keep it from calling home on a machine whose
// network is closed.
import { accessSync, constants } from "node:fs";
import { delimiter, join } from "node:path";

export { chromium } from "playwright-core";

function onPath(names) {
  for (const folder of (process.env.PATH || "").split(delimiter))
    for (const name of names) {
      try {
        accessSync(join(folder, name), constants.X_OK);
        return join(folder, name);
      } catch {
        // not here
      }
    }
  throw new Error(`no ${names.join(" or ")} on the PATH: install Debian's chromium`);
}

export const launchOptions = {
  executablePath: process.env.NUMERAK_CHROMIUM || onPath(["chromium", "chromium-browser"]),
  args: ["--disable-gpu", "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--no-first-run", "--disable-quic"],
};
