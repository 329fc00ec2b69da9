// The configuration wizard of kova serve. The page keeps one thing of its
// own: the user's settings (name -> value, as a settings file writes
// them). Everything shown is the server's answer for those settings:
// every change is validated (debounced) and the diagnostics, derived
// values, port widths and ranges, messages and libraries redrawn from
// the answers. Texts arrive in the JSON safe form (docs/json.md); the
// page shows them as they are. Files travel as bytes: an uploaded
// settings file is sent as it is and a download is asked for as bytes,
// so the server alone maps bytes to the safe form and back.
"use strict";

const DEBOUNCE_MS = 200;
const SEVERITY_MARK = { error: "\u2716 error", warning: "\u26a0 warning", note: "\u2139 note" };
const USAGE_WORDS = ["USED", "UNUSED", "CONSTANT"];

// The page's state. Invariant: settings holds only what the user chose;
// model and the last answers are the server's.
const state = {
  model: null,
  objects: new Map(),  // lower-case name -> model object
  settings: new Map(),  // name as the model writes it -> value
  timer: null,
  generation: 0,  // the latest refresh; older answers are dropped
};

// ---- small helpers -------------------------------------------------------

function el(tag, attributes, ...children) {
  const node = document.createElement(tag);
  for (const [key, value] of Object.entries(attributes || {})) {
    if (value === null || value === undefined || value === false) continue;
    if (key === "text") node.textContent = value;
    else if (key === "className") node.className = value;
    else node.setAttribute(key, value === true ? "" : value);
  }
  for (const child of children) if (child !== null && child !== undefined) node.append(child);
  return node;
}

function byData(attribute, name) {
  return document.querySelector(`[${attribute}="${CSS.escape(name)}"]`);
}

function key(name) {
  return String(name).toLowerCase();
}

async function post(path, body) {
  const response = await fetch(path, {
    method: "POST",
    headers: { "Content-Type": "application/json" },
    body: JSON.stringify(body || {}),
  });
  return { ok: response.ok, status: response.status, document: await response.json() };
}

function settingsObject() {
  return Object.fromEntries(state.settings);
}

function request(extra) {
  return Object.assign({ settings: settingsObject() }, extra || {});
}

function setStatus(text) {
  document.getElementById("action-status").textContent = text;
}

// An answer's text member as the bytes it stands for: the server maps
// the JSON safe form back (bytes set), or gives the JSON document when
// the answer has no text (document set).
async function postForBytes(path, body) {
  const response = await fetch(path, {
    method: "POST",
    headers: { "Content-Type": "application/json", Accept: "application/octet-stream" },
    body: JSON.stringify(body || {}),
  });
  if (response.ok && response.headers.get("Content-Type") === "application/octet-stream")
    return { ok: true, bytes: await response.blob() };
  return { ok: response.ok, status: response.status, document: await response.json() };
}

function download(fileName, blob) {
  const url = URL.createObjectURL(blob);
  const link = el("a", { href: url, download: fileName, className: "visually-hidden" });
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 10000);
}

function diagnosticItem(message, withObject) {
  const item = el("li", { className: "diag", "data-severity": message.severity, "data-kind": message.kind },
    el("span", { className: "severity", text: SEVERITY_MARK[message.severity] || message.severity }), " ");
  if (withObject && message.object) item.append(el("strong", { text: message.object }), ": ");
  item.append(el("span", { className: "text", text: message.text }));
  if (message.object && state.objects.has(key(message.object)))
    item.append(" ", explainButton(message.object, "diagnostic"));
  return item;
}

function explainButton(name, where) {
  const button = el("button", { type: "button", className: "explain", "data-explain": name,
    "aria-label": `Explain ${name}`, text: "Explain" });
  if (where) button.dataset.where = where;
  return button;
}

// ---- building the form from the model --------------------------------------

function buildPage(model) {
  state.model = model;
  for (const object of model.objects) state.objects.set(key(object.name), object);
  document.getElementById("block-name").textContent = model.function;
  document.getElementById("library-text").textContent = model.library || "(none)";
  document.getElementById("description-file").textContent = model.description;
  document.title = `${model.function} - kova serve`;
  buildParameterGroups(model);
  buildPorts(model);
  for (const [name, value] of initialSettings(model)) state.settings.set(name, value);
}

// The settings the server was started with (--settings), when it gives them.
function initialSettings(model) {
  const given = model.settings;
  if (!given) return [];
  if (Array.isArray(given)) return given.map((s) => [s.name, s.value]);
  return Object.entries(given);
}

