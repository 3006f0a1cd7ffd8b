// Starts one kovo-host serve per test, on a free port with a private name store,
// and stops it afterwards.
const base = require("@playwright/test");
const { spawn, spawnSync } = require("node:child_process");
const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");

const root = path.resolve(__dirname, "..", "..");
const host = process.env.KOVO_HOST || path.join(root, "build", "default", "bin", "kovo-host");

function startServer(args) {
  const state = fs.mkdtempSync(path.join(os.tmpdir(), "kovo-serve-"));
  const child = spawn(host, ["serve", "--fresh-db", "--state", state, "--port", "0", ...args], {
    cwd: root,  // relative paths in arguments are the source tree's
    stdio: ["ignore", "pipe", "pipe"],
  });
  let output = "";
  const ready = new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error("kovo-host serve did not start:\n" + output)), 20000);
    child.stdout.on("data", (chunk) => {
      output += chunk;
      const match = /open (http:\/\/\S+\/)/.exec(output);
      if (match) {
        clearTimeout(timer);
        resolve(match[1]);
      }
    });
    child.stderr.on("data", (chunk) => { output += chunk; });
    child.on("exit", (code) => reject(new Error("kovo-host serve ended with " + code + ":\n" + output)));
  });
  return { child, state, ready };
}

async function stopServer(server) {
  if (server.child.exitCode === null && server.child.signalCode === null) {
    const ended = new Promise((resolve) => server.child.on("exit", resolve));
    server.child.kill("SIGTERM");
    await ended;
  }
  fs.rmSync(server.state, { recursive: true, force: true });
}

const test = base.test.extend({
  // serve(["--load", "ws=Tavisk"]) -> the page's address; serve.stop(address)
  // stops that server before the test ends.
  serve: async ({}, use) => {
    const started = new Map();  // address -> server
    const serve = async (args = []) => {
      const server = startServer(args);
      const address = await server.ready;
      started.set(address, server);
      return address;
    };
    serve.stop = (address) => stopServer(started.get(address));
    await use(serve);
    for (const server of started.values()) await stopServer(server);
  },
});

// Runs a session script the way CI does: kovo-host run --check with a fresh store.
function runCheck(script) {
  const state = fs.mkdtempSync(path.join(os.tmpdir(), "kovo-replay-"));
  const result = spawnSync(host, ["run", "--check", "--fresh-db", "--state", state, script], {
    encoding: "utf8",
  });
  fs.rmSync(state, { recursive: true, force: true });
  return result;
}

// The control element of the DOM contract.
function control(page, script, panel, id) {
  return page.locator(`[data-script="${script}"][data-panel="${panel}"][data-control="${id}"]`);
}

async function opened(page, url) {
  await page.goto(url);
  await base.expect(page.locator("#app")).toHaveAttribute("data-ready", "true");
}

// Brings a script's panels into view (one script is in view at a time).
async function focus(page, script) {
  await page.locator(`.script-tab[data-script-tab="${script}"]`).click();
  await base.expect(page.locator(`.script[data-script="${script}"]`)).toBeVisible();
}

module.exports = { test, expect: base.expect, runCheck, control, opened, focus, root, host };
