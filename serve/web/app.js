// The configuration wizard of kova serve. The page keeps one thing of its
// own: the user's settings (name -> value, as a settings file writes
// them). Everything shown is the server's answer for those settings:
// every change asks /api/refresh once, and the diagnostics, derived
// values, port widths and ranges, wizard maps, messages and libraries are
// redrawn from that answer where they differ from what is shown. The
// model gives every object's state under the defaults; a refresh lists
// only the objects whose state differs from that one, so the page redraws
// just the rows the last answer or this one names. Texts
// arrive in the JSON safe form (docs/json.md); the page shows them as
// they are. Files travel as bytes: an uploaded settings file is sent as
// it is and a download is asked for as bytes, so the server alone maps
// bytes to the safe form and back.
//
// A large description is built in chunks, those on screen first (see
// "building rows lazily"); an object's elements are found through
// state.rows, never by searching the document.
"use strict";

const SEVERITY_MARK = { error: "\u2716 error", warning: "\u26a0 warning", note: "\u2139 note" };
const USAGE_WORDS = ["USED", "UNUSED", "CONSTANT"];
const NO_MESSAGES = [];

// The page's state. Invariants: settings holds only what the user chose;
// model and answer are the server's; rows holds an entry for every built
// row and nothing else; what each entry's shown records is what its
// elements show.
const state = {
  model: null,
  objects: new Map(),  // lower-case name -> model object
  settings: new Map(),  // name as the model writes it -> value
  rows: new Map(),  // lower-case name -> the elements of its built row (see rowEntry)
  mapRows: new Map(),  // "map/lower-case name" -> the output of a map's own object, once built
  mapTexts: new Map(),  // "map/lower-case name" -> a map's own object's expression, rules and reads (the model's)
  answer: null,  // the last refresh drawn, indexed (see indexAnswer)
  drawAll: true,  // the next answer redraws every built row, not only those it or the last one names
  messagesOf: new Map(),  // lower-case name -> the messages about it in the last answer
  lists: new Map(),  // id of a side-pane list -> what it shows, as JSON
  changes: 0,  // bumped by every change of the settings
  asking: false,  // a refresh is on its way; at most one is
  changedSettings: new Set(),  // lower-case names the last answer says differ from the defaults
  causes: new Map(),  // lower-case object name -> its cause: {settings its errors follow from, last} (the last answer's)
  causing: new Map(),  // lower-case setting name -> the objects whose errors follow from it
  lastChange: null,  // the name the user set last, sent with a refresh; null after a repair, load, reset or undo
  keep: new Set(),  // names a repair must not change, as the model writes them
  valid: null,  // the verdict of the last answer drawn
};

function lastValid() {
  return state.valid !== false;
}

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

// ---- building rows lazily ---------------------------------------------------

// A list longer than EAGER items is built in chunks of CHUNK, each in a
// wrapper of its own (a div, or in a list an li holding a list): empty,
// of the chunk's estimated height, until it comes near the visible part
// of its pane (an IntersectionObserver per pane) or the page is idle,
// when the rest are built in order. A built chunk off screen is neither
// laid out nor painted (content-visibility, style.css), so a change costs
// the few rows on screen, not every row of the description.
// Invariant: chunks holds exactly the wrappers not built yet.
const EAGER = 400;
const CHUNK = 40;
const lazy = { chunks: new Map(), observers: new Map(), idle: false };

function observerOf(pane) {
  if (!lazy.observers.has(pane)) {
    lazy.observers.set(pane, new IntersectionObserver((entries) => {
      for (const entry of entries) if (entry.isIntersecting) buildChunk(entry.target);
    }, { root: pane, rootMargin: "600px 0px" }));
  }
  return lazy.observers.get(pane);
}

// Appends build(item) for each item to container: at once for a short
// list, else chunk by chunk. tag is the wrapper's element (li in a list)
// and height a built item's estimated height in pixels.
function appendLazily(container, items, build, tag, height) {
  if (items.length <= EAGER) {
    container.append(...items.map(build));
    return;
  }
  const observer = observerOf(container.closest(".pane"));
  for (let start = 0; start < items.length; start += CHUNK) {
    const slice = items.slice(start, start + CHUNK);
    const chunk = el(tag, { className: "chunk", "aria-busy": "true" });
    chunk.style.height = `${slice.length * height}px`;
    lazy.chunks.set(chunk, { build: () => slice.map(build), observer, items: slice });
    container.append(chunk);
    observer.observe(chunk);
  }
  buildWhenIdle();
}

function buildChunk(chunk) {
  const pending = lazy.chunks.get(chunk);
  if (!pending) return;
  lazy.chunks.delete(chunk);
  pending.observer.unobserve(chunk);
  const items = pending.build();
  if (chunk.tagName === "LI") chunk.append(el("ul", { className: "chunk-items" }, ...items));
  else chunk.append(...items);
  // Off screen it keeps the height it last had, the estimate until shown.
  chunk.style.containIntrinsicSize = `auto ${chunk.style.height}`;
  chunk.style.height = "";
  chunk.classList.add("built");
  chunk.removeAttribute("aria-busy");
}

