// The page: the cube given by a scramble or painted on the net, the search's settings, the
// search in a worker with a progress bar and a live chart per stage and the block's twelve
// locations, the solution stepped on the net (the block outlined once it is built), and
// several tries of one cube side by side.
import { COLOURS, FACES, SOLVED, createNet, drawNet, isCentre, outlineFacelets } from "./net.js";
import { drawBars } from "./charts.js";
import { SearchLog, STAGES } from "./search_log.js";
import { LOCATION_EDGES, drawLocations, drawStageChart } from "./search_view.js";
import { Tries } from "./tries.js";

const $ = (id) => document.getElementById(id);
const module = await createCubeSolver();  // for checks and states; the search runs in the worker
// ?charts=off leaves the logbook out, to time the page without its charts.
const CHARTS = new URLSearchParams(window.location.search).get("charts") !== "off";
const MAX_TRIES = 100;
const SEED_RANGE = 2 ** 32;
const JSON_NUMBER = /^-?(0|[1-9]\d*)(\.\d+)?([eE][+-]?\d+)?$/;

const state = {
  mode: "scramble",
  facelets: SOLVED,   // the cube shown before a solve (scrambled or painted)
  paint: SOLVED,      // the painted cube
  colour: "U",
  valid: false,
  worker: null,
  running: false,     // a single solve
  live: null,         // while it runs: {log, budgets: {stage: generations of its run}, searching}
  record: null,       // the solve shown: {result, log, title}
  states: [],         // after a solve: the cube before each move, and at the end solved
  blockMoves: 0,      // the solution's first moves, which build the block
  blockFacelets: [],  // where the block lies on the net
  step: 0,
  timer: null,
  tries: null,
  triesSeeds: null,   // the last tries': {seed, count, workers}
};

// --- The request.

function settingInputs() {
  return [...document.querySelectorAll("#settings input[data-key]")];
}

// The JSON request of the cube as given now, with generations, the seed (the field's, or the
// one given) and the search settings that are filled in. A setting is sent as typed when it is
// a JSON number and as a string otherwise, so that the module answers with the rule it breaks.
function request(seed = $("seed").value === "" ? null : Number($("seed").value)) {
  const body = state.mode === "paint" ? { facelets: state.paint } : { scramble: $("scramble").value };
  body.generations = Number($("generations").value);
  if (seed !== null) body.seed = seed;
  const members = [JSON.stringify(body).slice(1, -1)];
  for (const input of settingInputs()) {
    const text = input.value.trim();
    if (text === "") continue;
    members.push(`${JSON.stringify(input.dataset.key)}:${JSON_NUMBER.test(text) ? text : JSON.stringify(text)}`);
  }
  if ($("set-stop-at-goal").checked) members.push('"stopAtGoal":true');
  return `{${members.join(",")}}`;
}

// The setting's input that a message names ("\"population\" must be ..."), if any.
function settingNamedIn(message) {
  return settingInputs().find((input) => message.startsWith(`"${input.dataset.key}"`)) ?? null;
}

// The cube of the current input, or the message of the first rule the request breaks (the
// module's, as the command line words it), under the field it concerns; the net and Solve
// follow it.
function check() {
  const answer = JSON.parse(module.cubeOf(request()));
  for (const id of ["scramble-message", "paint-message", "settings-message"]) $(id).textContent = "";
  for (const input of settingInputs()) input.removeAttribute("aria-invalid");
  state.valid = !answer.error;
  if (answer.error) {
    const setting = settingNamedIn(answer.error);
    if (setting) {
      setting.setAttribute("aria-invalid", "true");
      $("settings-message").textContent = answer.error;
    } else if (state.mode === "paint") {
      // The net is the facelets: the message need not say so.
      $("paint-message").textContent = answer.error.replace(/^the facelets: /, "");
    } else {
      $("scramble-message").textContent = answer.error;
    }
  } else {
    state.facelets = answer.facelets;
  }
  if (!busy()) showInputCube();
  updateButtons();
}