// Groups: each wizard map with the parameters it holds (a parameter in
// the first map that holds it) and its own derived objects read-only,
// then the parameters of no map, then the hidden parameters read-only.
function buildParameterGroups(model) {
  const container = document.getElementById("parameter-groups");
  const placed = new Set();
  const parameters = model.objects.filter((o) => !o.port && !o.hidden);
  for (const map of model.wizard_maps || []) {
    const members = [];
    const derived = [];
    for (const entry of map.objects) {
      const object = state.objects.get(key(entry.name));
      if (object && !object.port && !object.hidden) {
        if (!placed.has(key(entry.name))) members.push(object);
        placed.add(key(entry.name));
      } else if (!object && entry.source === "map") {
        derived.push(entry);
      }
    }
    if (members.length || derived.length) container.append(parameterGroup(map.map, members, derived, map.map));
  }
  const rest = parameters.filter((o) => !placed.has(key(o.name)));
  if (rest.length)
    container.append(parameterGroup(model.wizard_maps && model.wizard_maps.length ? "Other parameters" : "Settings",
      rest, [], null));
  const hidden = model.objects.filter((o) => o.hidden);
  if (hidden.length) container.append(hiddenGroup(hidden));
}

function parameterGroup(title, members, derived, mapName) {
  const group = el("section", { className: "group", "data-group": title });
  if (mapName) group.dataset.map = mapName;
  group.append(el("h3", { text: mapName ? `${title} (wizard map)` : title }));
  for (const object of members) group.append(parameterRow(object));
  for (const entry of derived) group.append(mapObjectRow(mapName, entry));
  return group;
}

function parameterRow(object) {
  const id = `control-${object.name}`;
  const row = el("div", { className: "object parameter", "data-object": object.name, "data-kind": object.kind });
  row.append(
    el("div", { className: "object-head" },
      el("label", { className: "name", for: id, text: object.name }),
      control(object, id),
      explainButton(object.name)),
    el("p", { className: "facts-line" },
      `default ${object.default === "" ? "(none)" : object.default} \u00b7 `,
      el("output", { className: "derived", "data-derived-for": object.name }),
      ` \u00b7 values ${object.value_text || "(any)"}`),
    el("ul", { className: "diags", "data-diags-for": object.name }));
  return row;
}

// A list gives a <select>, a range a number field with its bounds, any
// other value text a text field.
function control(object, id) {
  let input;
  if (object.choices) {
    input = el("select", { id });
    for (const choice of object.choices) input.append(el("option", { value: choice, text: choice }));
  } else if (object.range) {
    input = el("input", { id, type: "number", min: object.range.min, max: object.range.max, step: 1 });
  } else {
    input = el("input", { id, type: "text", spellcheck: "false" });
  }
  input.dataset.control = object.name;
  input.value = object.default;
  input.addEventListener(object.choices ? "change" : "input", () => {
    if (input.value === "") state.settings.delete(object.name);
    else state.settings.set(object.name, input.value);
    scheduleRefresh();
  });
  return input;
}

function mapObjectRow(mapName, entry) {
  return el("div", { className: "object map-object", "data-map-object": `${mapName}/${entry.name}` },
    el("div", { className: "object-head" },
      el("span", { className: "name", text: entry.name }),
      el("span", { className: "kind", text: entry.kind }),
      el("span", { className: "derived", "data-map-value": `${mapName}/${entry.name}`,
        text: `${entry.value} (${entry.usage})` })));
}

function hiddenGroup(hidden) {
  const group = el("section", { className: "group", "data-group": "hidden" },
    el("h3", { text: "Derived parameters (read-only)" }));
  for (const object of hidden) {
    group.append(el("div", { className: "object hidden-parameter", "data-object": object.name },
      el("div", { className: "object-head" },
        el("span", { className: "name", text: object.name }),
        el("output", { className: "derived", "data-derived-for": object.name, text: object.value }),
        el("code", { className: "expression", text: `= ${object.value_text}` }),
        explainButton(object.name)),
      el("ul", { className: "diags", "data-diags-for": object.name })));
  }
  return group;
}

function buildPorts(model) {
  const list = document.getElementById("port-list");
  for (const port of model.objects.filter((o) => o.port)) list.append(portRow(port));
}

