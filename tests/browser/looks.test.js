// Looks: a statesheet the page knows is its class; any other still shows, marked.
const { test, expect, control, opened } = require("./serve_fixture");

test("an unknown look shows, visibly marked, and a known one is its class", async ({ page, serve }, info) => {
  const url = await serve(["--load", "ws=Tavisk:workstation=12"]);
  await opened(page, url);
  await control(page, "ws", "1", "WS_01").click();
  await expect(control(page, "ws", "1", "WS_01")).toHaveClass(/look-alarm_alarm/);
  // The plug-ins send only looks the page knows; a pushed change with another
  // one goes through the same drawing code.
  await page.evaluate(() => {
    const section = document.querySelector('.script[data-script="ws"]');
    const button = {id: "WS_02", kind: "button", declared: true, x: 40, y: 170, w: 220, h: 100,
                    text: "Workstation 2", look: "mauve_glow", enabled: true, visible: true,
                    properties: {}, panel: "1"};
    Panels.applyChange(section, {name: "ws", panels: [{id: "1", controls: [button]}]}, button);
  });
  const odd = control(page, "ws", "1", "WS_02");
  await expect(odd).toHaveAttribute("data-look", "mauve_glow");
  await expect(odd).toHaveClass(/look-unknown/);
  await expect(odd).toBeVisible();
  const badge = await odd.evaluate((e) => getComputedStyle(e, "::after").content);
  expect(badge).toContain("mauve_glow");
  await page.screenshot({ path: info.outputPath("unknown-look.png") });
});
