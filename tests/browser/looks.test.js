// Looks: a statesheet the page knows is its class; any other still shows,
// marked; and a disabled control looks disabled whatever its statesheet.
const { test, expect, control, opened, focus } = require("./serve_fixture");

const knownLooks = ["alarm", "alarm_alarm", "alarm_ignore", "ctl_select_active", "ctl_select_inactive",
                    "QDSourceSelected", "QDSourceDeselected", "QD_Update_High", "QD_Update_Low",
                    "QD_Cancel_High", "QD_Cancel_Low"];

// Draws a button of Tavisk's panel through the page's own drawing of a pushed change.
function pushButton(page, look, enabled) {
  return page.evaluate(([look, enabled]) => {
    const section = document.querySelector('.script[data-script="ws"]');
    const button = {id: "WS_02", kind: "button", declared: true, x: 40, y: 170, w: 220, h: 100,
                    text: "Workstation 2", look, enabled, visible: true, properties: {}, panel: "1"};
    Panels.applyChange(section, {name: "ws", panels: [{id: "1", controls: [button]}]}, button);
  }, [look, enabled]);
}

const filterOf = (locator) => locator.evaluate((e) => getComputedStyle(e).filter);

test("an unknown look shows marked, a known one is its class, and disabled looks disabled over any look", async ({ page, serve }, info) => {
  const url = await serve(["--load", "ws=Tavisk:workstation=12", "--load", "cv=Corvane:workstation=12"]);
  await opened(page, url);
  await control(page, "ws", "1", "WS_01").click();
  await expect(control(page, "ws", "1", "WS_01")).toHaveClass(/look-alarm_alarm/);
  // The plug-ins send only looks the page knows; a pushed change with another
  // one goes through the same drawing code.
  await pushButton(page, "mauve_glow", true);
  const odd = control(page, "ws", "1", "WS_02");
  await expect(odd).toHaveAttribute("data-look", "mauve_glow");
  await expect(odd).toHaveClass(/look-unknown/);
  await expect(odd).toBeVisible();
  const badge = await odd.evaluate((e) => getComputedStyle(e, "::after").content);
  expect(badge).toContain("mauve_glow");
  await page.screenshot({ path: info.outputPath("unknown-look.png") });

  // Whatever its look, a disabled button loses its colour and is dimmed; an
  // enabled one keeps its look.
  for (const look of knownLooks) {
    await pushButton(page, look, false);
    expect(await filterOf(odd), look).toContain("grayscale(1)");
    expect(Number(await odd.evaluate((e) => getComputedStyle(e).opacity)), look).toBeLessThan(1);
    await pushButton(page, look, true);
    expect(await filterOf(odd), look).toBe("none");
  }

  // Corvane's names editor: Cancel is disabled under the red "QD_Cancel_High".
  for (const id of ["Area_name_1", "Type_1", "Edit_what_1", "Router_1", "DoEdit"]) {
    expect((await page.request.post(url + "api/scripts/cv/press", { data: { panel: "1", control: id } })).status()).toBe(200);
  }
  await focus(page, "cv");
  const cancel = control(page, "cv", "2", "Cancel");
  await expect(cancel).toHaveAttribute("data-look", "QD_Cancel_High");
  await expect(cancel).toBeDisabled();
  expect(await filterOf(cancel)).toContain("grayscale(1)");
  expect(await filterOf(control(page, "cv", "2", "Home"))).toBe("none");
});
