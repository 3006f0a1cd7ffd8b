// Workstation shutdown by clicks, a disabled button, two tabs, and a recording
// that replays green.
const fs = require("node:fs");
const { test, expect, runCheck, control, opened, focus } = require("./serve_fixture");

test("a disabled button cannot be pressed; a shutdown of two workstations by clicks reaches both, shown in the requests pane", async ({ page, serve }, info) => {
  const url = await serve(["--load", "ws=Tavisk:workstation=12"]);
  await opened(page, url);

  // Before any workstation is chosen, Confirm is disabled: a click does not reach the script.
  const confirm = control(page, "ws", "1", "Confirm");
  await expect(confirm).toHaveAttribute("data-enabled", "false");
  await expect(confirm).toBeDisabled();
  await confirm.click({ force: true });
  await control(page, "ws", "1", "WS_02").click();  // something that does arrive, to wait for
  await expect(page.locator("#transcript")).toContainText("WS_02 'button=released'");
  await expect(page.locator("#transcript")).not.toContainText("Confirm 'button=released'");
  // Over the API the same press is refused with the reason.
  const refused = await page.request.post(url + "api/scripts/ws/press", {
    data: { panel: "1", control: "Confirm" },
  });
  expect(refused.status()).toBe(409);
  expect((await refused.json()).error).toContain("disabled");
  await control(page, "ws", "1", "WS_02").click();  // chosen no more

  await control(page, "ws", "1", "WS_01").click();
  await control(page, "ws", "1", "WS_03").click();
  await control(page, "ws", "1", "Shutdown").click();
  await expect(control(page, "ws", "1", "Shutdown")).toHaveAttribute("data-look", "alarm_alarm");
  await expect(control(page, "ws", "1", "Confirm")).toHaveAttribute("data-enabled", "true");
  await control(page, "ws", "1", "Confirm").click();

  await page.getByRole("tab", { name: "Requests" }).click();
  await expect(page.locator('#requests [data-workstation="12"] .request')).toHaveText([
    "PX c:\\windows\\system32\\shutdown.exe /s /t 2",
  ]);
  await expect(page.locator('#requests [data-workstation="14"] .request')).toHaveText([
    "PX c:\\windows\\system32\\XpePM.exe -Shutdown",
  ]);
  await expect(page.locator("#requests .workstation")).toHaveCount(2);
  // The timer on the wall clock returns the panel to idle.
  await expect(control(page, "ws", "1", "Confirm")).toHaveAttribute("data-enabled", "false", { timeout: 3000 });
  await page.screenshot({ path: info.outputPath("tavisk.png") });
});

test("two tabs on one server stay in step", async ({ context, serve }) => {
  const url = await serve(["--load", "ws=Tavisk:workstation=12"]);
  const first = await context.newPage();
  const second = await context.newPage();
  await opened(first, url);
  await opened(second, url);
  await control(first, "ws", "1", "WS_04").click();
  await expect(control(second, "ws", "1", "WS_04")).toHaveAttribute("data-look", "alarm_alarm");
  await control(second, "ws", "1", "WS_04").click();
  await expect(control(first, "ws", "1", "WS_04")).toHaveAttribute("data-look", "alarm_ignore");
  // A script loaded in one tab appears in the other.
  await first.selectOption("#load-plugin", "Corvane");
  await first.fill("#load-name", "cv");
  await first.click("#load-button");
  await expect(second.locator('.panel[data-script="cv"]')).toHaveCount(1);
  // The tab that loaded it shows it; the other keeps its own script in view.
  await expect(first.locator('.script[data-script="cv"]')).toBeVisible();
  await expect(second.locator('.script[data-script="ws"]')).toBeVisible();
  await focus(second, "cv");
  await second.locator('[data-unload="cv"]').click();
  await expect(first.locator('.script[data-script="cv"]')).toHaveCount(0);
});

test("a recorded session downloads as a script that replays green", async ({ page, serve }, info) => {
  const url = await serve(["--load", "ws=Tavisk:workstation=12"]);
  await opened(page, url);
  await page.click("#record-toggle");
  await expect(page.locator("#record-toggle")).toHaveAttribute("data-recording", "true");
  await control(page, "ws", "1", "WS_02").click();
  await control(page, "ws", "1", "WS_05").click();
  await control(page, "ws", "1", "Restart").click();
  await control(page, "ws", "1", "Confirm").click();
  await expect(control(page, "ws", "1", "Confirm")).toHaveAttribute("data-enabled", "false", { timeout: 3000 });
  await page.click("#record-toggle");
  await expect(page.locator("#record-toggle")).toHaveAttribute("data-recording", "false");
  const [download] = await Promise.all([page.waitForEvent("download"), page.click("#record-download")]);
  const file = info.outputPath("recorded.kovo");
  await download.saveAs(file);
  const text = fs.readFileSync(file, "utf8");
  expect(text).toContain("press ws 1 Confirm\nexpect IW 998 ");
  expect(text).toContain("expect-px 13 ");
  const replay = runCheck(file);
  expect(replay.status, replay.stdout + replay.stderr).toBe(0);
});

test("while the server is away the panels show it, and a click says why nothing happens", async ({ page, serve }, info) => {
  const url = await serve(["--load", "ws=Tavisk:workstation=12"]);
  await opened(page, url);
  await expect(page.locator("#app")).toHaveAttribute("data-connection", "live");
  await serve.stop(url);
  await expect(page.locator("#app")).toHaveAttribute("data-connection", "lost");
  await expect(page.locator("#connection")).toContainText("server away");
  const frame = page.locator('.script[data-script="ws"] .panel-frame');
  expect(await frame.evaluate((e) => getComputedStyle(e, "::after").content)).toContain("Server unavailable");
  expect(await page.locator('.panel[data-script="ws"]').evaluate((e) => getComputedStyle(e).pointerEvents)).toBe("none");
  await control(page, "ws", "1", "WS_01").click({ force: true });
  await expect(page.locator("#message")).toBeVisible();
  await expect(page.locator("#message")).toHaveAttribute("data-kind", "error");
  await expect(page.locator("#message")).toContainText("server is away");
  await expect(control(page, "ws", "1", "WS_01")).toHaveAttribute("data-look", "alarm_ignore");
  await page.screenshot({ path: info.outputPath("server-away.png") });
});