// Forgets the chunks among container's children, before it is emptied.
function dropChunks(container) {
  for (const child of container.children) {
    const pending = lazy.chunks.get(child);
    if (pending) pending.observer.unobserve(child);
    lazy.chunks.delete(child);
  }
}

// Builds the chunks not yet built, first to last, while the page is idle.
function buildWhenIdle() {
  if (lazy.idle) return;
  lazy.idle = true;
  const later = window.requestIdleCallback || ((work) => setTimeout(() => work({ timeRemaining: () => 8 }), 50));
  later(function work(deadline) {
    for (const chunk of lazy.chunks.keys()) {
      if (deadline.timeRemaining() < 4) break;
      buildChunk(chunk);
    }
    if (lazy.chunks.size) later(work);
    else lazy.idle = false;
  });
}

// ---- building the form from the model --------------------------------------

const ROW_HEIGHT = 52;  // px: a row's usual height, for the chunks not built yet

function buildPage(model) {
  state.model = model;
  for (const object of model.objects) state.objects.set(key(object.name), object);
  for (const text of model.map_expressions || []) state.mapTexts.set(`${text.map}/${key(text.name)}`, text);
  for (const [name, value] of initialSettings(model)) state.settings.set(name, value);
  document.getElementById("block-name").textContent = model.function;
  document.getElementById("library-text").textContent = model.library || "(none)";
  document.getElementById("description-file").textContent = model.description;
  document.title = `${model.function} - kova serve`;
  buildParameterGroups(model);
  const ports = model.objects.filter((o) => o.port);
  const portList = document.getElementById("port-list");
  appendLazily(portList, ports.filter((o) => o.model_usage !== "NONE"), portRow, "div", ROW_HEIGHT);
  absentGroup(portList, ports.filter((o) => o.model_usage === "NONE"), portRow);
}

// The objects whose model usage is NONE, folded in a group of their own:
// the description leaves them out unless a rule or the user takes them in.
// A group that comes to hold an error unfolds (drawRow).
function absentGroup(container, objects, build) {
  if (!objects.length) return;
  const group = el("section", { className: "group folded", "data-group": "not-in-configuration" },
    groupHeading(`Not in this configuration (${objects.length})`));
  group.querySelector("[data-fold]").setAttribute("aria-expanded", "false");
  container.append(group);
  appendLazily(group, objects, build, "div", ROW_HEIGHT);
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
      } else {
        derived.push(entry);
      }
    }
    if (members.length || derived.length) parameterGroup(container, map.map, members, derived, map.map);
  }
  const rest = parameters.filter((o) => !placed.has(key(o.name)) && o.model_usage !== "NONE");
  if (rest.length)
    parameterGroup(container, model.wizard_maps && model.wizard_maps.length ? "Other parameters" : "Settings",
      rest, [], null);
  absentGroup(container, parameters.filter((o) => !placed.has(key(o.name)) && o.model_usage === "NONE"),
    parameterRow);
  const hidden = model.objects.filter((o) => o.hidden);
  if (hidden.length) {
    const group = el("section", { className: "group", "data-group": "hidden" },
      groupHeading("Derived parameters (read-only)"));
    container.append(group);
    appendLazily(group, hidden, hiddenRow, "div", ROW_HEIGHT / 2);
  }
}

// A group's heading: a button that folds and unfolds it (find.js).
function groupHeading(title) {
  return el("h3", {}, el("button", { type: "button", className: "fold", "data-fold": "", "aria-expanded": "true",
    text: title }));
}

function parameterGroup(container, title, members, derived, mapName) {
  const group = el("section", { className: "group", "data-group": title });
  if (mapName) group.dataset.map = mapName;
  group.append(groupHeading(mapName ? `${title} (wizard map)` : title));
  container.append(group);
  appendLazily(group, members, parameterRow, "div", ROW_HEIGHT);
  appendLazily(group, derived, (entry) => mapObjectRow(mapName, entry), "div", ROW_HEIGHT / 2);
}

// The index entry of a built row: its elements, and what each part shows
// (a signature per part, "" before the first answer).
function rowEntry(object, elements) {
  const entry = Object.assign({ object, marks: null, shown: { state: "", range: "", diags: "", marks: "" } },
    elements);
  state.rows.set(key(object.name), entry);
  showSetting(entry);
  drawRow(entry);
  return entry.row;
}

// The description's label and help text of an object, shown when the
// pointer rests on its name; null (no tip) when it gives neither.
function helpTip(object) {
  return [object.label, object.help].filter(Boolean).join(": ") || null;
}

// The label and help text beside an object; null when it has neither.
function helpLine(object) {
  if (!object.label && !object.help) return null;
  return el("p", { className: "help-line" }, object.label ? el("strong", { text: object.label }) : null,
    object.label && object.help ? " \u2014 " : null, object.help || null);
}

