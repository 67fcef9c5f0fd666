// The page: the cube given by a scramble or painted on the net, the search in a worker with a
// progress bar per stage, and the solution stepped on the net.
import { COLOURS, FACES, SOLVED, createNet, drawNet, isCentre } from "./net.js";

const $ = (id) => document.getElementById(id);
const module = await createCubeSolver();  // for checks and states; the search runs in the worker

const state = {
  mode: "scramble",
  facelets: SOLVED,   // the cube shown before a solve (scrambled or painted)
  paint: SOLVED,      // the painted cube
  colour: "U",
  valid: false,
  worker: null,
  running: false,
  states: [],         // after a solve: the cube before each move, and at the end solved
  step: 0,
  timer: null,
};

// The JSON request of the cube as given now, with generations and seed.
function request() {
  const body = state.mode === "paint" ? { facelets: state.paint } : { scramble: $("scramble").value };
  body.generations = Number($("generations").value);
  if ($("seed").value !== "") body.seed = Number($("seed").value);
  return JSON.stringify(body);
}

// The cube of the current input, or the message of the first rule the request breaks (the
// module's, as the command line words it); the net and Solve follow it.
function check() {
  const answer = JSON.parse(module.cubeOf(request()));
  const message = state.mode === "paint" ? $("paint-message") : $("scramble-message");
  $("scramble-message").textContent = "";
  $("paint-message").textContent = "";
  state.valid = !answer.error;
  if (answer.error) {
    // The net is the facelets: the message need not say so.
    message.textContent = answer.error.replace(/^the facelets: /, "");
  } else {
    state.facelets = answer.facelets;
  }
  if (!state.running) {
    drawNet($("net"), state.mode === "paint" ? state.paint : state.facelets);
    $("steps").hidden = true;
  }
  $("solve").disabled = state.running || !state.valid;
}

function setMode(mode) {
  state.mode = mode;
  $("scramble-mode").hidden = mode !== "scramble";
  $("paint-mode").hidden = mode !== "paint";
  $("net").classList.toggle("painting", mode === "paint");
  check();
}

function paintFacelet(index) {
  if (state.mode !== "paint" || state.running || isCentre(index)) return;
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

// --- The search.

function newWorker() {
  const worker = new Worker("worker.js");
  worker.onmessage = (event) => onWorkerMessage(event.data);
  return worker;
}

function resetProgress() {
  for (const stage of ["block", "entry", "finish"]) {
    $(`${stage}-progress`).value = 0;
    $(`${stage}-label`).textContent = "";
  }
}

function setRunning(running) {
  state.running = running;
  $("cancel").disabled = !running;
  for (const id of ["scramble", "random", "generations", "seed", "paint-solved", "paint-scrambled"]) {
    $(id).disabled = running;
  }
  check();
}

function solve() {
  if (!state.valid || state.running) return;
  stopPlaying();
  resetProgress();
  $("result").hidden = true;
  $("status").textContent = "Searching...";
  setRunning(true);
  state.worker.postMessage({ type: "solve", request: request() });
}

function cancel() {
  if (!state.running) return;
  state.worker.terminate();  // ends the search at once
  state.worker = newWorker();
  setRunning(false);
  resetProgress();
  $("status").textContent = "Cancelled.";
}

function onWorkerMessage(message) {
  if (message.type === "progress") {
    showProgress(message);
  } else if (message.type === "result") {
    setRunning(false);
    showResult(message.result);
  } else if (message.type === "error") {
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

function showResult(result) {
  for (const stage of ["block", "entry", "finish"]) {
    $(`${stage}-progress`).value = 1;
    const { moveCount, runs } = result.stages[stage];
    $(`${stage}-label`).textContent =
      `${moveCount} move${moveCount === 1 ? "" : "s"}, ${runs} run${runs === 1 ? "" : "s"}`;
  }
  $("status").textContent = result.selfCheck ? "Solved." : "The solution failed its own check.";
  const { block, entry, finish } = result.stages;
  $("summary").textContent = `${result.totalMoves} moves (block ${block.moveCount}, entry ` +
    `${entry.moveCount}, finish ${finish.moveCount}) in ${result.seconds.toFixed(2)} s, ` +
    "for the cube as you hold it.";
  const solution = $("solution");
  solution.replaceChildren();
  result.solution.split(" ").filter((move) => move !== "").forEach((move, k) => {
    const span = document.createElement("span");
    span.textContent = move;
    span.dataset.step = k;
    solution.append(span, " ");
  });
  solution.dataset.text = result.solution;
  const log = new Blob([result.resultsLog], { type: "text/plain" });
  const link = $("download");
  if (link.href.startsWith("blob:")) URL.revokeObjectURL(link.href);
  link.href = URL.createObjectURL(log);
  $("result").hidden = false;
  state.states = result.states;
  $("steps").hidden = false;
  showStep(0);
}

// --- Stepping through the solution.

function showStep(step) {
  state.step = Math.max(0, Math.min(step, state.states.length - 1));
  drawNet($("net"), state.states[state.step]);
  const moves = $("solution").querySelectorAll("span");
  moves.forEach((span, k) => {
    span.classList.toggle("done", k < state.step);
    span.classList.toggle("current", k === state.step);
  });
  const total = state.states.length - 1;
  $("step").textContent = state.step === total ? `${total} of ${total}: solved`
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

// --- Wiring.

createNet($("net"), paintFacelet);
makePalette();
for (const radio of document.querySelectorAll('input[name="mode"]')) {
  radio.addEventListener("change", () => setMode(radio.value));
}
for (const id of ["scramble", "generations", "seed"]) {
  $(id).addEventListener("input", check);
}
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
state.worker = newWorker();
setMode("scramble");
document.body.dataset.ready = "true";