// A port: its usage choice (the description's default, or USED, UNUSED,
// CONSTANT with a value field), its evaluated width and legal values.
function portRow(port) {
  const usageId = `usage-${port.name}`;
  const constantId = `constant-${port.name}`;
  const usage = el("select", { id: usageId, "data-usage-for": port.name },
    el("option", { value: "", text: `default (${port.model_usage})` }),
    ...USAGE_WORDS.map((word) => el("option", { value: word, text: word.toLowerCase() })));
  const constant = el("input", { id: constantId, type: "text", className: "constant", "data-constant-for": port.name,
    placeholder: "value", "aria-label": `Constant value of ${port.name}`, hidden: true, spellcheck: "false" });
  const update = () => {
    constant.hidden = usage.value !== "CONSTANT";
    if (usage.value === "") state.settings.delete(port.name);
    else if (usage.value === "CONSTANT" && constant.value.trim() !== "")
      state.settings.set(port.name, `CONSTANT:${constant.value.trim()}`);
    else state.settings.set(port.name, usage.value);
    scheduleRefresh();
  };
  usage.addEventListener("change", update);
  constant.addEventListener("input", update);
  return el("div", { className: "object port", "data-object": port.name, "data-kind": port.kind },
    el("div", { className: "object-head" },
      el("label", { className: "name", for: usageId, text: port.name }),
      el("span", { className: "kind", text: port.kind }),
      usage, constant,
      explainButton(port.name)),
    el("p", { className: "facts-line" },
      el("output", { className: "derived", "data-derived-for": port.name }),
      " \u00b7 width ", el("output", { "data-width-for": port.name, text: "?" }),
      ` = ${port.value_text || "?"} \u00b7 values `,
      el("output", { "data-range-for": port.name, text: "?" })),
    el("ul", { className: "diags", "data-diags-for": port.name }));
}

// ---- keeping the page in step ------------------------------------------

function scheduleRefresh() {
  clearTimeout(state.timer);
  state.timer = setTimeout(refresh, DEBOUNCE_MS);
  setSummary("pending", "Checking\u2026");
}

function setSummary(kind, text) {
  const summary = document.getElementById("summary");
  summary.dataset.state = kind;
  summary.textContent = text;
}

// One round: validate and every query of the wizard under the settings,
// all at once, one request per kind whatever the description's size (the
// ranges of every port, the states of every object with the hidden
// parameters' values, every wizard map); drawn only when no later round
// has started.
async function refresh() {
  const generation = ++state.generation;
  const hasMaps = document.querySelector("[data-map]") !== null;
  try {
    const [validation, messages, libraries, ranges, states, maps] = await Promise.all([
      post("/api/validate", request()),
      post("/api/messages", request()),
      post("/api/simlib", request()),
      post("/api/ranges", request()),
      post("/api/states", request()),
      hasMaps ? post("/api/wizard-map", request()) : null,
    ]);
    if (generation !== state.generation) return;
    drawValidation(validation);
    drawList("wizard-messages", messages.ok ? messages.document.wizard_messages : [], "(none apply)");
    drawList("simulation-libraries", libraries.ok ? libraries.document.libraries : [], "(none)");
    if (ranges.ok) ranges.document.ports.forEach(drawRange);
    if (states.ok) states.document.objects.filter((o) => o.hidden).forEach(drawHidden);
    if (maps && maps.ok) maps.document.maps.forEach(drawMap);
  } catch (failure) {
    if (generation === state.generation) setSummary("error", `\u2716 The server did not answer: ${failure.message}`);
  }
}

function drawValidation(answer) {
  for (const list of document.querySelectorAll("[data-diags-for]")) list.replaceChildren();
  const all = document.getElementById("diagnostics");
  all.replaceChildren();
  const document_ = answer.document;
  const messages = document_.messages || [];
  for (const message of messages) {
    all.append(diagnosticItem(message, true));
    const owner = message.object && state.objects.get(key(message.object));
    if (owner) byData("data-diags-for", owner.name).append(diagnosticItem(message, false));
  }
  if (!messages.length) all.append(el("li", { className: "empty", text: "(none)" }));
  for (const object of document.querySelectorAll("[data-object]")) {
    object.classList.toggle("has-errors", !!object.querySelector('.diag[data-severity="error"]'));
    object.classList.toggle("has-diagnostics", !!object.querySelector(".diag"));
  }
  if (!answer.ok) {
    setSummary("error", `\u2716 The settings were refused: ${document_.error}`);
    return;
  }
  for (const parameter of document_.parameters) drawParameter(parameter);
  for (const port of document_.ports) drawPortState(port);
  const count = (severity) => messages.filter((m) => m.severity === severity).length;
  const errors = count("error");
  const warnings = count("warning");
  const tail = `${errors} error${errors === 1 ? "" : "s"}, ${warnings} warning${warnings === 1 ? "" : "s"}`;
  if (document_.valid) setSummary("valid", `\u2714 Valid configuration (${tail})`);
  else setSummary("invalid", `\u2716 Not valid: ${tail}`);
}