function parameterRow(object) {
  const id = `control-${object.name}`;
  const input = control(object, id);
  const derived = el("output", { className: "derived", "data-derived-for": object.name });
  const diags = el("ul", { className: "diags", "data-diags-for": object.name });
  const row = el("div", { className: "object parameter", "data-object": object.name, "data-kind": object.kind },
    el("div", { className: "object-head" },
      el("label", { className: "name", for: id, text: object.name, title: helpTip(object) }),
      input,
      explainButton(object.name)),
    el("p", { className: "facts-line" },
      `default ${object.default === "" ? "(none)" : object.default} \u00b7 `,
      derived,
      ` \u00b7 values ${object.value_text || "(any)"}`),
    helpLine(object),
    diags);
  return rowEntry(object, { row, input, derived, diags, draw: drawParameter });
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
    changed({ typing: object.choices ? null : object.name, last: object.name });
  });
  return input;
}

function mapObjectRow(mapName, entry) {
  const id = `${mapName}/${key(entry.name)}`;
  const output = el("span", { className: "derived", "data-map-value": `${mapName}/${entry.name}` });
  state.mapRows.set(id, output);
  drawMapObject(id, entry);
  const known = state.objects.has(key(entry.name));
  const texts = state.mapTexts.get(id);
  return el("div", { className: "object map-object", "data-map-object": `${mapName}/${entry.name}` },
    el("div", { className: "object-head" },
      el("span", { className: "name" }, known ? jumpLink(entry.name) : entry.name),
      el("span", { className: "kind", text: `${entry.kind} \u00b7 ${entry.source}` }),
      output,
      texts ? el("code", { className: "expression", text: `= ${mapExpression(texts)}` }) : null,
      texts ? el("button", { type: "button", className: "explain", "data-map-explain": id,
        "aria-label": `Explain ${entry.name} of ${mapName}`, text: "Explain" }) : null,
      !texts && known ? explainButton(entry.name, "map") : null));
}

// A map's own object as the description writes it: its value text, else
// its rules, "CONDITION ? VALUE : ALTERNATE" each.
function mapExpression(texts) {
  if (texts.expression) return texts.expression;
  return texts.rules.map((rule) => `${rule.condition ? `${rule.condition} ? ` : ""}${rule.value}` +
    `${rule.alt_value ? ` : ${rule.alt_value}` : ""}`).join("; ") || "(none)";
}

// The explanation of a map's own object, from the model's texts and the
// value the last answer gives: no request, for the engine explains only
// ports and parameters.
function explainMapObject(id) {
  const texts = state.mapTexts.get(id);
  const entry = (state.answer && state.answer.maps.get(id)) || {};
  const dialog = document.getElementById("explain-dialog");
  document.getElementById("explain-title").textContent = `Explanation of ${texts.name} (wizard map ${texts.map})`;
  const list = el("dl", { className: "facts" });
  for (const [term, value] of [["value", entry.value], ["usage", entry.usage], ["expression", texts.expression]])
    if (value) list.append(el("dt", { text: term }), el("dd", { text: value }));
  if (texts.reads.length) list.append(el("dt", { text: "reads" }), el("dd", {}, jumpLinks(texts.reads)));
  const rules = el("table", { className: "rules" }, el("thead", {}, el("tr", {},
    ...["condition", "value", "otherwise"].map((h) => el("th", { scope: "col", text: h })))),
  el("tbody", {}, ...texts.rules.map((rule) => el("tr", {},
    ...[rule.condition || "(always)", rule.value, rule.alt_value].map((v) => el("td", { text: v }))))));
  document.getElementById("explain-body").replaceChildren(list,
    texts.rules.length ? rules : el("p", { text: "No rules." }));
  if (!dialog.open) dialog.showModal();
}

function hiddenRow(object) {
  const derived = el("output", { className: "derived", "data-derived-for": object.name, text: object.value });
  const diags = el("ul", { className: "diags", "data-diags-for": object.name });
  const row = el("div", { className: "object hidden-parameter", "data-object": object.name },
    el("div", { className: "object-head" },
      el("span", { className: "name", text: object.name }),
      derived,
      el("code", { className: "expression", text: `= ${object.value_text}` }),
      explainButton(object.name)),
    diags);
  return rowEntry(object, { row, derived, diags, draw: drawHidden });
}

// A port: its usage choice (the description's default, or USED, UNUSED,
// CONSTANT with a value field), its evaluated width and legal values.
function portRow(port) {
  const usageId = `usage-${port.name}`;
  const usage = el("select", { id: usageId, "data-usage-for": port.name },
    el("option", { value: "", text: `default (${port.model_usage})` }),
    ...USAGE_WORDS.map((word) => el("option", { value: word, text: word.toLowerCase() })));
  const constant = el("input", { id: `constant-${port.name}`, type: "text", className: "constant",
    "data-constant-for": port.name, placeholder: "value", "aria-label": `Constant value of ${port.name}`,
    hidden: true, spellcheck: "false" });
  const update = () => {
    constant.hidden = usage.value !== "CONSTANT";
    if (usage.value === "") state.settings.delete(port.name);
    else if (usage.value === "CONSTANT" && constant.value.trim() !== "")
      state.settings.set(port.name, `CONSTANT:${constant.value.trim()}`);
    else state.settings.set(port.name, usage.value);
    changed({ typing: port.name, last: port.name });
  };
  usage.addEventListener("change", update);
  constant.addEventListener("input", update);
  const derived = el("output", { className: "derived", "data-derived-for": port.name });
  const width = el("output", { "data-width-for": port.name, text: "?" });
  const values = el("output", { "data-range-for": port.name, text: "?" });
  const diags = el("ul", { className: "diags", "data-diags-for": port.name });
  const row = el("div", { className: "object port", "data-object": port.name, "data-kind": port.kind },
    el("div", { className: "object-head" },
      el("label", { className: "name", for: usageId, text: port.name }),
      el("span", { className: "kind", text: port.kind }),
      usage, constant,
      explainButton(port.name)),
    el("p", { className: "facts-line" },
      derived, " \u00b7 width ", width, ` = ${port.value_text || "?"} \u00b7 values `, values),
    helpLine(port),
    diags);
  return rowEntry(port, { row, usage, constant, derived, width, values, diags, draw: drawPortState });
}