// The net shows the cube as given, with no steps.
function showInputCube() {
  drawNet($("net"), state.mode === "paint" ? state.paint : state.facelets);
  outlineFacelets($("net"), []);
  $("net-caption").textContent = "";
  $("steps").hidden = true;
}

function setMode(mode) {
  state.mode = mode;
  $("scramble-mode").hidden = mode !== "scramble";
  $("paint-mode").hidden = mode !== "paint";
  $("net").classList.toggle("painting", mode === "paint");
  check();
}

function paintFacelet(index) {
  if (state.mode !== "paint" || busy() || isCentre(index)) return;
  state.paint = state.paint.slice(0, index) + state.colour + state.paint.slice(index + 1);
  check();
}

function makePalette() {
  for (const face of FACES) {
    const button = document.createElement("button");
    button.type = "button";
    button.setAttribute("role", "radio");
    button.setAttribute("aria-label", `colour of the ${face} centre`);
    button.dataset.face = face;
    button.style.background = COLOURS[face];
    button.addEventListener("click", () => pickColour(face));
    $("palette").appendChild(button);
  }
  pickColour("U");
}

function pickColour(face) {
  state.colour = face;
  for (const button of $("palette").children) {
    button.setAttribute("aria-checked", String(button.dataset.face === face));
  }
}

// --- Busy: one search at a time, a single solve or the tries.

function busy() {
  return state.running || Boolean(state.tries?.running);
}

function updateButtons() {
  $("solve").disabled = busy() || !state.valid;
  $("tries-run").disabled = busy() || !state.valid;
  $("cancel").disabled = !state.running;
  $("tries-cancel").disabled = !state.tries?.running;
}

function setInputsDisabled(disabled) {
  const ids = ["scramble", "random", "generations", "seed", "paint-solved", "paint-scrambled",
               "tries-count", "settings-reset", "set-stop-at-goal"];
  for (const id of ids) $(id).disabled = disabled;
  for (const input of settingInputs()) input.disabled = disabled;
  for (const radio of document.querySelectorAll('input[name="mode"]')) radio.disabled = disabled;
}

function setRunning(running) {
  state.running = running;
  setInputsDisabled(busy());
  check();
}

// --- The search.

function newWorker() {
  const worker = new Worker("worker.js");
  worker.onmessage = (event) => onWorkerMessage(event.data);
  return worker;
}

function resetProgress() {
  for (const stage of STAGES) {
    $(`${stage}-progress`).value = 0;
    $(`${stage}-label`).textContent = "";
  }
}

function solve() {
  if (!state.valid || busy()) return;
  stopPlaying();
  resetProgress();
  $("result").hidden = true;
  state.record = null;
  showInputCube();
  $("status").textContent = "Searching...";
  state.live = { log: new SearchLog(), budgets: {}, searching: null };
  drawSearch(state.live.log, STAGES, {});
  setRunning(true);
  state.worker.postMessage({ type: "solve", request: request(), logbook: CHARTS });
}

function cancel() {
  if (!state.running) return;
  state.worker.terminate();  // ends the search at once
  state.worker = newWorker();
  state.live = null;
  setRunning(false);
  resetProgress();
  $("status").textContent = "Cancelled.";
}

function onWorkerMessage(message) {
  if (!state.live) return;
  const touched = state.live.log.add(message.rows);
  if (message.type === "progress") {
    showProgress(message);
    state.live.budgets[message.stage] = message.of;
    state.live.searching = message.stage === "block" ? message.location : null;
    touched.add(message.stage);
    drawSearch(state.live.log, touched, state.live);
  } else if (message.type === "result") {
    const { log } = state.live;
    state.live = null;
    setRunning(false);
    showRecord({ result: message.result, log, title: "" });
  } else if (message.type === "error") {
    state.live = null;
    setRunning(false);
    $("status").textContent = message.message;
  }
}

