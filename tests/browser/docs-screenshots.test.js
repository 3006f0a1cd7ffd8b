// The pictures of docs/screenshots/: each plug-in's panels on the demo site at
// 1024x768 (workstation 14, the 1024 layouts) and 1280x1024 (workstation 12,
// the 1280 layouts). Run by tools/serve-screenshots.sh only, which names the
// folder in KOVO_SCREENSHOTS; the test run skips it.
const path = require("node:path");
const { test, opened, focus, expect, root, host } = require("./serve_fixture");

const out = process.env.KOVO_SCREENSHOTS;
// The plug-ins by a path from the source tree: the transcript's load lines then
// show no folder of this machine.
const plugins = path.relative(root, path.join(path.dirname(host), "..", "lib"));

// Each picture: the plug-in, its file name, and the operator's steps before it.
const scenes = [
  ["Tavisk", "tavisk-shutdown", [["press", "1", "WS_01"], ["press", "1", "WS_03"], ["press", "1", "Shutdown"]]],
  ["Corvane", "corvane-home", [["press", "1", "Area_name_1"], ["press", "1", "Type_1"],
                               ["press", "1", "Edit_what_1"], ["press", "1", "Router_1"]]],
  ["Corvane", "corvane-names", [["press", "1", "Area_name_1"], ["press", "1", "Type_1"], ["press", "1", "Edit_what_1"],
                                ["press", "1", "Router_1"], ["press", "1", "DoEdit"], ["choose", "2", "MtxNames", 4],
                                ["press", "2", "LongName"], ["type", "2", "KB_1", "Guest's Camera 2"],
                                ["press", "2", "Update"], ["choose", "2", "MtxNames", 6]]],
  ["Corvane", "corvane-package-names", [["press", "1", "Area_name_0"], ["press", "1", "Type_2"],
                                        ["press", "1", "Edit_what_1"], ["press", "1", "DoEdit"],
                                        ["choose", "3", "Group", 2], ["choose", "3", "PackageName", 5]]],
  ["Corvane", "corvane-package-content", [["press", "1", "Area_name_0"], ["press", "1", "Type_3"],
                                          ["press", "1", "Edit_what_3"], ["press", "1", "DoEdit"],
                                          ["choose", "4", "PackageName", 3], ["press", "4", "A_Name"],
                                          ["choose", "4", "LevelGroup", 3]]],
  ["Lindqar", "lindqar-home", [["press", "1", "XPT_map_11"], ["press", "1", "FN_1"]]],
  ["Lindqar", "lindqar-map", [["press", "1", "XPT_map_11"], ["press", "1", "FN_1"], ["press", "1", "Edit"],
                              ["press", "2", "Group_1"], ["press", "2", "Element_3"], ["choose", "2", "xpoints", 60]]],
  ["Lindqar", "lindqar-enables", [["press", "1", "XPT_map_11"], ["press", "1", "FN_5"], ["press", "1", "Edit"],
                                  ["press", "3", "Status_9"]]],
  ["Lindqar", "lindqar-group-names", [["press", "1", "XPT_map_11"], ["press", "1", "FN_3"], ["press", "1", "Edit"],
                                      ["press", "4", "Group_9"]]],
];

for (const [width, height, workstation] of [[1024, 768, 14], [1280, 1024, 12]]) {
  test(`pictures at ${width}x${height}`, async ({ page, serve }) => {
    test.skip(!out, "only for tools/serve-screenshots.sh");
    await page.setViewportSize({ width, height });
    const url = await serve(["--plugins", plugins]);
    await opened(page, url);
    for (const [plugin, name, steps] of scenes) {
      const script = name.split("-")[0];
      const api = (what, data) => page.request.post(url + "api/" + what, { data });
      expect((await api("scripts", { name: script, plugin, workstation })).status()).toBe(200);
      for (const [what, panel, id, value] of steps) {
        const body = { panel, control: id };
        if (what === "choose") body.position = value;
        if (what === "type") body.text = value;
        expect((await api("scripts/" + script + "/" + what, body)).status(), name + " " + id).toBe(200);
      }
      await focus(page, script);
      await page.waitForFunction((s) => document.querySelector(`.panel[data-script="${s}"]`)?.dataset.scale, script);
      await page.waitForTimeout(200);
      await page.screenshot({ path: path.join(out, `${name}-${width}.png`) });
      expect((await page.request.delete(url + "api/scripts/" + script)).status()).toBe(200);
    }
  });
}