// ---- keeping the page in step ------------------------------------------

// A change of the settings. At most one refresh is on its way: a change
// made meanwhile is asked for when it comes back, so changes typed
// quickly cost one request, and the answer to an older change is never
// drawn over a newer one. The change becomes a step of the history
// (history.js): typing in one field is one step, and so is a whole
// repair, load or reset; a notice of the last action goes unless the
// change is that action's own (options.notice).
function changed(options) {
  const how = options || {};
  state.changes += 1;
  state.lastChange = how.last || null;
  if (!how.notice) setStatus("");
  if (!how.replayed) recordStep(how.typing || null);
  setSummary("pending", "Checking\u2026");
  if (!state.asking) refresh();
}

function setSummary(kind, text) {
  const summary = document.getElementById("summary");
  summary.dataset.state = kind;
  summary.textContent = text;
}

// One round: everything the page shows, from one run under the settings.
async function refresh() {
  state.asking = true;
  const asked = state.changes;
  let answer = null;
  try {
    answer = await post("/api/refresh", request(state.lastChange ? { last: state.lastChange } : {}));
  } catch (failure) {
    if (asked === state.changes) setSummary("error", `\u2716 The server did not answer: ${failure.message}`);
  }
  state.asking = false;
  if (asked !== state.changes) refresh();
  else if (answer) draw(answer);
}

// Draws an answer: on a refusal only its messages and the summary, for
// the states of the last answer still stand.
function draw(response) {
  const answer = response.document;
  const messages = answer.messages || [];
  const last = { answer: state.answer, messagesOf: state.messagesOf, changedSettings: state.changedSettings,
    causing: state.causing, causes: state.causes };
  if (response.ok) {
    state.answer = indexAnswer(answer);
    state.valid = answer.valid;
    indexCauses(answer);
  }
  state.messagesOf = new Map();
  for (const message of messages) {
    const owner = message.object && state.objects.get(key(message.object));
    if (!owner) continue;
    const name = key(owner.name);
    if (!state.messagesOf.has(name)) state.messagesOf.set(name, []);
    state.messagesOf.get(name).push(message);
  }
  for (const entry of rowsToDraw(last)) drawRow(entry);
  for (const id of state.mapRows.keys()) drawMapObject(id);
  drawList("diagnostics", messages, (message) => diagnosticItem(message, true), "(none)");
  if (!response.ok) {
    setSummary("error", `\u2716 The settings were refused: ${answer.error}`);
    return;
  }
  drawList("wizard-messages", answer.wizard_messages, (text) => el("li", { text }), "(none apply)");
  const libraries = [...new Set(answer.libraries)];
  drawList("simulation-libraries", libraries, (text) => el("li", { text }), "(none)");
  drawLibraryLine(libraries);
  const count = (severity) => messages.filter((m) => m.severity === severity).length;
  const errors = count("error");
  const warnings = count("warning");
  const tail = `${errors} error${errors === 1 ? "" : "s"}, ${warnings} warning${warnings === 1 ? "" : "s"}`;
  if (answer.valid) setSummary("valid", `\u2714 Valid configuration (${tail})`);
  else setSummary("invalid", `\u2716 Not valid: ${tail}`);
  drawn();
}

// The header's library line: the libraries the configuration evaluates
// to, each once; the description's text stays in the tip.
function drawLibraryLine(libraries) {
  const line = document.getElementById("library-text");
  const text = libraries.join(", ") || "(none)";
  if (line.textContent !== text) line.textContent = text;
  line.title = `as written: ${state.model.library || "(none)"}`;
}

// The settings that differ from the defaults, and which of them each
// object's errors follow from, as the session tells them.
function indexCauses(answer) {
  state.changedSettings = new Set((answer.changed_settings || []).map(key));
  state.causes = new Map();
  state.causing = new Map();
  for (const cause of answer.causes || []) {
    state.causes.set(key(cause.object), cause);
    for (const setting of cause.settings) {
      if (!state.causing.has(key(setting))) state.causing.set(key(setting), []);
      state.causing.get(key(setting)).push({ object: cause.object, last: key(setting) === key(cause.last || "") });
    }
  }
}