function showProgress({ stage, run, location, done, of }) {
  const fraction = of > 0 ? done / of : 0;
  if (stage === "block") {
    $("block-progress").value = (location + fraction) / 12;
    $("block-label").textContent = `location ${location + 1} of 12, pass ${run}: ${done} / ${of}`;
  } else {
    $("block-progress").value = 1;
    if (stage === "finish") $("entry-progress").value = 1;
    $(`${stage}-progress`).value = fraction;
    $(`${stage}-label`).textContent = `run ${run}: ${done} / ${of} generations`;
  }
}

// The charts of the given stages and the locations, from a logbook.
function drawSearch(log, stages, { budgets = {}, searching = null, winner = null }) {
  if (!CHARTS) return;
  const drawn = [...stages];
  for (const stage of drawn) {
    drawStageChart($(`${stage}-chart`), $(`${stage}-chart-caption`), log, stage, budgets[stage] ?? 0);
  }
  if (drawn.includes("block")) {
    drawLocations($("locations-chart"), $("locations-caption"), log, { searching, winner });
  }
}

function plural(count, word) {
  return `${count} ${word}${count === 1 ? "" : "s"}`;
}

function summaryOf(result) {
  if (!result.solved) return `Not solved: the budget ended the search in ${result.stoppedAtText}.`;
  if (result.alreadySolved) return "The cube is solved already: no moves.";
  const { block, entry, finish } = result.solutionStages;
  const merged = result.totalMoves !== result.solutionMoves
    ? ` (the stages found ${result.totalMoves}; the moves that cancel are merged)` : "";
  return `${plural(result.solutionMoves, "move")}${merged}, ` +
    `${plural(result.quarterTurns, "quarter turn")}: block ${block}, entry ${entry}, finish ${finish}, in ` +
    `${result.seconds.toFixed(2)} s, for the cube as you hold it; the block around the ` +
    `${LOCATION_EDGES[result.location]} edge (location ${result.location}).`;
}

function statusOf(result) {
  if (!result.solved) return "Not solved.";
  return result.selfCheck ? "Solved." : "The solution failed its own check.";
}

function replaceLink(link, text, type) {
  if (link.href.startsWith("blob:")) URL.revokeObjectURL(link.href);
  link.href = URL.createObjectURL(new Blob([text], { type }));
}

// A solve's result, its charts and its steps on the net: the last solve's, or a try's.
function showRecord(record) {
  state.record = record;
  const { result, log } = record;
  for (const stage of STAGES) {
    const figures = result.stages[stage];
    $(`${stage}-progress`).value = figures && figures.moveCount !== undefined ? 1 : 0;
    $(`${stage}-label`).textContent = !figures ? ""
      : figures.moveCount === undefined ? `stopped, ${plural(figures.runs, "run")}`
      : `${plural(figures.moveCount, "move")}, ${plural(figures.runs, "run")}`;
  }
  $("status").textContent = record.title ? `${record.title}: ${statusOf(result)}` : statusOf(result);
  $("summary").textContent = (record.title ? `${record.title}: ` : "") + summaryOf(result);
  showMoves(result);
  replaceLink($("download"), result.resultsLog, "text/plain");
  $("download-log").hidden = log.rows.length === 0;
  if (log.rows.length > 0) replaceLink($("download-log"), log.jsonLines(), "application/jsonl");
  drawSearch(log, STAGES, { winner: result.location ?? null });
  $("result").hidden = false;
  state.states = result.states;
  state.blockMoves = result.blockFrom ?? Infinity;
  state.blockFacelets = result.blockFacelets ?? [];
  $("steps").hidden = false;
  showStep(0);
}