function drawParameter(parameter) {
  const object = state.objects.get(key(parameter.name));
  if (!object) return;
  const derived = byData("data-derived-for", object.name);
  if (derived) {
    const alternate = parameter.alt_value !== "" && parameter.alt_value !== parameter.value &&
      parameter.alt_value !== object.value_text ? ` \u00b7 allowed ${parameter.alt_value}` : "";
    const plain = parameter.usage === "USED" && [parameter.usage, "NONE"].includes(parameter.alt_usage);
    const usage = plain ? "" : ` \u00b7 ${usageText(parameter.usage, parameter.alt_usage)}`;
    derived.textContent = `now ${parameter.value === "" ? "(none)" : parameter.value}${alternate}${usage}`;
  }
  const input = byData("data-control", object.name);
  if (input && !state.settings.has(object.name) && document.activeElement !== input) showValue(input, parameter.value);
}

// Shows a value in a control; a list that lacks it gets it marked as
// outside the list, so the control never silently shows another value.
function showValue(input, value) {
  if (input.tagName === "SELECT" && value !== "" &&
      !Array.from(input.options).some((option) => option.value === value))
    input.append(el("option", { value, text: `${value} (not in the list)` }));
  input.value = value;
}

function drawPortState(port) {
  const derived = byData("data-derived-for", port.name);
  if (derived) derived.textContent = `now ${usageText(port.usage, port.alt_usage)}`;
}

// A usage state the run left, and the one the rules give where they differ.
function usageText(current, rules) {
  return rules !== "NONE" && rules !== current ? `${current} \u00b7 rules: ${rules}` : current;
}

function drawRange(range) {
  const width = byData("data-width-for", range.port);
  if (width) width.textContent = range.width === null ? "?" : String(range.width);
  const values = byData("data-range-for", range.port);
  const unknown = (bound) => /^X+$/.test(bound);
  if (values)
    values.textContent = range.values ? range.values.join(" | ")
      : unknown(range.lower) && unknown(range.upper) ? "any" : `${range.lower} \u2026 ${range.upper}`;
}

function drawHidden(object) {
  const output = byData("data-derived-for", object.name);
  if (output) output.textContent = object.value === null ? "?" : object.value;
}

function drawMap(map) {
  for (const entry of map.objects) {
    const output = byData("data-map-value", `${map.map}/${entry.name}`);
    if (output) output.textContent = `${entry.value} (${entry.usage})`;
  }
}

function drawList(id, texts, empty) {
  const list = document.getElementById(id);
  list.replaceChildren();
  for (const text of texts) list.append(el("li", { text }));
  if (!texts.length) list.append(el("li", { className: "empty", text: empty }));
}

// Puts the settings into the controls, after a load or an accepted repair.
function showSettings() {
  for (const object of state.model.objects) {
    if (object.hidden) continue;
    const value = state.settings.get(object.name);
    if (object.port) {
      const usage = byData("data-usage-for", object.name);
      const constant = byData("data-constant-for", object.name);
      const text = value === undefined ? "" : value;
      const colon = text.indexOf(":");
      usage.value = colon < 0 ? text.toUpperCase() : "CONSTANT";
      if (!USAGE_WORDS.includes(usage.value)) usage.value = "";
      constant.value = colon < 0 ? "" : text.slice(colon + 1);
      constant.hidden = usage.value !== "CONSTANT";
    } else {
      showValue(byData("data-control", object.name), value === undefined ? object.default : value);
    }
  }
}

// A setting goes under the model's spelling of its name; a name the
// model does not have stays as written, for the server to report.
function setSetting(name, value) {
  const object = state.objects.get(key(name));
  const known = object ? object.name : name;
  for (const existing of state.settings.keys()) if (key(existing) === key(known)) state.settings.delete(existing);
  if (value === "") return;
  state.settings.set(known, value);
}

// ---- explain ------------------------------------------------------------

