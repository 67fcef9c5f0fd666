// The WebAssembly module under node: a seeded solve through its JSON interface equals the
// native command line's for the same request, the results log included, on each back end of
// the module; with the logbook kept, the result is the same and each stage's rows end where
// the native logbook's do; the block lies where the result says; and a bad request is an
// error, not a crash.
// Usage: node --no-experimental-fetch module_test.mjs MODULE_JS NATIVE_SOLVER
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { rowsOf } from "../../web/search_log.js";

const [modulePath, nativeSolver] = process.argv.slice(2);
const createCubeSolver = createRequire(import.meta.url)(modulePath);
const solver = await createCubeSolver();
let failed = 0;

function check(condition, what) {
  console.log(`${condition ? "ok  " : "FAIL"} ${what}`);
  if (!condition) failed += 1;
}

const folder = mkdtempSync(join(tmpdir(), "cube-module-"));
const native = JSON.parse(execFileSync(nativeSolver, [
  "solve", "--scramble", "R U2 F' L D2 B", "-g", "40", "--seed", "3", "--format", "json",
  "--results", join(folder, "results.txt"), "--log", join(folder, "log.jsonl")], { encoding: "utf8" }));
const nativeLog = readFileSync(join(folder, "results.txt"), "utf8");
const nativeRows = readFileSync(join(folder, "log.jsonl"), "utf8").trim().split("\n")
  .map((line) => JSON.parse(line));
rmSync(folder, { recursive: true, force: true });
delete native.seconds;

// A row without its time, which no two runs share.
const untimed = ({ seconds, ...row }) => JSON.stringify(row);
const lastRowOf = (rows, stage) => untimed(rows.filter((row) => row.stage === stage).at(-1));

for (const backEnd of ["wasm-simd", "portable"]) {
  check(solver.useBackEnd(backEnd), `the module has the ${backEnd} back end`);
  let progressCalls = 0;
  const result = JSON.parse(solver.solve(
    JSON.stringify({ scramble: "R U2 F' L D2 B", generations: 40, seed: 3 }), () => { progressCalls += 1; }));
  const { seconds, resultsLog, states, movesAsHeld, blockFacelets, blockFrom, ...fields } = result;
  check(JSON.stringify(fields) === JSON.stringify(native), `${backEnd}: the native result, field for field`);
  check(resultsLog === nativeLog, `${backEnd}: the native results log`);
  check(states.length === native.solution.split(" ").length + 1, `${backEnd}: a state for every move`);
  check(progressCalls > 0, `${backEnd}: progress was reported`);
}

const batches = [];
const logged = JSON.parse(solver.solveWithLogbook(
  JSON.stringify({ scramble: "R U2 F' L D2 B", generations: 40, seed: 3 }), () => {},
  (batch) => { batches.push(batch); }));
const { seconds, resultsLog, states, movesAsHeld, blockFacelets, blockFrom, ...fields } = logged;
check(JSON.stringify(fields) === JSON.stringify(native), "with the logbook: the native result");
const { logbookColumns } = JSON.parse(solver.requestFields());
const rows = batches.flatMap((batch) => rowsOf(batch, logbookColumns));
check(batches.length > 1 && ["block", "entry", "finish"].every((stage) =>
        lastRowOf(rows, stage) === lastRowOf(nativeRows, stage)),
      `with the logbook: rows in ${batches.length} batches, each stage's last as the native logbook's`);
const asHeld = ["block", "entry", "finish"].map((stage) => movesAsHeld[stage]).filter((m) => m !== "");
check(asHeld.join(" ") === native.solution &&
      movesAsHeld.block.split(" ").length === native.solutionStages.block,
      "the moves as held, stage by stage, make the solution");
const afterBlock = states[blockFrom];
check(blockFrom <= native.solutionStages.block, "the block is built by the end of its moves");
check(blockFacelets.length === 20 && new Set(blockFacelets).size === 20 &&
      blockFacelets.every((k) => afterBlock[k] === afterBlock[9 * Math.floor(k / 9) + 4]),
      "after the block's moves each of the block's 20 facelets has its face's colour");

const bad = JSON.parse(solver.solve(JSON.stringify({ scramble: "R Q" }), () => {}));
check(bad.error.startsWith("character ") && bad.error.includes('"Q" is not a move'),
      "a bad scramble is an error with its message");
check(JSON.parse(solver.cubeOf("{\"facelets\": \"UUU\"}")).error.startsWith("the facelets: the state has 3"),
      "a bad state is an error with its message");
process.exit(failed === 0 ? 0 : 1);
