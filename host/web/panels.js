// Draws the shown panels of the loaded scripts from the model's state, at the
// layout's own coordinates, scaled to the space they have; operator actions
// go back to the server.
"use strict";

const Panels = (() => {
  // Looks the plug-ins use; any other look still shows, marked as unknown.
  const knownLooks = new Set([
    "alarm", "alarm_alarm", "alarm_ignore", "ctl_select_active", "ctl_select_inactive",
    "QDSourceSelected", "QDSourceDeselected", "QD_Update_High", "QD_Update_Low",
    "QD_Cancel_High", "QD_Cancel_Low",
  ]);

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

  function setState(e, script, panel, c) {
    e.dataset.script = script;
    e.dataset.panel = panel;
    e.dataset.control = c.id;
    e.dataset.kind = c.kind;
    e.dataset.look = c.look || "";
    e.dataset.enabled = String(c.enabled);
    e.dataset.visible = String(c.visible);
    e.classList.add("ctl", "kind-" + c.kind, lookClass(c.look));
    if (!c.enabled) e.classList.add("disabled");
    if (!c.visible) e.hidden = true;
    e.title = c.id + (c.look ? " (" + c.look + ")" : "");
    if (c.declared) {
      Object.assign(e.style, {left: c.x + "px", top: c.y + "px", width: c.w + "px", height: c.h + "px"});
    }
  }

  function listItem(text, position, selected) {
    const li = el("li", position === selected ? "selected" : "", text);
    li.dataset.position = String(position);
    return li;
  }

  function mapButtons(script, panel, c, showIndex) {
    const grid = el("div", "map-grid " + (showIndex ? "map-names" : "map-groups"));
    for (const b of c.buttons) {
      const button = el("button", "map-button" + (b.number === c.chosen ? " chosen" : ""));
      button.type = "button";
      button.dataset.position = String(b.number);
      button.disabled = !c.enabled || !b.enabled;
      button.append(el("span", "map-number", String(b.number)));
      button.append(el("span", "map-label", b.label));
      if (showIndex) button.append(el("span", "map-index", b.index > 0 ? "#" + b.index : "–"));
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
        e = el("button", "", c.text);
        e.type = "button";
        e.disabled = !c.enabled;
        e.addEventListener("click", () => act(script, "press", {panel, control: c.id}));
        break;
      }
      case "label": {
        e = el("div", "", c.text);
        if (c.enabled) e.addEventListener("click", () => act(script, "press", {panel, control: c.id}));
        break;
      }
      case "list": {
        e = el("div");
        const ol = el("ol", "entries");
        (c.entries || []).forEach((text, i) => ol.append(listItem(text, i, c.selected)));
        ol.addEventListener("click", (event) => {
          const li = event.target.closest("li");
          if (li && c.enabled) {
            act(script, "choose", {panel, control: c.id, position: Number(li.dataset.position)});
          }
        });
        e.append(ol);
        break;
      }
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
        e = el("div", "", c.text || c.id);
    }
    setState(e, script, panel, c);
    return e;
  }

  // The canvas keeps the layout's pixels; the frame scales it to its width.
  function fit(frame) {
    const canvas = frame.firstElementChild;
    if (!canvas) return;
    const width = Number(canvas.dataset.width) || 1;
    const height = Number(canvas.dataset.height) || 1;
    const scale = Math.min(frame.clientWidth / width, (window.innerHeight - 120) / height);
    canvas.style.transform = "scale(" + Math.max(scale, 0.1) + ")";
    frame.style.height = Math.ceil(height * Math.max(scale, 0.1)) + "px";
  }

  const resizer = new ResizeObserver((entries) => entries.forEach((entry) => fit(entry.target)));

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

  // Replaces what a script shows.
  function drawScript(section, s) {
    const body = section.querySelector(".script-panels");
    body.replaceChildren();
    if (!s.panels.length) body.append(el("p", "empty", "No panel is shown."));
    for (const p of s.panels) {
      body.append(el("h3", "panel-title", "panel " + p.id + " · " + p.layout +
                     (p.layoutKnown ? "" : " (no layout)")));
      body.append(panelElement(s.name, p));
    }
    section.querySelectorAll(".panel-frame").forEach(fit);
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
    // A list whose entries alone changed keeps its element: only those entries are redrawn.
    if (current && old && listChange && listChange.set && sameHead(old, next)) {
      const items = current.querySelectorAll("li");
      for (const [position, text] of listChange.set) {
        if (items[position]) items[position].textContent = text;
      }
      return;
    }
    const fresh = controlElement(s.name, change.panel, next);
    if (current) current.replaceWith(fresh); else canvas.append(fresh);
  }

  function sameHead(a, b) {
    const skip = new Set(["entries"]);
    const keys = new Set([...Object.keys(a), ...Object.keys(b)]);
    for (const k of keys) {
      if (skip.has(k)) continue;
      if (JSON.stringify(a[k]) !== JSON.stringify(b[k])) return false;
    }
    return true;
  }

  return {
    setAction: (fn) => { act = fn; },
    drawScript,
    applyChange,
  };
})();