async function explain(name) {
  const dialog = document.getElementById("explain-dialog");
  const body = document.getElementById("explain-body");
  document.getElementById("explain-title").textContent = `Explanation of ${name}`;
  body.replaceChildren(el("p", { text: "Asking the server\u2026" }));
  dialog.dataset.object = name;
  if (!dialog.open) dialog.showModal();
  const answer = await post("/api/explain", request({ name }));
  body.replaceChildren(...(answer.ok ? explanation(answer.document) : [el("p", { text: answer.document.error })]));
}

function explanation(document_) {
  const object = document_.object;
  const facts = [["kind", object.kind], ["value", object.value], ["allowed value", object.alt_value],
    ["expression", object.expression], ["usage", object.usage], ["usage the rules give", object.alt_usage],
    ["width", object.width], ["depends on", (object.depends_on || []).join(", ")],
    ["read by", (document_.dependents || []).join(", ")]];
  const list = el("dl", { className: "facts" });
  for (const [term, value] of facts)
    if (value !== null && value !== undefined && value !== "")
      list.append(el("dt", { text: term }), el("dd", { text: String(value) }));
  const rules = el("table", { className: "rules" },
    el("thead", {}, el("tr", {}, ...["#", "type", "condition", "now", "effect", "applies", "conflict", "line"]
      .map((h) => el("th", { scope: "col", text: h })))));
  const rows = el("tbody");
  for (const rule of document_.rules) {
    rows.append(el("tr", { "data-conflict": rule.conflict ? "yes" : null },
      ...[rule.index, rule.type, rule.condition || "(always)", rule.result, rule.effect, rule.applied,
        rule.conflict ? `\u2716 ${rule.conflict}` : "", rule.line]
        .map((v) => el("td", { text: v === null ? "" : String(v) }))));
  }
  rules.append(rows);
  const messages = el("ul", { className: "diags" });
  for (const message of document_.messages) messages.append(diagnosticItem(message, false));
  const parts = [list];
  parts.push(document_.rules.length ? rules : el("p", { text: "No rules." }));
  if (document_.messages.length) parts.push(el("h3", { text: "Diagnostics" }), messages);
  for (const button of messages.querySelectorAll(".explain")) button.remove();
  return parts;
}

// ---- fix ----------------------------------------------------------------

async function proposeFix() {
  const dialog = document.getElementById("fix-dialog");
  const changes = document.getElementById("fix-changes");
  const summary = document.getElementById("fix-summary");
  const messages = document.getElementById("fix-messages");
  changes.replaceChildren();
  messages.replaceChildren();
  summary.textContent = "Searching for a repair\u2026";
  document.getElementById("fix-accept").disabled = true;
  if (!dialog.open) dialog.showModal();
  const answer = await post("/api/fix", request());
  if (!answer.ok) {
    summary.textContent = `\u2716 ${answer.document.error}`;
    return;
  }
  const fix = answer.document;
  if (!fix.changes.length)
    summary.textContent = fix.valid ? "\u2714 Already valid: nothing to change." : "No change helps.";
  else if (fix.gave_up) summary.textContent = `\u26a0 A partial repair (${fix.gave_up_reason}). Changes:`;
  else summary.textContent = "\u2714 These changes make the configuration valid:";
  for (const change of fix.changes) {
    const id = `fix-${change.name}`;
    changes.append(el("li", {},
      el("input", { type: "checkbox", id, checked: true, "data-fix-change": change.name, "data-new": change.new }),
      " ", el("label", { for: id }, el("strong", { text: change.name }),
        ` ${change.old === "" ? "(not set)" : change.old} \u2192 ${change.new === "" ? "(default)" : change.new}`),
      el("span", { className: "reason", text: ` \u2014 ${change.reason}` })));
  }
  if (!fix.valid) for (const message of fix.messages) messages.append(diagnosticItem(message, true));
  for (const button of messages.querySelectorAll(".explain")) button.remove();
  document.getElementById("fix-accept").disabled = fix.changes.length === 0;
}

function acceptFix() {
  for (const box of document.querySelectorAll("#fix-changes [data-fix-change]"))
    if (box.checked) setSetting(box.dataset.fixChange, box.dataset.new);
  document.getElementById("fix-dialog").close();
  showSettings();
  setStatus("Repair applied.");
  scheduleRefresh();
}

// ---- files --------------------------------------------------------------

