// chromium.mjs: Debian's Chromium, headless, as the browser test and the start-up benchmark start
// it, with playwright-core from this folder's lockfile. The flags keep the browser from calling
// home on a machine whose network is closed.
export { chromium } from "playwright-core";

export const launchOptions = {
  executablePath: "/usr/bin/chromium",
  args: ["--disable-gpu", "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--no-first-run", "--disable-quic"],
};