// The answer's lists by lower-case name: the objects whose state differs
// from the model's, port ranges (with each one's JSON, to compare), and
// the wizard maps' entries under "map/name".
function indexAnswer(answer) {
  const objects = new Map(answer.objects.map((o) => [key(o.name), o]));
  const ranges = new Map(answer.ranges.map((r) => [key(r.port), r]));
  const rangeTexts = new Map(answer.ranges.map((r) => [key(r.port), JSON.stringify(r)]));
  const maps = new Map();
  for (const map of answer.wizard_maps)
    for (const entry of map.objects) maps.set(`${map.map}/${key(entry.name)}`, entry);
  return { objects, ranges, rangeTexts, maps };
}

// The built rows the answer just indexed may change, given the last
// answer and its messages: every row for the first answer and after the
// settings were put into the controls; else the rows of the objects
// either answer lists (one back at the model's state is listed only by
// the last), of those either has messages about, and of the ports whose
// range changed.
function rowsToDraw(last) {
  if (state.drawAll || !last.answer) {
    state.drawAll = false;
    return state.rows.values();
  }
  const now = state.answer;
  const names = new Set([...last.answer.objects.keys(), ...now.objects.keys(),
    ...last.messagesOf.keys(), ...state.messagesOf.keys(), ...last.changedSettings, ...state.changedSettings,
    ...last.causing.keys(), ...state.causing.keys(), ...last.causes.keys(), ...state.causes.keys()]);
  for (const [name, text] of now.rangeTexts) if (last.answer.rangeTexts.get(name) !== text) names.add(name);
  return [...names].map((name) => state.rows.get(name)).filter((entry) => entry);
}

// Redraws the parts of a built row whose signature differs from what it shows.
function drawRow(entry) {
  const name = key(entry.object.name);
  const messages = state.messagesOf.get(name) || NO_MESSAGES;
  const causes = state.causes.get(name);
  const diags = messages.length ? JSON.stringify([messages, causes]) : "";
  if (diags !== entry.shown.diags) {
    entry.shown.diags = diags;
    entry.diags.replaceChildren(...messages.map((message) => diagnosticItem(message, false)));
    if (causes) entry.diags.append(advice(entry.object, causes));
    entry.row.classList.toggle("has-errors", messages.some((m) => m.severity === "error"));
    entry.row.classList.toggle("has-diagnostics", messages.length > 0);
    const folded = messages.length && entry.row.closest(".group.folded");
    if (folded) setFolded(folded, false);
  }
  drawMarks(entry, name);
  const object = state.answer && (state.answer.objects.get(name) || entry.object);
  const shown = object ? [object.value, object.alt_value, object.usage, object.alt_usage].join("\u0000") : "";
  if (object && shown !== entry.shown.state) {
    entry.shown.state = shown;
    entry.draw(entry, object);
  }
  const range = entry.values && state.answer && state.answer.ranges.get(name);
  const ranged = range ? state.answer.rangeTexts.get(name) : "";
  if (range && ranged !== entry.shown.range) {
    entry.shown.range = ranged;
    drawRange(entry, range);
  }
}

// The marks beside a row's name: a setting that differs from its
// default, and one that errors elsewhere follow from. Made when first
// needed, so a row that never has one costs no element.
function drawMarks(entry, name) {
  const changed = state.changedSettings.has(name);
  const causing = state.causing.get(name) || [];
  const shown = changed || causing.length ? JSON.stringify([changed, causing]) : "";
  if (shown === entry.shown.marks) return;
  entry.shown.marks = shown;
  if (!entry.marks) {
    entry.marks = el("span", { className: "marks", "data-marks-for": entry.object.name });
    entry.row.querySelector(".name").after(entry.marks);
  }
  entry.row.classList.toggle("changed", changed);
  entry.row.classList.toggle("cause", causing.length > 0);
  entry.marks.replaceChildren();
  if (changed)
    entry.marks.append(el("span", { className: "mark changed-mark", title: "differs from the default",
      text: "\u25cf changed" }));
  if (causing.length) {
    const objects = causing.map((cause) => cause.object);
    const last = causing.some((cause) => cause.last);
    entry.marks.append(el("span", { className: `mark cause-mark${last ? " last-change" : ""}`,
      "data-cause-of": objects.join(" "),
      text: `\u2691 ${last ? "this change causes" : "causes"} the conflict at ${objects.join(", ")}` }));
  }
}

// In the page's own words, what the user can do about the errors of an
// object, given the changed settings they follow from (the session's
// cause, which names the last change among them): set one of those back,
// or let a repair find the changes.
function advice(object, cause) {
  const causes = cause.settings;
  const item = el("li", { className: "advice", "data-advice-for": object.name });
  if (!causes.length) {
    item.append("The description's defaults give this conflict: change a setting it reads, or use ",
      fixButton(), ".");
    return item;
  }
  const self = causes.length === 1 && key(causes[0]) === key(object.name);
  item.append(self ? "Your setting of " : "This follows from your setting of ");
  causes.forEach((name, index) => {
    if (index) item.append(index === causes.length - 1 ? " and " : ", ");
    item.append(jumpLink(name), ` (${state.settings.get(objectName(name)) || "set"}` +
      `${defaultOf(name) ? `, default ${defaultOf(name)}` : ""}` +
      `${key(name) === key(cause.last || "") ? ", your last change" : ""})`);
  });
  item.append(self ? " does not hold: set it back to its default, or use " :
    `: set ${causes.length === 1 ? "it" : "one of them"} back to its default, or use `, fixButton(),
    " to find the changes the rules need.");
  return item;
}