async function loadSettings(file) {
  // The file goes as it is; the server reads its bytes.
  const response = await fetch(`/api/load?file=${encodeURIComponent(file.name)}`, {
    method: "POST",
    headers: { "Content-Type": "application/octet-stream" },
    body: file,
  });
  const answer = { ok: response.ok, document: await response.json() };
  if (!answer.ok) {
    const lines = (answer.document.messages || []).map((m) => `line ${m.line}: ${m.text}`).join("; ");
    setStatus(`\u2716 ${file.name}: ${answer.document.error}${lines ? ` (${lines})` : ""}`);
    return;
  }
  // A name this description does not have is left out and named, so the
  // rest of the file still configures the block.
  const unknown = answer.document.settings.filter((setting) => !state.objects.has(key(setting.name)));
  state.settings.clear();
  for (const setting of answer.document.settings)
    if (state.objects.has(key(setting.name))) setSetting(setting.name, setting.value);
  showSettings();
  const warnings = answer.document.messages.length;
  setStatus(`Loaded ${file.name}: ${answer.document.settings.length - unknown.length} settings` +
    (warnings ? `, \u26a0 ${warnings} warning${warnings === 1 ? "" : "s"}` : "") +
    (unknown.length ? `; \u26a0 left out, not in this description: ${unknown.map(placeOf).join(", ")}` : ""));
  scheduleRefresh();
}

function placeOf(setting) {
  return `${setting.name} (line ${setting.line})`;
}

async function saveSettings() {
  const minimal = document.getElementById("save-form").value === "minimal";
  const answer = await postForBytes("/api/settings", request({ minimal }));
  if (!answer.bytes) return setStatus(`\u2716 ${answer.document.error}`);
  const name = `${state.model.function}${minimal ? "-minimal" : ""}.settings`;
  download(name, answer.bytes);
  setStatus(`Saved ${name}.`);
}

// The language menu's options come from the server (one per language,
// with its file's extension and whether a stub applies).
function syncStubChoice() {
  const option = document.getElementById("generate-lang").selectedOptions[0];
  const stub = document.getElementById("generate-stub");
  stub.disabled = !option || !("stub" in option.dataset);
  if (stub.disabled) stub.checked = false;
}

async function generate() {
  const option = document.getElementById("generate-lang").selectedOptions[0];
  const lang = option.value;
  const stub = document.getElementById("generate-stub").checked;
  const body = request(stub ? { lang, stub } : { lang });
  // The JSON document is the file itself; any other language's file is
  // the document's text, which comes as bytes.
  const answer = lang === "json" ? await post("/api/generate", body) : await postForBytes("/api/generate", body);
  if (!answer.ok) return setStatus(`\u2716 ${answer.document.error}`);
  const document_ = answer.document;
  if (!answer.bytes && lang !== "json") {
    const reasons = document_.messages.filter((m) => m.severity === "error").map((m) => m.text).join("; ");
    return setStatus(`\u2716 Nothing was generated: ${reasons}`);
  }
  const name = `${state.model.function}${stub ? "" : "_cfg"}${option.dataset.extension}`;
  download(name, answer.bytes || new Blob([`${JSON.stringify(document_, null, 2)}\n`]));
  setStatus(`Generated ${name}.`);
}

// ---- start --------------------------------------------------------------

function wire() {
  document.addEventListener("click", (event) => {
    const button = event.target.closest("[data-explain]");
    if (button) explain(button.dataset.explain);
  });
  document.getElementById("explain-close").addEventListener("click", () =>
    document.getElementById("explain-dialog").close());
  document.getElementById("fix-button").addEventListener("click", proposeFix);
  document.getElementById("fix-accept").addEventListener("click", acceptFix);
  document.getElementById("fix-cancel").addEventListener("click", () => document.getElementById("fix-dialog").close());
  document.getElementById("reset-button").addEventListener("click", () => {
    state.settings.clear();
    showSettings();
    setStatus("Back to the defaults.");
    scheduleRefresh();
  });
  document.getElementById("load-input").addEventListener("change", (event) => {
    const [file] = event.target.files;
    if (file) loadSettings(file);
    event.target.value = "";
  });
  document.getElementById("save-button").addEventListener("click", saveSettings);
  document.getElementById("generate-button").addEventListener("click", generate);
  document.getElementById("generate-lang").addEventListener("change", syncStubChoice);
  syncStubChoice();
}

async function start() {
  wire();
  try {
    const response = await fetch("/api/model");
    buildPage(await response.json());
  } catch (failure) {
    setSummary("error", `\u2716 Cannot read the model: ${failure.message}`);
    return;
  }
  showSettings();
  refresh();
}

document.addEventListener("DOMContentLoaded", start);
