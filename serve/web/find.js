// Finding things on the page: the search box (and "/" to reach it), which
// shows only the objects whose name, label, help text or value holds the
// text typed, and the groups that hold one; jumping to an object from a
// link in an explanation or an advice; folding a group. A search builds
// every row not built yet (app.js builds long lists in chunks), so it
// looks at every object; without a search nothing is built for it.
"use strict";

const SEARCH_DELAY_MS = 120;  // typing pauses this long before the form is filtered
const finding = { query: "", timer: 0 };

// What a search looks at: the name, label, help text and value shown.
function searchText(entry) {
  const object = entry.object;
  const now = state.answer && state.answer.objects.get(key(object.name));
  const value = state.settings.get(object.name) ?? (now ? now.value : object.value) ?? object.default;
  return [object.name, object.label, object.help, value].filter((part) => part !== null && part !== undefined)
    .join("\n").toLowerCase();
}

function buildEveryChunk() {
  for (const chunk of [...lazy.chunks.keys()]) buildChunk(chunk);
}

// Shows the rows that match the query ("" shows all) and the groups that
// hold one, unfolded; says how many match.
function filterForm(text) {
  finding.query = text.trim().toLowerCase();
  const query = finding.query;
  const count = document.getElementById("search-count");
  if (query) buildEveryChunk();
  let matches = 0;
  for (const entry of state.rows.values()) {
    const shown = !query || searchText(entry).includes(query);
    if (entry.row.hidden !== !shown) entry.row.hidden = !shown;
    if (shown) matches += 1;
  }
  for (const row of document.querySelectorAll("[data-map-object]"))
    row.hidden = Boolean(query) && !row.dataset.mapObject.toLowerCase().includes(query);
  for (const group of document.querySelectorAll(".group")) {
    const holds = group.querySelector(".object:not([hidden])") !== null;
    group.hidden = Boolean(query) && !holds;
    if (query && holds) setFolded(group, false);
  }
  count.textContent = query ? `${matches} of ${state.rows.size} match` : "";
}

// After each answer drawn: values may have changed what matches.
function drawn() {
  if (finding.query) filterForm(finding.query);
}

function setFolded(group, folded) {
  group.classList.toggle("folded", folded);
  const button = group.querySelector(":scope > h3 [data-fold]");
  if (button) button.setAttribute("aria-expanded", String(!folded));
}

// Builds the chunk that holds an object's row, when it is not built yet.
function buildRowOf(name) {
  for (const [chunk, pending] of lazy.chunks)
    if (pending.items.some((item) => item && item.name !== undefined && key(item.name) === key(name)))
      return buildChunk(chunk);
  return undefined;
}

// Scrolls to an object's row, shown and unfolded, and puts the focus on
// its control; the row is marked for a moment.
function jumpTo(name) {
  const dialog = document.getElementById("explain-dialog");
  if (dialog.open) dialog.close();
  if (!state.rows.has(key(name))) buildRowOf(name);
  const entry = state.rows.get(key(name));
  if (!entry) return;
  if (entry.row.hidden) {
    document.getElementById("search").value = "";
    filterForm("");
  }
  const group = entry.row.closest(".group");
  if (group) setFolded(group, false);
  entry.row.scrollIntoView({ block: "center" });
  const control = entry.input || entry.usage;
  if (control) control.focus({ preventScroll: true });
  for (const marked of document.querySelectorAll(".jumped")) marked.classList.remove("jumped");
  entry.row.classList.add("jumped");
}

function wireFind() {
  const box = document.getElementById("search");
  box.addEventListener("input", () => {
    clearTimeout(finding.timer);
    finding.timer = setTimeout(() => filterForm(box.value), SEARCH_DELAY_MS);
  });
  document.addEventListener("keydown", (event) => {
    if (event.key === "/" && !event.target.closest("input, select, textarea")) {
      event.preventDefault();
      box.focus();
      box.select();
    } else if (event.key === "Escape" && event.target === box) {
      box.value = "";
      filterForm("");
    }
  });
  document.addEventListener("click", (event) => {
    const fold = event.target.closest("[data-fold]");
    if (fold) setFolded(fold.closest(".group"), fold.getAttribute("aria-expanded") === "true");
  });
}
