// The side panes: transcript, stored names, process-execution requests and
// the plug-ins' debug output.
"use strict";

const Panes = (() => {
  const keptLines = 20000;  // as many as the server keeps (GET api/transcript)
  const lineHeight = 18;    // a transcript row, in px (style.css draws it so)
  const nameHeight = 22;    // a row of the stored names, likewise
  const $ = (id) => document.getElementById(id);
  let devices = [];
  let namesTimer = 0;
  let lines = [];        // the transcript entries received, oldest first
  let shownLines = [];   // those the script and text filters let through
  let debugLines = [];   // the debug output among them
  let transcriptList = null;
  let debugList = null;
  let names = [];        // the stored names shown: {index, name}, in index order
  let namesList = null;
  let namesAsked = 0;    // the newest request for them (an older answer is dropped)

  function showPane(name) {
    document.querySelectorAll(".tabs [data-pane]").forEach((tab) =>
      tab.setAttribute("aria-selected", String(tab.dataset.pane === name)));
    document.querySelectorAll(".pane").forEach((pane) => { pane.hidden = pane.dataset.pane !== name; });
    if (name === "names") refreshNames();
  }

  // ---- transcript and debug output: logs that draw only the rows in view

  function fillLine(li, line) {
    li.className = "line kind-" + line.kind;
    li.dataset.seq = String(line.seq);
    li.dataset.script = line.script;
    li.dataset.kind = line.kind;
    if (li.textContent !== line.text) {
      li.textContent = line.text;
      li.title = line.text;  // a line wider than the pane, whole
    }
  }

  function lineFilter() {
    const script = $("transcript-script").value;
    const text = $("transcript-filter").value.toLowerCase();
    return (line) => (!script || line.script === script) && (!text || line.text.toLowerCase().includes(text));
  }

  function filterTranscript() {
    const passes = lineFilter();
    shownLines = lines.filter(passes);
    transcriptList.setLength(shownLines.length);
  }

  function addTranscript(entries, replace, omitted) {
    if (replace) {
      lines = [];
      debugLines = [];
    }
    const after = lines.length ? lines[lines.length - 1].seq : 0;
    const fresh = entries.filter((e) => e.seq > after);
    if (omitted && fresh.length) {
      fresh.unshift({seq: fresh[0].seq - 1, kind: "note", script: "",
                     text: "… " + omitted + " earlier entries of this step (the API keeps the newest " +
                           "20000: GET api/transcript)"});
    }
    lines.push(...fresh);
    debugLines.push(...fresh.filter((e) => e.kind === "debug"));
    // Trimmed in steps, not one entry at a time; until then lines are only added.
    const trim = replace || lines.length > keptLines * 1.25;
    if (trim) {
      lines = lines.slice(-keptLines);
      debugLines = debugLines.slice(-keptLines);
      filterTranscript();
    } else {
      shownLines.push(...fresh.filter(lineFilter()));
      transcriptList.setLength(shownLines.length, true);
    }
    debugList.setLength(debugLines.length, !trim);
  }

  function setScripts(names) {
    const select = $("transcript-script");
    const chosen = select.value;
    select.replaceChildren(new Option("all scripts", ""));
    for (const name of names) select.append(new Option(name, name));
    select.value = names.includes(chosen) ? chosen : "";
  }

  function addRequests(requests, replace) {
    const box = $("requests");
    if (replace) box.replaceChildren();
    for (const r of requests) {
      box.querySelector(".empty")?.remove();
      let group = box.querySelector('[data-workstation="' + r.workstation + '"]');
      if (!group) {
        group = document.createElement("section");
        group.className = "workstation";
        group.dataset.workstation = String(r.workstation);
        const title = document.createElement("h4");
        title.textContent = "Workstation " + r.workstation;
        group.append(title, document.createElement("ol"));
        box.append(group);
      }
      const li = document.createElement("li");
      li.className = "request";
      li.textContent = r.text;
      group.querySelector("ol").append(li);
    }
    if (!box.childElementCount) {
      const p = document.createElement("p");
      p.className = "empty";
      p.textContent = "No process-execution request yet.";
      box.append(p);
    }
  }

  async function loadDevices() {
    const reply = await fetch("api/devices");
    devices = (await reply.json()).devices || [];
    const select = $("names-device");
    select.replaceChildren();
    for (const d of devices) select.append(new Option(d.device + " " + d.name, String(d.device)));
    fillDatabases();
  }

  function fillDatabases() {
    const device = devices.find((d) => String(d.device) === $("names-device").value);
    const select = $("names-database");
    select.replaceChildren();
    for (const [db, size] of Object.entries(device ? device.databases : {})) {
      select.append(new Option("db " + db + " (" + size + ")", db));
    }
  }

  // ---- stored names: a router holds up to 16,384, drawn as a virtual list too

  function fillName(li, n) {
    li.className = "name-row";
    li.setAttribute("role", "listitem");
    li.dataset.index = String(n.index);
    if (!li.firstElementChild) li.append(document.createElement("span"), document.createElement("span"));
    li.firstElementChild.textContent = String(n.index);
    if (li.lastElementChild.textContent !== n.name) {
      li.lastElementChild.textContent = n.name;
      li.title = n.name;  // a name wider than the pane, whole
    }
  }

  // fromTop: another database or search, shown from its start (a store
  // pushed by the server keeps the place the operator scrolled to).
  async function refreshNames(fromTop = false) {
    if ($("pane-names").hidden || !$("names-device").value) return;
    const params = new URLSearchParams({
      device: $("names-device").value,
      database: $("names-database").value || "0",
      search: $("names-search").value,
    });
    const asked = ++namesAsked;
    const reply = await fetch("api/names?" + params);
    const body = await reply.json();
    if (asked !== namesAsked) return;
    names = body.names || [];
    namesList.setLength(names.length);
    if (fromTop) namesList.reveal(0);
  }

  function namesChanged(fromTop = false) {
    // Several stores (or keys typed) in a row redraw once.
    clearTimeout(namesTimer);
    namesTimer = setTimeout(() => refreshNames(fromTop), 50);
  }

  function init() {
    transcriptList = VirtualList.create($("transcript"), lineHeight, 600,
                                       (li, position) => fillLine(li, shownLines[position]), true);
    debugList = VirtualList.create($("debug"), lineHeight, 600,
                                  (li, position) => fillLine(li, debugLines[position]), true);
    namesList = VirtualList.create($("names"), nameHeight, 600,
                                  (li, position) => fillName(li, names[position]));
    document.querySelectorAll(".tabs [data-pane]").forEach((tab) =>
      tab.addEventListener("click", () => showPane(tab.dataset.pane)));
    $("transcript-script").addEventListener("change", filterTranscript);
    $("transcript-filter").addEventListener("input", filterTranscript);
    $("names-device").addEventListener("change", () => { fillDatabases(); refreshNames(true); });
    $("names-database").addEventListener("change", () => refreshNames(true));
    $("names-search").addEventListener("input", () => namesChanged(true));
    loadDevices().catch(() => {});
  }

  return {init, addTranscript, setScripts, addRequests, namesChanged, showPane};
})();
