// The view of what changed: every setting that differs from its default
// (the session's changed_settings of the last answer), with its default
// and its value, and the minimal settings file that `kova validate --save
// --minimal` writes for them, as /api/settings gives it.
"use strict";

async function showChanges() {
  const dialog = document.getElementById("changes-dialog");
  const list = document.getElementById("changes-list");
  const text = document.getElementById("changes-text");
  const names = [...state.changedSettings];
  list.replaceChildren(...(names.length ? names.map(changeRow) :
    [el("tr", {}, el("td", { colspan: 3, text: "Every setting is at its default." }))]));
  text.textContent = "Asking the server\u2026";
  if (!dialog.open) dialog.showModal();
  const answer = await post("/api/settings", request({ minimal: true }));
  text.textContent = answer.ok ? answer.document.text : `\u2716 ${answer.document.error}`;
}

function changeRow(name) {
  const object = state.objects.get(name);
  const shown = object ? object.name : name;
  const value = state.settings.get(shown);
  return el("tr", { "data-change": shown },
    el("th", { scope: "row" }, jumpLink(shown)),
    el("td", { text: object ? object.default || `(${object.model_usage.toLowerCase()})` : "" }),
    el("td", { text: value === undefined ? "(default)" : value }));
}

function wireChanges() {
  document.getElementById("changes-button").addEventListener("click", showChanges);
  document.getElementById("changes-close").addEventListener("click", () =>
    document.getElementById("changes-dialog").close());
}
