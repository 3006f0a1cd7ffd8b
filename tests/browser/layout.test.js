// The page at the widths the panels are made for: a panel and the side panes in
// view together, texts readable and inside their buttons on every layout of the
// demo site, and messages that cover nothing.
const { test, expect, opened, focus } = require("./serve_fixture");

const demo = ["--load", "ws=Tavisk:workstation=12", "--load", "cv=Corvane:workstation=12",
              "--load", "map=Lindqar:workstation=12"];

// Every text of a script's panel in view: its size on screen, whether it fits
// its box, and how a text that does not fit is cut (an ellipsis, and the whole
// text as the tooltip).
// A panel takes its scale, and its texts their sizes, at the first frame after
// it shows or the window changes size.
function settled(page) {
  return page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
}

async function textsOf(page, script) {
  await page.waitForFunction((script) =>
    document.querySelector(`.panel[data-script="${script}"]`)?.dataset.scale, script);
  await settled(page);
  return page.evaluate((script) => {
    const canvas = document.querySelector(`.panel[data-script="${script}"]`);
    const scale = Number(canvas.dataset.scale);
    const rows = [...canvas.querySelectorAll(".kind-list li")].map((li) => {
      const style = getComputedStyle(li);
      return {
        where: "row of " + li.closest(".ctl").dataset.control + ": " + li.textContent,
        text: li.textContent,
        screenPx: parseFloat(style.fontSize) * scale,
        fits: li.scrollWidth <= li.clientWidth,
        ellipsis: style.textOverflow === "ellipsis" && style.overflowX === "hidden",
        tooltip: li.title,
      };
    });
    return [...canvas.querySelectorAll(".fit")]
      .filter((t) => t.getClientRects().length && t.textContent.trim())
      .map((t) => {
        const box = t.parentElement;
        const padding = getComputedStyle(box);
        const room = box.clientWidth - parseFloat(padding.paddingLeft) - parseFloat(padding.paddingRight);
        const height = box.clientHeight - parseFloat(padding.paddingTop) - parseFloat(padding.paddingBottom);
        const style = getComputedStyle(t);
        return {
          where: (box.dataset.control || "button " + box.dataset.position) + ": " + t.textContent,
          text: t.textContent,
          screenPx: parseFloat(style.fontSize) * scale,
          fits: t.scrollWidth <= t.clientWidth && t.clientWidth <= room + 0.5 && t.scrollHeight <= height + 0.5,
          ellipsis: style.textOverflow === "ellipsis" && style.overflowX === "hidden",
          tooltip: box.title,
        };
      })
      .concat(rows);
  }, script);
}

function box(locator) {
  return locator.boundingBox();
}