// The default an object's model gives: its value, or for a port its usage.
function defaultOf(name) {
  const object = state.objects.get(key(name));
  if (!object) return "";
  return object.port ? object.model_usage : object.default;
}

// The model's spelling of a name, or the name as given when it has none.
function objectName(name) {
  const object = state.objects.get(key(name));
  return object ? object.name : name;
}

function fixButton() {
  return el("button", { type: "button", className: "inline-fix", "data-fix": "", text: "Fix\u2026" });
}

// A name that jumps to its object's row (find.js).
function jumpLink(name) {
  const known = state.objects.has(key(name));
  if (!known) return el("code", { text: name });
  return el("a", { href: `#object-${objectName(name)}`, className: "jump", "data-jump": objectName(name),
    text: objectName(name) });
}

function drawParameter(entry, parameter) {
  const object = entry.object;
  const alternate = parameter.alt_value !== "" && parameter.alt_value !== parameter.value &&
    parameter.alt_value !== object.value_text ? ` \u00b7 allowed ${parameter.alt_value}` : "";
  const plain = parameter.usage === "USED" && [parameter.usage, "NONE"].includes(parameter.alt_usage);
  const usage = plain ? "" : ` \u00b7 ${usageText(parameter.usage, parameter.alt_usage)}`;
  entry.derived.textContent = `now ${parameter.value === "" ? "(none)" : parameter.value}${alternate}${usage}`;
  if (!state.settings.has(object.name) && document.activeElement !== entry.input)
    showValue(entry.input, parameter.value);
}

// Shows a value in a control; a list that lacks it gets it marked as
// outside the list, so the control never silently shows another value.
function showValue(input, value) {
  if (input.tagName === "SELECT" && value !== "" &&
      !Array.from(input.options).some((option) => option.value === value))
    input.append(el("option", { value, text: `${value} (not in the list)` }));
  input.value = value;
}

function drawPortState(entry, port) {
  entry.derived.textContent = `now ${usageText(port.usage, port.alt_usage)}`;
}

// A usage state the run left, and the one the rules give where they differ.
function usageText(current, rules) {
  return rules !== "NONE" && rules !== current ? `${current} \u00b7 rules: ${rules}` : current;
}

function drawRange(entry, range) {
  entry.width.textContent = range.width === null ? "?" : String(range.width);
  const unknown = (bound) => /^X+$/.test(bound);
  entry.values.textContent = range.values ? range.values.join(" | ")
    : unknown(range.lower) && unknown(range.upper) ? "any" : `${range.lower} \u2026 ${range.upper}`;
}

function drawHidden(entry, object) {
  entry.derived.textContent = object.value === null ? "?" : object.value;
}

// A map's own object: its value under the last answer, else fallback
// (its entry in the model, under the defaults).
function drawMapObject(id, fallback) {
  const entry = (state.answer && state.answer.maps.get(id)) || fallback;
  const output = state.mapRows.get(id);
  if (!entry) return;
  const text = `${entry.value} (${entry.usage})`;
  if (output.textContent !== text) output.textContent = text;
}

// A side-pane list, rebuilt only when its items differ from those shown.
function drawList(id, items, build, empty) {
  const shown = JSON.stringify(items);
  if (state.lists.get(id) === shown) return;
  state.lists.set(id, shown);
  const list = document.getElementById(id);
  dropChunks(list);
  list.replaceChildren();
  if (!items.length) list.append(el("li", { className: "empty", text: empty }));
  appendLazily(list, items, build, "li", 24);
}

// Puts a setting into a built row's controls: the user's, else the
// default until the next answer is drawn, which the row then shows whole.
function showSetting(entry) {
  entry.shown.state = "";
  const object = entry.object;
  const value = state.settings.get(object.name);
  if (object.port) {
    const text = value === undefined ? "" : value;
    const colon = text.indexOf(":");
    entry.usage.value = colon < 0 ? text.toUpperCase() : "CONSTANT";
    if (!USAGE_WORDS.includes(entry.usage.value)) entry.usage.value = "";
    entry.constant.value = colon < 0 ? "" : text.slice(colon + 1);
    entry.constant.hidden = entry.usage.value !== "CONSTANT";
  } else if (entry.input) {
    showValue(entry.input, value !== undefined ? value : object.default);
  }
}

