// Draws the shown panels of the loaded scripts from the model's state, at the
// layout's own coordinates, scaled to the room the page gives them; operator
// actions go back to the server.
"use strict";

const Panels = (() => {
  // Looks the plug-ins use; any other look still shows, marked as unknown.
  const knownLooks = new Set([
    "alarm", "alarm_alarm", "alarm_ignore", "ctl_select_active", "ctl_select_inactive",
    "QDSourceSelected", "QDSourceDeselected", "QD_Update_High", "QD_Update_Low",
    "QD_Cancel_High", "QD_Cancel_Low",
  ]);
  const rowHeight = 34;  // a list row, in layout pixels (style.css draws it so)
  const bareNumber = /^\d+$/;
  const numberedEntry = /^(\d+) - (.*)$/;

  let act = () => {};  // (script, what, body) -> Promise, set by the app

  function lookClass(look) {
    if (!look) return "look-none";
    return knownLooks.has(look) ? "look-" + look : "look-unknown";
  }

  function el(tag, className, text) {
    const e = document.createElement(tag);
    if (className) e.className = className;
    if (text !== undefined) e.textContent = text;
    return e;
  }

  // The control's attributes of the DOM contract, its classes and its place.
  function setState(e, script, panel, c) {
    e.dataset.script = script;
    e.dataset.panel = panel;
    e.dataset.control = c.id;
    e.dataset.kind = c.kind;
    e.dataset.look = c.look || "";
    e.dataset.enabled = String(c.enabled);
    e.dataset.visible = String(c.visible);
    e.className = "ctl kind-" + c.kind + " " + lookClass(c.look) + (c.enabled ? "" : " disabled");
    e.hidden = !c.visible;
    e.title = c.id + (c.look ? " (" + c.look + ")" : "");
    e.plainTitle = undefined;  // the text fit takes it afresh
    if (c.declared) {
      Object.assign(e.style, {left: c.x + "px", top: c.y + "px", width: c.w + "px", height: c.h + "px"});
    }
  }

  function fitText(text, lines = "") {
    return el("span", "fit" + lines, text);
  }

  // ---- lists: only the rows in view are drawn

  // A crosspoint list that shows bare numbers ("007") gets the name another
  // list of the same panel gives that number ("007 - StC Cam 7") as a muted
  // hint beside it: the entry itself stays as the plug-in sent it.
  function numberNames(list) {
    if (!list.numberNames) {
      list.numberNames = new Map();
      for (const entry of list.entries) {
        const match = numberedEntry.exec(entry);
        if (match) list.numberNames.set(String(Number(match[1])), match[2]);
      }
    }
    return list.numberNames;
  }

  function hintFor(list, text) {
    if (!bareNumber.test(text)) return "";
    const canvas = list.closest(".panel");
    if (!canvas) return "";
    for (const other of canvas.querySelectorAll(".kind-list")) {
      if (other === list || !other.entries) continue;
      const name = numberNames(other).get(String(Number(text)));
      if (name !== undefined) return name;
    }
    return "";
  }

  function fillRow(list, li, position) {
    const text = list.entries[position];
    if (li.textContent !== text) {
      li.textContent = text;
      li.title = text;  // a row too long for the list ends in an ellipsis
    }
    li.dataset.position = String(position);
    li.className = position === list.selected ? "selected" : "";
    const hint = hintFor(list, text);
    if (hint) li.dataset.hint = hint; else delete li.dataset.hint;
  }

  function setEntries(list, c) {
    list.entries = c.entries || [];
    list.numberNames = undefined;
    const moved = list.selected !== c.selected;
    list.selected = c.selected;
    list.dataset.length = String(list.entries.length);
    list.virtualList.setLength(list.entries.length);
    if (moved && c.selected >= 0) list.virtualList.reveal(c.selected);
  }

  function listElement(script, panel, c) {
    const e = el("div");
    e.entries = [];
    VirtualList.create(e, rowHeight, c.h, (li, position) => fillRow(e, li, position));
    e.addEventListener("click", (event) => {
      const li = event.target.closest("li");
      if (li && e.dataset.enabled === "true") {
        act(script, "choose", {panel, control: c.id, position: Number(li.dataset.position)});
      }
    });
    return e;
  }

  // ---- the device-map controls

  function mapButtons(script, panel, c, showIndex) {
    const grid = el("div", "map-grid " + (showIndex ? "map-names" : "map-groups"));
    for (const b of c.buttons) {
      const button = el("button", "map-button" + (b.number === c.chosen ? " chosen" : ""));
      button.type = "button";
      button.dataset.position = String(b.number);
      button.disabled = !c.enabled || !b.enabled;
      // Its number, and on a name map the index behind it, are in the tooltip.
      button.title = (showIndex ? "button " : "group ") + b.number +
                     (showIndex ? (b.index > 0 ? ", index " + b.index : ", empty") : "");
      button.append(fitText(b.label, " wrap"));
      button.addEventListener("click", () =>
        act(script, "choose", {panel, control: c.id, position: b.number}));
      grid.append(button);
    }
    return grid;
  }

  function controlElement(script, panel, c) {
    let e;
    switch (c.kind) {
      case "button": {
        e = el("button");
        e.type = "button";
        e.append(fitText(c.text));
        e.disabled = !c.enabled;
        e.addEventListener("click", () => act(script, "press", {panel, control: c.id}));
        break;
      }
      case "label": {
        e = el("div");
        e.append(fitText(c.text));
        e.addEventListener("click", () => {
          if (e.dataset.enabled === "true") act(script, "press", {panel, control: c.id});
        });
        break;
      }
      case "list":
        e = listElement(script, panel, c);
        break;
      case "keyboard": {
        e = el("form");
        const input = el("input", "keyboard-text");
        input.type = "text";
        input.value = c.text;
        input.disabled = !c.enabled;
        input.setAttribute("aria-label", "keyboard " + c.id);
        const enter = el("button", "keyboard-enter", "Enter");
        enter.type = "submit";
        enter.disabled = !c.enabled;
        e.append(input, enter);
        e.addEventListener("submit", (event) => {
          event.preventDefault();
          act(script, "type", {panel, control: c.id, text: input.value});
        });
        break;
      }
      case "groupselector":
        e = el("div");
        e.append(mapButtons(script, panel, c, false));
        break;
      case "namemap":
        e = el("div");
        e.append(mapButtons(script, panel, c, true));
        break;
      default:
        e = el("div");
        e.append(fitText(c.text || c.id));
    }
    setState(e, script, panel, c);
    if (c.kind === "list") setEntries(e, c);
    return e;
  }

  // ---- panels, scaled to the room they have

  // The canvas keeps the layout's pixels; the frame scales it to fit, whole.
  // Called when the frame is laid out with a new size (a ResizeObserver, so
  // after layout and before paint: a panel is never painted unfitted).
  function fit(frame, room) {
    const canvas = frame.firstElementChild;
    if (!canvas || room.width === 0) return;  // not shown now
    const width = Number(canvas.dataset.width) || 1;
    const height = Number(canvas.dataset.height) || 1;
    const scale = Math.max(0.1, Math.min(room.width / width, room.height / height));
    const left = Math.max(0, (room.width - width * scale) / 2);
    canvas.style.transform = "translate(" + left + "px, 0) scale(" + scale + ")";
    canvas.dataset.scale = String(scale);
    // Also at the same scale: texts changed while the panel was hidden are not fitted yet.
    TextFit.fit(canvas.querySelectorAll(".fit"), scale);
  }

  const resizer = new ResizeObserver((entries) =>
    entries.forEach((entry) => fit(entry.target, entry.contentRect)));

  // Texts of controls changed by a push are fitted together at the next frame:
  // a push that changes many controls measures them at once, and none forces
  // a layout of the page while the push is handled.
  const unfitted = new Set();
  function fitSoon(texts) {
    if (!unfitted.size) {
      requestAnimationFrame(() => {
        const byPanel = new Map();
        for (const text of unfitted) {
          const canvas = text.closest(".panel");
          if (!canvas || !canvas.dataset.scale) continue;  // fitted when its panel shows
          if (!byPanel.has(canvas)) byPanel.set(canvas, []);
          byPanel.get(canvas).push(text);
        }
        unfitted.clear();
        for (const [canvas, texts] of byPanel) TextFit.fit(texts, Number(canvas.dataset.scale));
      });
    }
    texts.forEach((text) => unfitted.add(text));
  }

  function panelElement(script, p) {
    const frame = el("div", "panel-frame");
    const canvas = el("div", "panel");
    canvas.dataset.script = script;
    canvas.dataset.panel = p.id;
    canvas.dataset.width = p.width || 1280;
    canvas.dataset.height = p.height || 1024;
    canvas.style.width = (p.width || 1280) + "px";
    canvas.style.height = (p.height || 1024) + "px";
    if (!p.layoutKnown) canvas.classList.add("no-layout");
    for (const c of p.controls) canvas.append(controlElement(script, p.id, c));
    frame.append(canvas);
    resizer.observe(frame);
    return frame;
  }

  function caption(s) {
    if (!s.panels.length) return {text: "no panel shown", title: ""};
    return {
      text: s.panels.map((p) => "panel " + p.id + " · " + p.layout.split("/").pop() +
                         (p.layoutKnown ? "" : " (no layout)")).join(", "),
      title: s.panels.map((p) => "panel " + p.id + ": " + p.layout).join("\n"),
    };
  }

  // What leaves the page is no longer watched for its size.
  function release(root) {
    root.querySelectorAll(".panel-frame").forEach((frame) => resizer.unobserve(frame));
    root.querySelectorAll(".kind-list").forEach((list) => list.virtualList.release());
    if (root.virtualList) root.virtualList.release();
  }

  // Replaces what a script shows.
  function drawScript(section, s) {
    const body = section.querySelector(".script-panels");
    release(body);
    body.replaceChildren();
    if (!s.panels.length) body.append(el("p", "empty", "No panel is shown."));
    for (const p of s.panels) body.append(panelElement(s.name, p));
    const title = section.querySelector(".panel-caption");
    const text = caption(s);
    title.textContent = text.text;
    title.title = text.title;
  }

  // Applies one pushed change of a control to the model and to the page.
  function applyChange(section, s, change) {
    const panel = s.panels.find((p) => p.id === change.panel);
    if (!panel) return;
    const at = panel.controls.findIndex((c) => c.id === change.id);
    const old = at >= 0 ? panel.controls[at] : null;
    const next = Object.assign({}, change);
    delete next.panel;
    delete next.entriesChange;
    let entries = old && old.entries ? old.entries : [];
    const listChange = change.entriesChange;
    if (listChange && listChange.set) {
      entries = entries.slice();
      for (const [position, text] of listChange.set) entries[position] = text;
    } else if (listChange) {
      entries = entries.slice(0, listChange.from).concat(listChange.tail);
    }
    if (next.length !== undefined && next.entries === undefined) next.entries = entries;
    if (at >= 0) panel.controls[at] = next; else panel.controls.push(next);

    const canvas = section.querySelector('.panel[data-panel="' + CSS.escape(change.panel) + '"]');
    if (!canvas) return;
    const current = canvas.querySelector('[data-control="' + CSS.escape(change.id) + '"]');
    // A button or label whose text and place stay (a press that changes a look
    // or enables a control) keeps its element, and its text the size it has.
    if (current && old && (next.kind === "button" || next.kind === "label") && old.kind === next.kind &&
        old.text === next.text && sameBox(old, next)) {
      setState(current, s.name, change.panel, next);
      if (next.kind === "button") current.disabled = !next.enabled;
      const text = current.querySelector(".fit");
      if (text.classList.contains("clipped")) {
        current.plainTitle = current.title;
        current.title = text.textContent;
      }
      return;
    }
    // A list keeps its element (and where it is scrolled to): its rows are redrawn.
    if (current && old && next.kind === "list" && old.kind === "list" && sameBox(old, next)) {
      setState(current, s.name, change.panel, next);
      setEntries(current, next);
      canvas.querySelectorAll(".kind-list").forEach((list) => {
        if (list !== current) list.virtualList.redraw();  // their number hints may have changed
      });
      return;
    }
    const fresh = controlElement(s.name, change.panel, next);
    if (current) {
      release(current);
      current.replaceWith(fresh);
    } else {
      canvas.append(fresh);
    }
    const texts = fresh.querySelectorAll(".fit");
    if (texts.length) fitSoon(texts);
  }

  function sameBox(a, b) {
    return a.x === b.x && a.y === b.y && a.w === b.w && a.h === b.h;
  }

  return {
    setAction: (fn) => { act = fn; },
    drawScript,
    applyChange,
    release,
  };
})();