function overlap(a, b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

test("at 1024x768 and 1280x1024 each panel is in view with the side panes, readable; an error covers neither", async ({ page, serve }) => {
  const url = await serve(demo);
  await opened(page, url);
  for (const viewport of [{ width: 1280, height: 1024 }, { width: 1024, height: 768 }]) {
    await page.setViewportSize(viewport);
    await page.getByRole("tab", { name: "Transcript" }).click();
    const panes = await box(page.locator("#panes"));
    for (const script of ["ws", "cv", "map"]) {
      await focus(page, script);
      const where = `${viewport.width}: ${script}`;
      await settled(page);
      const panel = await box(page.locator(`.panel[data-script="${script}"]`));
      expect(panel.y, where).toBeGreaterThanOrEqual(0);
      expect(panel.x + panel.width, where).toBeLessThanOrEqual(viewport.width);
      expect(panel.y + panel.height, where).toBeLessThanOrEqual(viewport.height);
      expect(overlap(panel, panes), where + ": the panes cover the panel").toBe(false);
      for (const t of await textsOf(page, script)) {
        expect(t.screenPx, where + " " + t.where).toBeGreaterThanOrEqual(10.95);
      }
    }
    expect(panes.x + panes.width).toBeLessThanOrEqual(viewport.width);
    expect(panes.y + panes.height).toBeLessThanOrEqual(viewport.height);
    expect(panes.width).toBeGreaterThanOrEqual(280);
    await page.getByRole("tab", { name: "Names" }).click();
    expect((await box(page.locator("#names-search"))).width).toBeGreaterThanOrEqual(200);
  }

  // Folded, the panes give the panel their room; unfolded, they are back.
  const before = await box(page.locator('.panel[data-script="map"]'));
  await page.click("#panes-toggle");
  await expect(page.locator("#panes")).toHaveAttribute("data-collapsed", "true");
  await expect.poll(async () => (await box(page.locator('.panel[data-script="map"]'))).width)
    .toBeGreaterThan(before.width);
  await page.click("#panes-toggle");
  await expect(page.locator("#names-search")).toBeVisible();

  // A refusal shows in the message line beside the tabs, over nothing.
  await page.selectOption("#load-plugin", "Tavisk");
  await page.fill("#load-name", "ws");
  await page.click("#load-button");
  const message = page.locator("#message");
  await expect(message).toBeVisible();
  await expect(message).toHaveAttribute("data-kind", "error");
  await expect(message).toContainText("already loaded");
  const said = await box(message);
  expect(overlap(said, await box(page.locator(".panel:visible")))).toBe(false);
  expect(overlap(said, await box(page.locator("#panes")))).toBe(false);
});

// How to reach each panel of the demo site's layouts from a fresh load.
const walks = [
  ["Tavisk", []],
  ["Corvane", []],
  ["Corvane", [["press", "1", "Area_name_1"], ["press", "1", "Type_1"], ["press", "1", "Edit_what_1"],
               ["press", "1", "Router_1"], ["press", "1", "DoEdit"]]],
  ["Corvane", [["press", "1", "Area_name_0"], ["press", "1", "Type_2"], ["press", "1", "Edit_what_1"],
               ["press", "1", "DoEdit"], ["choose", "3", "Group", 2]]],
  ["Corvane", [["press", "1", "Area_name_0"], ["press", "1", "Type_3"], ["press", "1", "Edit_what_3"],
               ["press", "1", "DoEdit"]]],
  ["Lindqar", []],
  ["Lindqar", [["press", "1", "XPT_map_11"], ["press", "1", "FN_1"], ["press", "1", "Edit"]]],
  ["Lindqar", [["press", "1", "XPT_map_11"], ["press", "1", "FN_5"], ["press", "1", "Edit"]]],
  ["Lindqar", [["press", "1", "XPT_map_11"], ["press", "1", "FN_3"], ["press", "1", "Edit"]]],
];

// Walks every layout of the demo site on both screen widths (workstation 12:
// the 1280 layouts, 14: the 1024 ones) and returns the texts of each panel.
async function everyLayout(page, url, workstations, check) {
  for (const workstation of workstations) {
    for (const [plugin, steps] of walks) {
      const api = (path, data) => page.request.post(url + "api/" + path, { data });
      expect((await api("scripts", { name: "t", plugin, workstation })).status()).toBe(200);
      for (const [what, panel, control, position] of steps) {
        const done = await api("scripts/t/" + what, { panel, control, position });
        expect(done.status(), plugin + " " + control).toBe(200);
      }
      await focus(page, "t");
      const shown = page.locator('.panel[data-script="t"]');
      const layout = await page.locator('.script[data-script="t"] .panel-caption').textContent();
      await expect(shown).toHaveCount(1);
      await check(layout, await textsOf(page, "t"));
      const gone = await page.request.delete(url + "api/scripts/t");
      expect(gone.status()).toBe(200);
      await expect(page.locator('.script-tab[data-script-tab="t"]')).toHaveCount(0);
    }
  }
}

test("on every layout of the demo site no text is clipped or below 11 px at 1024x768, and all fit at 1280x1024", async ({ page, serve }) => {
  await page.setViewportSize({ width: 1024, height: 768 });
  const url = await serve();
  await opened(page, url);
  let texts = 0;
  let cut = 0;
  await everyLayout(page, url, [12, 14], async (layout, found) => {
    expect(found.length, layout).toBeGreaterThan(0);
    for (const t of found) {
      texts++;
      expect(t.screenPx, layout + " " + t.where).toBeGreaterThanOrEqual(10.95);
      if (t.fits) continue;
      cut++;
      // What does not fit ends in an ellipsis, and the tooltip tells it all.
      expect(t.ellipsis, layout + " " + t.where).toBe(true);
      expect(t.tooltip, layout + " " + t.where).toBe(t.text);
    }
  });
  console.log(`1024x768: ${texts} texts and list rows on 18 panels, ${cut} shortened with an ellipsis, none clipped`);

  // At the width they are made for, the 1280 layouts need no ellipsis at all.
  await page.setViewportSize({ width: 1280, height: 1024 });
  await everyLayout(page, url, [12], async (layout, found) => {
    for (const t of found) expect(t.fits, "1280: " + layout + " " + t.where).toBe(true);
  });
});
