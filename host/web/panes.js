// The side panes: transcript, stored names, process-execution requests and
// the plug-ins' debug output.
"use strict";

const Panes = (() => {
  const keptLines = 2000;  // older lines leave the page (the server keeps more)
  const $ = (id) => document.getElementById(id);
  let devices = [];
  let namesTimer = 0;

  function showPane(name) {
    document.querySelectorAll(".tabs [data-pane]").forEach((tab) =>
      tab.setAttribute("aria-selected", String(tab.dataset.pane === name)));
    document.querySelectorAll(".pane").forEach((pane) => { pane.hidden = pane.dataset.pane !== name; });
    if (name === "names") refreshNames();
  }

  function lineMatches(li) {
    const script = $("transcript-script").value;
    const filter = $("transcript-filter").value.toLowerCase();
    return (!script || li.dataset.script === script) &&
           (!filter || li.textContent.toLowerCase().includes(filter));
  }

  function appendLines(list, lines) {
    const atEnd = list.scrollHeight - list.scrollTop - list.clientHeight < 40;
    const fragment = document.createDocumentFragment();
    // A long action (a list of thousands filled) draws only what the pane keeps.
    for (const line of lines.slice(-keptLines)) {
      const li = document.createElement("li");
      li.className = "line kind-" + line.kind;
      li.dataset.seq = String(line.seq);
      li.dataset.script = line.script;
      li.dataset.kind = line.kind;
      li.textContent = line.text;
      if (list.id === "transcript") li.hidden = !lineMatches(li);
      fragment.append(li);
    }
    list.append(fragment);
    while (list.childElementCount > keptLines) list.firstElementChild.remove();
    if (atEnd) {
      list.scrollTop = list.scrollHeight;
      // Lines scrolled away take their real height only once drawn: follow again.
      requestAnimationFrame(() => { list.scrollTop = list.scrollHeight; });
    }
  }

  function addTranscript(entries, replace, omitted) {
    if (replace) {
      $("transcript").replaceChildren();
      $("debug").replaceChildren();
    }
    const last = $("transcript").lastElementChild;
    const after = replace || !last ? 0 : Number(last.dataset.seq);
    const fresh = entries.filter((e) => e.seq > after);
    if (omitted && fresh.length) {
      fresh.unshift({seq: fresh[0].seq - 1, kind: "note", script: "",
                     text: "… " + omitted + " earlier entries of this step (the API keeps the newest " +
                           "20000: GET api/transcript)"});
    }
    appendLines($("transcript"), fresh);
    appendLines($("debug"), fresh.filter((e) => e.kind === "debug"));
  }

  function filterTranscript() {
    for (const li of $("transcript").children) li.hidden = !lineMatches(li);
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

  async function refreshNames() {
    if ($("pane-names").hidden || !$("names-device").value) return;
    const params = new URLSearchParams({
      device: $("names-device").value,
      database: $("names-database").value || "0",
      search: $("names-search").value,
    });
    const reply = await fetch("api/names?" + params);
    const body = await reply.json();
    const rows = document.createDocumentFragment();
    for (const n of body.names || []) {
      const tr = document.createElement("tr");
      tr.dataset.index = String(n.index);
      const index = document.createElement("td");
      index.textContent = String(n.index);
      const name = document.createElement("td");
      name.textContent = n.name;
      tr.append(index, name);
      rows.append(tr);
    }
    $("names").replaceChildren(rows);
  }

  function namesChanged() {
    // Several stores in a row redraw once.
    clearTimeout(namesTimer);
    namesTimer = setTimeout(refreshNames, 50);
  }

  function init() {
    document.querySelectorAll(".tabs [data-pane]").forEach((tab) =>
      tab.addEventListener("click", () => showPane(tab.dataset.pane)));
    $("transcript-script").addEventListener("change", filterTranscript);
    $("transcript-filter").addEventListener("input", filterTranscript);
    $("names-device").addEventListener("change", () => { fillDatabases(); refreshNames(); });
    $("names-database").addEventListener("change", refreshNames);
    $("names-search").addEventListener("input", namesChanged);
    loadDevices().catch(() => {});
  }

  return {init, addTranscript, setScripts, addRequests, namesChanged, showPane};
})();
