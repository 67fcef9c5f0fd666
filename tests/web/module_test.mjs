// The WebAssembly module under node: a seeded solve through its JSON interface equals the
// native command line's for the same request, the results log included, on each back end of
// the module; and a bad request is an error, not a crash.
// Usage: node --no-experimental-fetch module_test.mjs MODULE_JS NATIVE_SOLVER
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { join } from "node:path";

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
  "--results", join(folder, "results.txt")], { encoding: "utf8" }));
const nativeLog = readFileSync(join(folder, "results.txt"), "utf8");
rmSync(folder, { recursive: true, force: true });
delete native.seconds;

for (const backEnd of ["wasm-simd", "portable"]) {
  check(solver.useBackEnd(backEnd), `the module has the ${backEnd} back end`);
  let progressCalls = 0;
  const result = JSON.parse(solver.solve(
    JSON.stringify({ scramble: "R U2 F' L D2 B", generations: 40, seed: 3 }), () => { progressCalls += 1; }));
  const { seconds, resultsLog, states, ...fields } = result;
  check(JSON.stringify(fields) === JSON.stringify(native), `${backEnd}: the native result, field for field`);
  check(resultsLog === nativeLog, `${backEnd}: the native results log`);
  check(states.length === native.solution.split(" ").length + 1, `${backEnd}: a state for every move`);
  check(progressCalls > 0, `${backEnd}: progress was reported`);
}
const bad = JSON.parse(solver.solve(JSON.stringify({ scramble: "R Q" }), () => {}));
check(bad.error.startsWith("character ") && bad.error.includes('"Q" is not a move'),
      "a bad scramble is an error with its message");
check(JSON.parse(solver.cubeOf("{\"facelets\": \"UUU\"}")).error.startsWith("the facelets: the state has 3"),
      "a bad state is an error with its message");
process.exit(failed === 0 ? 0 : 1);