// Puts the settings into the controls, after a load, a reset or an
// accepted repair (a change follows); rows built later read them when
// they are built.
function showSettings() {
  for (const entry of state.rows.values()) showSetting(entry);
  state.drawAll = true;
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

// Names as links to their objects, a comma between two.
function jumpLinks(names) {
  const cell = document.createDocumentFragment();
  names.forEach((name, index) => cell.append(...(index ? [", "] : []), jumpLink(name)));
  return cell;
}

// Where the value came from, the first thing an explanation says: the
// kind in bold, then the members of the origin that apply.
function originLine(origin) {
  const details = [];
  if (origin.source) details.push(origin.source === "file" ? "set in a settings file" : `set by the ${origin.source}`);
  if (origin.kind === "corrected") details.push(`was ${origin.was === "" ? "(no value)" : origin.was}`);
  if (origin.rule) details.push(`${origin.kind === "derived" ? "from" : "by"} ${origin.rule}`);
  if (origin.file) details.push(origin.line ? `${origin.file}:${origin.line}` : origin.file);
  return el("p", { className: "origin", "data-origin": origin.kind }, "origin: ",
    el("strong", { text: origin.kind }), details.length ? ` \u2014 ${details.join(", ")}` : "");
}

function explanation(document_) {
  const object = document_.object;
  const facts = [["label", object.label], ["help", object.help], ["kind", object.kind], ["value", object.value],
    ["allowed value", object.alt_value], ["expression", object.expression], ["usage", object.usage],
    ["usage the rules give", object.alt_usage], ["width", object.width]];
  const list = el("dl", { className: "facts" });
  for (const [term, value] of facts)
    if (value !== null && value !== undefined && value !== "")
      list.append(el("dt", { text: term }), el("dd", { text: String(value) }));
  for (const [term, names] of [["depends on", object.depends_on || []], ["read by", document_.dependents || []]])
    if (names.length) list.append(el("dt", { text: term }), el("dd", {}, jumpLinks(names)));
  const rules = el("table", { className: "rules" },
    el("thead", {}, el("tr", {}, ...["#", "type", "condition", "now", "effect", "applies", "conflict", "reads",
      "line"].map((h) => el("th", { scope: "col", text: h })))));
  const rows = el("tbody");
  for (const rule of document_.rules) {
    rows.append(el("tr", { "data-conflict": rule.conflict ? "yes" : null },
      ...[rule.index, rule.type, rule.condition || "(always)", rule.result, rule.effect, rule.applied,
        rule.conflict ? `\u2716 ${rule.conflict}` : ""].map((v) => el("td", { text: v === null ? "" : String(v) })),
      el("td", {}, jumpLinks(rule.depends_on || [])), el("td", { text: rule.line === null ? "" : String(rule.line) })));
  }
  rules.append(rows);
  const messages = el("ul", { className: "diags" });
  for (const message of document_.messages) messages.append(diagnosticItem(message, false));
  const parts = object.origin ? [originLine(object.origin), list] : [list];
  parts.push(document_.rules.length ? rules : el("p", { text: "No rules." }));
  if (document_.messages.length) parts.push(el("h3", { text: "Diagnostics" }), messages);
  for (const button of messages.querySelectorAll(".explain")) button.remove();
  parts.push(repairChoice(object));
  return parts;
}

// The repair from an explanation: "keep this value" for a port or
// parameter, and Fix… with the names kept.
function repairChoice(object) {
  const part = el("p", { className: "explain-fix" });
  const settable = object.kind !== "hidden" && state.objects.has(key(object.name));
  if (settable) {
    const box = el("input", { type: "checkbox", id: "explain-keep", "data-keep": object.name,
      checked: state.keep.has(object.name) });
    box.addEventListener("change", () => {
      if (box.checked) state.keep.add(object.name);
      else state.keep.delete(object.name);
    });
    part.append(box, " ", el("label", { for: "explain-keep", text: `keep this value of ${object.name} when fixing` }),
      " ");
  }
  part.append(el("button", { type: "button", id: "explain-fix", "data-fix": "", text: "Fix\u2026" }));
  return part;
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
  const explainDialog = document.getElementById("explain-dialog");
  if (explainDialog.open) explainDialog.close();
  drawKept();
  if (!dialog.open) dialog.showModal();
  const answer = await post("/api/fix", request({ keep: [...state.keep] }));
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
      el("span", { className: "reason", text: ` \u2014 ${change.reason}` }), " ",
      el("button", { type: "button", className: "keep-button", "data-keep-instead": change.name,
        text: "keep this value" })));
  }
  if (!fix.valid) for (const message of fix.messages) messages.append(diagnosticItem(message, true));
  for (const button of messages.querySelectorAll(".explain")) button.remove();
  document.getElementById("fix-accept").disabled = fix.changes.length === 0;
}

// The names a repair keeps, each with a button that lets it change again.
function drawKept() {
  const kept = document.getElementById("fix-kept");
  kept.replaceChildren();
  if (!state.keep.size) return;
  kept.append("Kept as they are: ");
  for (const name of state.keep)
    kept.append(el("button", { type: "button", className: "kept", "data-unkeep": name,
      "aria-label": `Let the repair change ${name}`, text: `${name} \u00d7` }), " ");
}

// A proposed change refused: that setting is kept and a repair asked anew.
function keepInstead(name, keep) {
  if (keep) state.keep.add(objectName(name));
  else state.keep.delete(name);
  proposeFix();
}

