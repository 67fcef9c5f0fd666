// The page's wiring: the form, the search in a worker with its progress and charts, the
// solution stepped on the net, the tries; one search at a time, a single solve or the tries.
// The one mutable state of the page is here.
import { fieldTable } from "./fields.js";
import { createNet, drawNet, outlineFacelets } from "./net.js";
import { Player } from "./player.js";
import { RequestForm } from "./request_form.js";
import { SearchLog, STAGES } from "./search_log.js";
import { SearchPanel } from "./search_view.js";
import { SolutionView } from "./solution_view.js";
import { SolverClient } from "./solver_client.js";
import { Tries } from "./tries.js";
import { TriesView } from "./tries_view.js";
import { statusOf } from "./words.js";

const $ = (id) => document.getElementById(id);
const module = await createCubeSolver();  // for checks and the table; searches run in workers
const table = fieldTable(module.requestFields());
// ?charts=off leaves the logbook out, to time the page without its charts.
const CHARTS = new URLSearchParams(window.location.search).get("charts") !== "off";

const state = {
  running: false,  // a single solve
  live: null,      // while it runs: {log, budgets: {stage: generations of its run}, searching}
  workers: 0,      // how many workers the last tries had
};

const newLog = () => new SearchLog(table.logbookColumns);
const form = new RequestForm({ table, module, onChange: inputChanged });
const panel = new SearchPanel({ charts: CHARTS });
const solution = new SolutionView({ onMoveClick: (step) => { player.stop(); player.show(step); } });
const player = new Player({
  net: $("net"), caption: $("net-caption"), counter: $("step"), playButton: $("play"),
  onStep: (step) => solution.highlight(step),
});
const client = new SolverClient(onWorkerMessage);
const tries = new Tries({ requestOf: (seed) => form.request(seed), onChange: triesChanged });
const triesView = new TriesView({ onShow: showTry });

function busy() {
  return state.running || tries.running;
}

function updateButtons() {
  $("solve").disabled = busy() || !form.valid;
  $("tries-run").disabled = busy() || !form.valid;
  $("cancel").disabled = !state.running;
  $("tries-cancel").disabled = !tries.running;
}

// The net shows the cube as given, with no steps.
function showInputCube() {
  player.stop();
  drawNet($("net"), form.inputCube);
  outlineFacelets($("net"), []);
  $("net-caption").textContent = "";
  $("steps").hidden = true;
}

function inputChanged() {
  $("net").classList.toggle("painting", form.mode === "paint");
  if (!busy()) showInputCube();
  updateButtons();
}

function setRunning(running) {
  state.running = running;
  form.setDisabled(busy());
  form.check();
  inputChanged();
}

// --- A single solve.

function solve() {
  if (!form.valid || busy()) return;
  panel.reset();
  solution.hide();
  showInputCube();
  $("status").textContent = "Searching...";
  state.live = { log: newLog(), budgets: {}, searching: null };
  panel.draw(state.live.log, STAGES);
  setRunning(true);
  client.solve(form.request(), CHARTS);
}

function cancel() {
  if (!state.running) return;
  client.cancel();  // ends the search at once
  state.live = null;
  setRunning(false);
  panel.reset();
  $("status").textContent = "Cancelled.";
}

function onWorkerMessage(message) {
  if (!state.live) return;
  const { live } = state;
  const touched = live.log.add(message.rows);
  if (message.type === "progress") {
    panel.progress(message);
    live.budgets[message.stage] = message.of;
    live.searching = message.stage === "block" ? message.location : null;
    touched.add(message.stage);
    panel.draw(live.log, touched, live);
    return;
  }
  state.live = null;
  setRunning(false);
  if (message.type === "result") {
    showRecord({ result: message.result, log: live.log, title: "" });
  } else {
    $("status").textContent = message.message;
  }
}

// A solve's result, its charts and its steps on the net: the last solve's, or a try's.
function showRecord(record) {
  const { result, log, title } = record;
  panel.finished(result, log);
  $("status").textContent = title ? `${title}: ${statusOf(result)}` : statusOf(result);
  solution.show(record);
  $("steps").hidden = false;
  player.load(result);
}

// --- Tries.

function startTries() {
  if (!form.valid || busy()) return;
  const count = form.triesCount($("tries-count").value);
  if (count === null) return;
  const seedText = $("seed").value.trim();
  const seed = seedText !== "" ? Number(seedText) : crypto.getRandomValues(new Uint32Array(1))[0];
  state.workers = Math.min(navigator.hardwareConcurrency || 1, count);
  player.stop();
  tries.start(seed, count, state.workers);
  form.setDisabled(true);
  updateButtons();
}

function cancelTries() {
  tries.cancel();
  triesChanged();
}

function triesChanged() {
  triesView.render(tries.tries, { workers: state.workers, running: tries.running });
  // The inputs stayed as they were while the tries ran: the view need not follow them.
  if (!tries.running) form.setDisabled(false);
  updateButtons();
}

function showTry(t) {
  if (state.running) return;  // the net and the charts follow the search under way
  const log = newLog();
  log.add(t.batches);
  showRecord({ result: t.result, log, title: `Try ${t.number} (seed ${t.seed})` });
}

// --- Wiring.

createNet($("net"), (index) => { if (!busy()) form.paint(index); });
$("solve").addEventListener("click", solve);
$("cancel").addEventListener("click", cancel);
$("back").addEventListener("click", () => player.back());
$("forward").addEventListener("click", () => player.forward());
$("play").addEventListener("click", () => player.toggle());
$("copy").addEventListener("click", async () => {
  await navigator.clipboard.writeText(solution.text);
  $("status").textContent = "Solution copied.";
});
$("tries-run").addEventListener("click", startTries);
$("tries-cancel").addEventListener("click", cancelTries);
form.setMode("scramble");
panel.draw(newLog(), STAGES);
document.body.dataset.ready = "true";
