// The emulator page: takes the whole state when it connects, then every change
// the server pushes, and sends the operator's actions.
"use strict";

(() => {
  const $ = (id) => document.getElementById(id);
  const scripts = new Map();  // name -> {name, plugin, workstation, panels}
  let recording = false;
  let messageTimer = 0;

  function tell(text, kind) {
    const box = $("message");
    box.textContent = text;
    box.dataset.kind = kind;
    box.hidden = false;
    clearTimeout(messageTimer);
    messageTimer = setTimeout(() => { box.hidden = true; }, kind === "error" ? 6000 : 2500);
  }

  async function send(method, path, body) {
    const reply = await fetch(path, {
      method,
      headers: body === undefined ? {} : {"Content-Type": "application/json"},
      body: body === undefined ? undefined : JSON.stringify(body),
    });
    const answer = await reply.json().catch(() => ({}));
    if (!reply.ok) tell(answer.error || reply.statusText, "error");
    return {ok: reply.ok, status: reply.status, body: answer};
  }

  Panels.setAction((script, what, body) =>
    send("POST", "api/scripts/" + encodeURIComponent(script) + "/" + what, body));

  function section(name) {
    let s = document.querySelector('.script[data-script="' + CSS.escape(name) + '"]');
    if (!s) {
      s = document.createElement("article");
      s.className = "script";
      s.dataset.script = name;
      const head = document.createElement("header");
      head.className = "script-head";
      const title = document.createElement("h2");
      const unload = document.createElement("button");
      unload.type = "button";
      unload.className = "unload";
      unload.textContent = "Unload";
      unload.dataset.unload = name;
      unload.addEventListener("click", () => send("DELETE", "api/scripts/" + encodeURIComponent(name)));
      head.append(title, unload);
      const panels = document.createElement("div");
      panels.className = "script-panels";
      s.append(head, panels);
      $("scripts").append(s);
    }
    return s;
  }

  function drawHead(s) {
    const head = section(s.name).querySelector("h2");
    head.textContent = s.name + " ";
    const detail = document.createElement("span");
    detail.className = "muted";
    detail.textContent = s.plugin + " · workstation " + s.workstation;
    head.append(detail);
  }

  function setScripts(list) {
    const names = list.map((s) => s.name);
    for (const name of [...scripts.keys()]) {
      if (!names.includes(name)) {
        scripts.delete(name);
        section(name).remove();
      }
    }
    for (const s of list) {
      const known = scripts.get(s.name) || {panels: []};
      scripts.set(s.name, Object.assign(known, {name: s.name, plugin: s.plugin, workstation: s.workstation}));
      drawHead(scripts.get(s.name));
    }
    $("no-scripts").hidden = scripts.size > 0;
    $("scripts").dataset.count = String(scripts.size);
    Panes.setScripts(names);
    suggestName();
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
    $("site").textContent = state.site;
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
      case "transcript": Panes.addTranscript(message.entries, false, message.omitted); break;
      case "requests": Panes.addRequests(message.requests, false); break;
      case "names": Panes.namesChanged(); break;
      case "record": setRecord(message.on, message.lines); break;
    }
  }

  function connect() {
    const feed = new EventSource("api/events");
    feed.onopen = () => {
      $("connection").dataset.state = "live";
      $("connection").textContent = "live";
    };
    feed.onmessage = (event) => handle(JSON.parse(event.data));
    feed.onerror = () => {
      $("connection").dataset.state = "lost";
      $("connection").textContent = "reconnecting";
    };
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
      tell("loaded " + body.name, "info");
    }
  });
  $("record-toggle").addEventListener("click", () => send("POST", "api/record", {on: !recording}));
  Panes.init();
  connect();
})();
