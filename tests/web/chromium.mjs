// chromium.mjs: Debian's Chromium, headless, as the browser test and the start-up benchmark start
// it, with playwright-core from this folder's lockfile. The browser is found on the PATH
// (NUMERAK_CHROMIUM names another); the flags keep it from calling home on a machine whose
// network is closed.
import { accessSync, constants } from "node:fs";
import { delimiter, join } from "node:path";
import { serve } from "../../scripts/serve.mjs";

import { chromium } from "playwright-core";

export { chromium };

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

// The site of a folder served on the loopback interface and a browser to visit it, for the tests
// of this folder: its address, the browser, and what closes both.
export async function siteInBrowser(site) {
  const server = await serve(site);
  const browser = await chromium.launch(launchOptions);
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    browser,
    close: async () => {
      await browser.close();
      server.close();
    },
  };
}
