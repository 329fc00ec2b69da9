// The history of the page's settings and what keeps them from being lost.
// Every change of the settings is a step (app.js calls recordStep): Undo
// and Redo (the buttons, Ctrl-Z and Ctrl-Shift-Z or Ctrl-Y) go back and
// forth through the steps; typing in one field is one step, and a repair,
// a load or a reset is one step whatever it sets. The settings are kept in
// sessionStorage at every step, so a reload offers them back; Reset, Load
// and leaving the page ask first while they hold changes not saved.
"use strict";

const TYPING_STEP_MS = 1500;  // keystrokes in one field closer than this are one step

// Invariants: list holds the settings of every step as settingsText gives
// them, at is the index of the one shown, and no two neighbours are equal;
// saved is the text of the settings last loaded or saved (or those the
// page started from).
const steps = { list: [], at: -1, typing: null, typedAt: 0, saved: "", storageKey: "", offered: null };

function settingsText() {
  return JSON.stringify([...state.settings]);
}

function startHistory() {
  steps.list = [settingsText()];
  steps.at = 0;
  steps.saved = steps.list[0];
  steps.storageKey = `kova serve: ${state.model.description}`;
  offerStored();
  drawHistoryButtons();
}

// A change made: a new step, or the last one grown while the same field
// is typed in. A step undone and not redone is dropped by a new change.
function recordStep(typing) {
  const now = Date.now();
  const text = settingsText();
  const sameTyping = typing !== null && typing === steps.typing && now - steps.typedAt < TYPING_STEP_MS;
  steps.list.length = steps.at + 1;
  if (sameTyping && steps.at > 0) steps.list[steps.at] = text;
  else if (steps.list[steps.at] !== text) {
    steps.list.push(text);
    steps.at += 1;
  }
  if (steps.at > 0 && steps.list[steps.at - 1] === steps.list[steps.at]) {
    steps.list.pop();
    steps.at -= 1;
  }
  steps.typing = typing;
  steps.typedAt = now;
  remember();
  drawHistoryButtons();
}

// Moves by one step (-1 back, +1 forward) and shows its settings.
function moveInHistory(by) {
  const to = steps.at + by;
  if (to < 0 || to >= steps.list.length) return;
  steps.at = to;
  steps.typing = null;
  putSettings(steps.list[to]);
  setStatus(by < 0 ? "Undone." : "Redone.");
  changed({ replayed: true, notice: true });
  remember();
  drawHistoryButtons();
}

function putSettings(text) {
  state.settings.clear();
  for (const [name, value] of JSON.parse(text)) state.settings.set(name, value);
  showSettings();
}

function drawHistoryButtons() {
  document.getElementById("undo-button").disabled = steps.at <= 0;
  document.getElementById("redo-button").disabled = steps.at >= steps.list.length - 1;
}

// ---- losing nothing -------------------------------------------------------

function markSaved() {
  steps.saved = settingsText();
}

function unsaved() {
  return steps.list.length > 0 && settingsText() !== steps.saved;
}

// Whether an action that replaces the settings may go on: at once when
// they are saved, else when the user says so.
function mayDiscard(action) {
  return !unsaved() || window.confirm(`${action}: the settings hold changes that are not saved. Discard them?`);
}

function remember() {
  try {
    sessionStorage.setItem(steps.storageKey, settingsText());
  } catch (failure) {
    // Storage full or refused: the page works on without it.
  }
}

// Settings kept before a reload that differ from those the page started
// from are offered back; the offer stands until taken or dismissed.
function offerStored() {
  let text = null;
  try {
    text = sessionStorage.getItem(steps.storageKey);
  } catch (failure) {
    return;
  }
  if (!text || text === steps.list[0]) return;
  const count = JSON.parse(text).length;
  steps.offered = text;
  document.getElementById("restore-text").textContent =
    `The settings of this page before it was reloaded (${count} setting${count === 1 ? "" : "s"}) can be restored.`;
  document.getElementById("restore-offer").hidden = false;
}

function answerOffer(restore) {
  document.getElementById("restore-offer").hidden = true;
  const text = steps.offered;
  steps.offered = null;
  if (!restore || !text) return remember();
  putSettings(text);
  setStatus("Settings restored.");
  changed({ notice: true });
}

function isTextField(target) {
  return target.matches && target.matches("input[type=text], input[type=number], input[type=search], textarea");
}

function wireHistory() {
  document.getElementById("undo-button").addEventListener("click", () => moveInHistory(-1));
  document.getElementById("redo-button").addEventListener("click", () => moveInHistory(1));
  document.getElementById("restore-yes").addEventListener("click", () => answerOffer(true));
  document.getElementById("restore-no").addEventListener("click", () => answerOffer(false));
  document.addEventListener("keydown", (event) => {
    if (!(event.ctrlKey || event.metaKey) || event.altKey || isTextField(event.target)) return;
    const letter = event.key.toLowerCase();
    if (letter !== "z" && letter !== "y") return;
    event.preventDefault();
    moveInHistory(letter === "z" && !event.shiftKey ? -1 : 1);
  });
  window.addEventListener("beforeunload", (event) => {
    if (!unsaved()) return;
    event.preventDefault();
    event.returnValue = "";
  });
}
