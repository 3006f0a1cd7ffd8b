// Browser tests of kovo-host serve: Debian's Chromium, headless, no browser download.
const { defineConfig } = require("@playwright/test");

module.exports = defineConfig({
  testDir: ".",
  testMatch: /.*\.test\.js/,
  timeout: 60000,
  workers: 1,
  retries: 0,
  reporter: [["list"]],
  outputDir: process.env.KOVO_BROWSER_OUT || "test-results",
  use: {
    browserName: "chromium",
    headless: true,
    viewport: { width: 1600, height: 1000 },
    launchOptions: {
      executablePath: process.env.KOVO_CHROMIUM || "/usr/bin/chromium",
      args: ["--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage"],
    },
  },
});