// The moves as held in three labelled groups, each in its stage's colour.
function showMoves(result) {
  const solution = $("solution");
  solution.replaceChildren();
  let step = 0;
  for (const stage of STAGES) {
    const moves = (result.movesAsHeld?.[stage] ?? "").split(" ").filter((move) => move !== "");
    const group = document.createElement("div");
    group.className = `group stage-${stage}`;
    const name = document.createElement("span");
    name.className = "group-name";
    name.textContent = `${stage[0].toUpperCase()}${stage.slice(1)} (${moves.length})`;
    group.append(name, " ");
    if (moves.length === 0) {
      const none = document.createElement("i");
      none.textContent = "none";
      group.append(none);
    }
    for (const move of moves) {
      const span = document.createElement("span");
      span.textContent = move;
      span.dataset.step = step++;
      span.addEventListener("click", () => { stopPlaying(); showStep(Number(span.dataset.step)); });
      group.append(span, " ");
    }
    solution.append(group);
  }
  solution.dataset.text = result.solution;
}

// --- Stepping through the solution.

function showStep(step) {
  state.step = Math.max(0, Math.min(step, state.states.length - 1));
  drawNet($("net"), state.states[state.step]);
  const blockBuilt = state.step >= state.blockMoves && state.blockFacelets.length > 0;
  outlineFacelets($("net"), blockBuilt ? state.blockFacelets : []);
  $("net-caption").textContent = blockBuilt
    ? `Outlined: the 2×2×3 block, built by the first ${plural(state.blockMoves, "move")}.` : "";
  const moves = $("solution").querySelectorAll("span[data-step]");
  moves.forEach((span, k) => {
    span.classList.toggle("done", k < state.step);
    span.classList.toggle("current", k === state.step);
  });
  const total = state.states.length - 1;
  const solved = state.record?.result.solved ?? true;
  $("step").textContent = state.step === total ? `${total} of ${total}: ${solved ? "solved" : "the end"}`
                                               : `move ${state.step + 1} of ${total}`;
}

function stopPlaying() {
  clearInterval(state.timer);
  state.timer = null;
  $("play").textContent = "Play";
}

function play() {
  if (state.timer) return stopPlaying();
  if (state.step === state.states.length - 1) showStep(0);
  $("play").textContent = "Pause";
  state.timer = setInterval(() => {
    if (state.step >= state.states.length - 1) return stopPlaying();
    showStep(state.step + 1);
  }, 600);
}

// --- Tries.

function startTries() {
  if (!state.valid || busy()) return;
  const count = Number($("tries-count").value);
  $("tries-message").textContent = "";
  if (!Number.isInteger(count) || count < 1 || count > MAX_TRIES) {
    $("tries-message").textContent = `Tries must be a whole number from 1 to ${MAX_TRIES}`;
    return;
  }
  const seed = $("seed").value !== "" ? Number($("seed").value)
                                      : crypto.getRandomValues(new Uint32Array(1))[0];
  const workers = Math.min(navigator.hardwareConcurrency || 1, count);
  stopPlaying();
  state.triesSeeds = { seed, count, workers };
  state.tries.start(seed, count, workers);
  setInputsDisabled(true);
  updateButtons();
}

function cancelTries() {
  state.tries.cancel();
  triesChanged();
}

function triesChanged() {
  const { tries } = state.tries;
  renderTriesTable(tries);
  renderHistogram(tries);
  const { seed, count, workers } = state.triesSeeds;
  const done = tries.filter((t) => t.status === "done").length;
  const last = (seed + count - 1) % SEED_RANGE;
  const seeds = count === 1 ? `seed ${seed}` : `seeds ${seed} to ${last}`;
  $("tries-status").textContent = state.tries.running
    ? `${done} of ${count} done, ${plural(workers, "worker")}; ${seeds}`
    : `${done} of ${count} done; ${seeds}`;
  // The inputs stayed as they were: the view need not follow them.
  if (!state.tries.running) setInputsDisabled(false);
  updateButtons();
}

function cell(text) {
  const td = document.createElement("td");
  td.textContent = text;
  return td;
}

