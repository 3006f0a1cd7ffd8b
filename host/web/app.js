// The emulator page: takes the whole state when it connects, then every change
// the server pushes, and sends the operator's actions. One script's panels are
// in view at a time; the others wait behind their tabs.
"use strict";

(() => {
  const $ = (id) => document.getElementById(id);
  const scripts = new Map();  // name -> {name, plugin, workstation, panels}
  let focused = "";
  let wanted = "";  // loaded from this page: in view once the server lists it
  let recording = false;
  let messageTimer = 0;
  const noteShown = 8000;  // ms a write confirmation stays in a script's header

  // Messages sit in their own line beside the script tabs: they cover nothing.
  function tell(text, kind) {
    const box = $("message");
    box.textContent = text;
    box.title = text;
    box.dataset.kind = kind;
    box.hidden = false;
    clearTimeout(messageTimer);
    messageTimer = setTimeout(() => { box.hidden = true; }, kind === "error" ? 10000 : 3000);
  }

  function setConnection(state, text) {
    $("app").dataset.connection = state;
    $("connection").dataset.state = state;
    $("connection").textContent = text;
  }

  async function send(method, path, body) {
    let reply;
    try {
      // The page draws from the feed: an action's answer need not list its commands.
      const headers = {"Prefer": "return=minimal"};
      if (body !== undefined) headers["Content-Type"] = "application/json";
      reply = await fetch(path, {method, headers, body: body === undefined ? undefined : JSON.stringify(body)});
    } catch (failure) {
      setConnection("lost", "server away");
      tell("The server does not answer: nothing was done. It is tried again in the background.", "error");
      return {ok: false, status: 0, body: {}};
    }
    const answer = await reply.json().catch(() => ({}));
    if (!reply.ok) tell(answer.error || reply.statusText, "error");
    return {ok: reply.ok, status: reply.status, body: answer};
  }

  Panels.setAction((script, what, body) =>
    send("POST", "api/scripts/" + encodeURIComponent(script) + "/" + what, body));

  // ---- scripts: a section and a tab each

  function section(name) {
    let s = document.querySelector('.script[data-script="' + CSS.escape(name) + '"]');
    if (!s) {
      s = document.createElement("article");
      s.className = "script";
      s.dataset.script = name;
      s.hidden = true;
      const head = document.createElement("header");
      head.className = "script-head";
      const title = document.createElement("h2");
      const caption = document.createElement("span");
      caption.className = "panel-caption";
      const note = document.createElement("span");
      note.className = "write-note";
      note.hidden = true;
      const unload = document.createElement("button");
      unload.type = "button";
      unload.className = "unload";
      unload.textContent = "Unload";
      unload.dataset.unload = name;
      unload.addEventListener("click", () => send("DELETE", "api/scripts/" + encodeURIComponent(name)));
      head.append(title, caption, note, unload);
      const panels = document.createElement("div");
      panels.className = "script-panels";
      s.append(head, panels);
      $("scripts").append(s);
    }
    return s;
  }

  function tab(name) {
    let t = document.querySelector('.script-tab[data-script-tab="' + CSS.escape(name) + '"]');
    if (!t) {
      t = document.createElement("button");
      t.type = "button";
      t.className = "script-tab";
      t.setAttribute("role", "tab");
      t.dataset.scriptTab = name;
      t.addEventListener("click", () => focus(name));
      $("script-tabs").append(t);
    }
    return t;
  }

  function focus(name) {
    focused = scripts.has(name) ? name : (scripts.keys().next().value || "");
    for (const s of document.querySelectorAll(".script")) {
      const on = s.dataset.script === focused;
      s.hidden = !on;
      s.dataset.focused = String(on);
    }
    for (const t of document.querySelectorAll(".script-tab")) {
      const on = t.dataset.scriptTab === focused;
      t.setAttribute("aria-selected", String(on));
      if (on) t.classList.remove("wrote");
    }
  }

  function drawHead(s) {
    const head = section(s.name).querySelector("h2");
    head.textContent = s.name + " ";
    const detail = document.createElement("span");
    detail.className = "muted";
    detail.textContent = s.plugin + " · ws " + s.workstation;
    head.append(detail);
    head.title = s.name + ": " + s.plugin + " on workstation " + s.workstation;
    const t = tab(s.name);
    t.textContent = s.name + " ";
    const plugin = document.createElement("small");
    plugin.textContent = s.plugin;
    t.append(plugin);
  }

  function setScripts(list) {
    const names = list.map((s) => s.name);
    for (const name of [...scripts.keys()]) {
      if (!names.includes(name)) {
        scripts.delete(name);
        Panels.release(section(name));
        section(name).remove();
        tab(name).remove();
      }
    }
    for (const s of list) {
      const known = scripts.get(s.name) || {panels: []};
      scripts.set(s.name, Object.assign(known, {name: s.name, plugin: s.plugin, workstation: s.workstation}));
      drawHead(scripts.get(s.name));
    }
    $("no-scripts").hidden = scripts.size > 0;
    $("scripts").dataset.count = String(scripts.size);
    if (scripts.has(wanted)) {
      focus(wanted);
      wanted = "";
    } else {
      focus(focused);
    }
    Panes.setScripts(names);
    suggestName();
  }

  // ---- what a write stored, in the header of the script that wrote it

  const storedCommand = /^\s*\[[^\]]*\] 0 (RM .*)$/;
  const noteTimers = new Map();

  function noteWrites(entries) {
    const writes = new Map();  // script -> the "RM" texts of this push
    for (const e of entries) {
      const match = e.kind === "command" && storedCommand.exec(e.text);
      if (!match || !scripts.has(e.script)) continue;
      if (!writes.has(e.script)) writes.set(e.script, []);
      writes.get(e.script).push(match[1]);
    }
    for (const [name, texts] of writes) {
      const note = section(name).querySelector(".write-note");
      const last = texts[texts.length - 1];
      note.textContent = "✓ stored" + (texts.length > 1 ? " " + texts.length + ", the last" : "") + ": " + last;
      note.title = texts.join("\n");
      note.dataset.count = String(texts.length);
      note.hidden = false;
      if (name !== focused) tab(name).classList.add("wrote");
      clearTimeout(noteTimers.get(name));
      noteTimers.set(name, setTimeout(() => { note.hidden = true; }, noteShown));
    }
  }

  function setRecord(on, lines) {
    recording = on;
    const toggle = $("record-toggle");
    toggle.dataset.recording = String(on);
    toggle.textContent = on ? "Stop recording" : "Record";
    $("record-download").hidden = lines === 0;
    $("record-lines").textContent = lines ? lines + " lines" : "";
  }

  function snapshot(state) {
    // The site's folder name: the page does not show where the machine keeps it.
    $("site").textContent = String(state.site).split(/[\\/]/).filter(Boolean).pop() || "";
    const select = $("load-plugin");
    if (!select.options.length) {
      for (const p of state.plugins) select.append(new Option(p, p));
      $("load-workstation").value = state.firstWorkstation;
    }
    setScripts(state.scripts);
    for (const s of state.scripts) {
      scripts.get(s.name).panels = s.panels;
      Panels.drawScript(section(s.name), scripts.get(s.name));
    }
    Panes.addTranscript(state.transcript, true);
    Panes.addRequests(state.requests, true);
    setRecord(state.record.on, state.record.lines);
    $("app").dataset.ready = "true";
  }

  function handle(message) {
    switch (message.type) {
      case "snapshot": snapshot(message); break;
      case "scripts": setScripts(message.scripts); break;
      case "panels": {
        const s = scripts.get(message.script);
        if (!s) break;
        s.panels = message.panels;
        Panels.drawScript(section(s.name), s);
        break;
      }
      case "controls": {
        const s = scripts.get(message.script);
        if (!s) break;
        for (const change of message.controls) Panels.applyChange(section(s.name), s, change);
        break;
      }
      case "transcript":
        Panes.addTranscript(message.entries, false, message.omitted);
        noteWrites(message.entries);
        break;
      case "requests": Panes.addRequests(message.requests, false); break;
      case "names": Panes.namesChanged(); break;
      case "record": setRecord(message.on, message.lines); break;
    }
  }

  function connect() {
    const feed = new EventSource("api/events");
    feed.onopen = () => setConnection("live", "live");
    feed.onmessage = (event) => {
      if ($("app").dataset.connection !== "live") setConnection("live", "live");
      handle(JSON.parse(event.data));
    };
    feed.onerror = () => {
      // The browser tries again by itself; until then the panels are not usable.
      if (feed.readyState !== EventSource.CLOSED) {
        setConnection("lost", "server away: reconnecting");
        return;
      }
      // Refused (too many pages open at once): say why, and ask again later.
      setConnection("lost", "no live feed: trying again");
      explainRefusedFeed();
      setTimeout(connect, 5000);
    };
  }

  async function explainRefusedFeed() {
    try {
      const reply = await fetch("api/events");
      if (reply.ok) {
        reply.body?.cancel();  // let in after all: the next connect takes it
        return;
      }
      tell((await reply.json()).error || "the server refused the live feed", "error");
    } catch (e) {
      // away after all: the next connect says so
    }
  }

  function suggestName() {
    const plugin = $("load-plugin").value;
    if (!plugin || $("load-name").dataset.edited) return;
    const base = plugin.slice(0, 2).toLowerCase();
    let n = 1;
    while (scripts.has(base + n)) n++;
    $("load-name").value = base + n;
  }

  $("load-plugin").addEventListener("change", suggestName);
  $("load-name").addEventListener("input", () => { $("load-name").dataset.edited = "1"; });
  $("load-form").addEventListener("submit", async (event) => {
    event.preventDefault();
    const body = {name: $("load-name").value, plugin: $("load-plugin").value};
    if ($("load-workstation").value !== "") body.workstation = Number($("load-workstation").value);
    const result = await send("POST", "api/scripts", body);
    if (result.ok) {
      delete $("load-name").dataset.edited;
      // The feed may list the script before or after this answer comes.
      if (scripts.has(body.name)) focus(body.name); else wanted = body.name;
      tell("loaded " + body.name, "info");
    }
  });
  $("record-toggle").addEventListener("click", () => send("POST", "api/record", {on: !recording}));
  // A click on a panel while the server is away says why nothing happens.
  $("scripts").addEventListener("click", (event) => {
    if ($("app").dataset.connection !== "live" && event.target.closest(".panel-frame")) {
      tell("The server is away: the panels show its last state and take no clicks until it is back.", "error");
    }
  });
  $("panes-toggle").addEventListener("click", () => {
    const collapse = $("panes").dataset.collapsed !== "true";
    $("panes").dataset.collapsed = String(collapse);
    $("panes-toggle").setAttribute("aria-expanded", String(!collapse));
    $("panes-toggle").textContent = collapse ? "«" : "»";
    $("panes-toggle").title = collapse ? "Show the side panes" : "Hide the side panes";
  });
  Panes.init();
  connect();
})();