// The checked changes, as one step of the history.
function acceptFix() {
  for (const box of document.querySelectorAll("#fix-changes [data-fix-change]"))
    if (box.checked) setSetting(box.dataset.fixChange, box.dataset.new);
  document.getElementById("fix-dialog").close();
  showSettings();
  setStatus("Repair applied.");
  changed({ notice: true });
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
  showLoadProblems(file.name, answer.ok ? [] : answer.document.messages || []);
  if (!answer.ok) {
    setStatus(`\u2716 ${file.name}: ${answer.document.error}`);
    return;
  }
  // A name this description does not have is left out and named, so the
  // rest of the file still configures the block.
  const unknown = answer.document.settings.filter((setting) => !state.objects.has(key(setting.name)));
  state.settings.clear();
  for (const setting of answer.document.settings)
    if (state.objects.has(key(setting.name))) setSetting(setting.name, setting.value);
  showSettings();
  markSaved();
  const warnings = answer.document.messages.length;
  setStatus(`Loaded ${file.name}: ${answer.document.settings.length - unknown.length} settings` +
    (warnings ? `, \u26a0 ${warnings} warning${warnings === 1 ? "" : "s"}` : "") +
    (unknown.length ? `; \u26a0 left out, not in this description: ${unknown.map(placeOf).join(", ")}` : ""));
  changed({ notice: true });
}

// The first bad lines of a file that could not be loaded, and how many
// there are: the server lists the first hundred with their lines, then
// one message without a line that counts the rest.
const SHOWN_PROBLEMS = 5;
function showLoadProblems(fileName, messages) {
  const box = document.getElementById("load-problems");
  const lined = messages.filter((m) => m.line);
  const rest = messages.filter((m) => !m.line).map((m) => parseInt(m.text, 10)).filter((n) => n > 0);
  const total = lined.length + rest.reduce((sum, n) => sum + n, 0);
  box.hidden = total === 0;
  if (!total) return box.replaceChildren();
  box.replaceChildren(el("p", { text: `${fileName} is not a settings file that can be loaded: ` +
    `${total} bad line${total === 1 ? "" : "s"}${total > SHOWN_PROBLEMS ? `; the first ${SHOWN_PROBLEMS}:` : ":"}` }),
  el("ul", { className: "diags" }, ...lined.slice(0, SHOWN_PROBLEMS).map((m) =>
    el("li", { className: "diag", "data-severity": m.severity },
      el("span", { className: "severity", text: SEVERITY_MARK[m.severity] || m.severity }),
      ` line ${m.line}: ${m.text}`))),
  el("button", { type: "button", id: "load-problems-close", text: "Close" }));
}

function placeOf(setting) {
  return `${setting.name} (line ${setting.line})`;
}

async function saveSettings() {
  if (state.answer && !lastValid() &&
      !window.confirm("These settings are not valid: the block would not be configured as they say. Save anyway?"))
    return;
  const minimal = document.getElementById("save-form").value === "minimal";
  const answer = await postForBytes("/api/settings", request({ minimal }));
  if (!answer.bytes) return setStatus(`\u2716 ${answer.document.error}`);
  const name = `${state.model.function}${minimal ? "-minimal" : ""}.settings`;
  download(name, answer.bytes);
  markSaved();
  setStatus(`Saved ${name}.${state.answer && !lastValid() ? " \u26a0 They are not valid." : ""}`);
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
  // Derived values to add: names separated by commas, blanks ignored.
  const exported = document.getElementById("generate-export").value.split(",").map((n) => n.trim()).filter((n) => n);
  const body = request({ lang, ...(stub ? { stub } : {}), ...(exported.length ? { export: exported } : {}) });
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
    const target = event.target;
    const button = target.closest("[data-explain]");
    if (button) explain(button.dataset.explain);
    const mapButton = target.closest("[data-map-explain]");
    if (mapButton) explainMapObject(mapButton.dataset.mapExplain);
    const jump = target.closest("[data-jump]");
    if (jump) {
      event.preventDefault();
      jumpTo(jump.dataset.jump);
    }
    if (target.closest("[data-fix]")) proposeFix();
    const keep = target.closest("[data-keep-instead]");
    if (keep) keepInstead(keep.dataset.keepInstead, true);
    const unkeep = target.closest("[data-unkeep]");
    if (unkeep) keepInstead(unkeep.dataset.unkeep, false);
    if (target.id === "load-problems-close") showLoadProblems("", []);
  });
  document.getElementById("explain-close").addEventListener("click", () =>
    document.getElementById("explain-dialog").close());
  document.getElementById("fix-accept").addEventListener("click", acceptFix);
  document.getElementById("fix-cancel").addEventListener("click", () => document.getElementById("fix-dialog").close());
  document.getElementById("reset-button").addEventListener("click", () => {
    if (!mayDiscard("Reset to the defaults")) return;
    state.settings.clear();
    showSettings();
    setStatus("Back to the defaults.");
    changed({ notice: true });
  });
  document.querySelector("label[for=load-input]").addEventListener("click", (event) => {
    if (!mayDiscard("Load settings")) event.preventDefault();
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
  wireHistory();
  wireFind();
  wireChanges();
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
  startHistory();
  refresh();
}

document.addEventListener("DOMContentLoaded", start);