function renderTriesTable(tries) {
  const rows = tries.map((t) => {
    const tr = document.createElement("tr");
    tr.dataset.try = t.number;
    tr.className = t.status;
    const { result } = t;
    const moves = t.status === "done" ? (result.solved ? String(result.solutionMoves) : "not solved")
                : t.status === "error" ? t.message : t.status;
    tr.append(cell(String(t.number)), cell(String(t.seed)), cell(moves),
              cell(result ? result.seconds.toFixed(2) : ""));
    if (result) tr.dataset.solution = result.solution;
    const show = document.createElement("button");
    show.type = "button";
    show.textContent = "Show";
    show.disabled = !result;
    show.addEventListener("click", () => {
      if (state.running) return;  // the net and the charts follow the search under way
      stopPlaying();
      showRecord({ result, log: t.log, title: `Try ${t.number} (seed ${t.seed})` });
    });
    const td = document.createElement("td");
    td.append(show);
    tr.append(td);
    return tr;
  });
  $("tries-table").tBodies[0].replaceChildren(...rows);
}

// How many solved tries took each number of moves: a bar for every count from the fewest to
// the most, or for every few counts when they spread wide.
function renderHistogram(tries) {
  const moves = tries.filter((t) => t.result?.solved).map((t) => t.result.solutionMoves);
  $("tries-histogram").closest("figure").hidden = moves.length === 0;
  if (moves.length === 0) return;
  const low = Math.min(...moves);
  const high = Math.max(...moves);
  const width = Math.ceil((high - low + 1) / 20);
  const bars = [];
  for (let from = low; from <= high; from += width) {
    const to = from + width - 1;
    const count = moves.filter((m) => m >= from && m <= to).length;
    bars.push({ value: count || null, label: String(from),
                title: `${plural(count, "try")} of ${width === 1 ? from : `${from} to ${to}`} moves` });
  }
  drawBars($("tries-histogram"), {
    bars, yMax: Math.max(...bars.map((b) => b.value ?? 0)), yLabel: "tries",
    xLabel: width === 1 ? "moves" : `moves (bars of ${width})`, labelEvery: Math.ceil(bars.length / 10),
    width: 420,
  });
}

// --- Wiring.

createNet($("net"), paintFacelet);
makePalette();
if (!CHARTS) {
  $("charts").hidden = true;
  $("locations").hidden = true;
}
for (const radio of document.querySelectorAll('input[name="mode"]')) {
  radio.addEventListener("change", () => setMode(radio.value));
}
for (const id of ["scramble", "generations", "seed"]) {
  $(id).addEventListener("input", check);
}
for (const input of settingInputs()) input.addEventListener("input", check);
$("set-stop-at-goal").addEventListener("change", check);
$("settings-reset").addEventListener("click", () => {
  for (const input of settingInputs()) input.value = "";
  $("set-stop-at-goal").checked = false;
  check();
});
$("random").addEventListener("click", () => {
  const answer = JSON.parse(module.randomScramble(JSON.stringify({ random: Number($("random-length").value) })));
  if (answer.error) {
    $("scramble-message").textContent = answer.error;
    return;
  }
  $("scramble").value = answer.scramble;
  check();
});
$("paint-solved").addEventListener("click", () => { state.paint = SOLVED; check(); });
$("paint-scrambled").addEventListener("click", () => {
  const answer = JSON.parse(module.cubeOf(JSON.stringify({ scramble: $("scramble").value })));
  if (!answer.error) state.paint = answer.facelets;
  check();
});
$("solve").addEventListener("click", solve);
$("cancel").addEventListener("click", cancel);
$("back").addEventListener("click", () => { stopPlaying(); showStep(state.step - 1); });
$("forward").addEventListener("click", () => { stopPlaying(); showStep(state.step + 1); });
$("play").addEventListener("click", play);
$("copy").addEventListener("click", async () => {
  await navigator.clipboard.writeText($("solution").dataset.text);
  $("status").textContent = "Solution copied.";
});
state.tries = new Tries({ requestOf: (seed) => request(seed), onChange: triesChanged });
$("tries-run").addEventListener("click", startTries);
$("tries-cancel").addEventListener("click", cancelTries);
state.worker = newWorker();
setMode("scramble");
drawSearch(new SearchLog(), STAGES, {});
document.body.dataset.ready = "true";
