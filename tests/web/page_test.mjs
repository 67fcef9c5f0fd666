// The web page in a real headless browser: Debian's chromium driven by puppeteer-core, against
// the page served on 127.0.0.1. Each check reads what a person would see (the message under
// the scramble, the net's colours, the solution text, the charts' data) and compares solutions
// and search figures with the native command line's for the same input. Leaves a screenshot
// of the page's first view, of the page solved and of each panel in SCREENSHOTS (a folder).
// Usage: node page_test.mjs URL NATIVE_SOLVER SCREENSHOTS
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import puppeteer from "puppeteer-core";

const [url, nativeSolver, screenshots] = process.argv.slice(2);
const GENERATIONS = "60";
const failures = [];

function check(condition, what) {
  console.log(`${condition ? "ok  " : "FAIL"} ${what}`);
  if (!condition) failures.push(what);
}

// The native command line's record for the same input and seed (and GENERATIONS, unless the
// arguments give them), with its logbook's rows.
function nativeRecord(args) {
  const folder = mkdtempSync(join(tmpdir(), "cube-page-log-"));
  try {
    const log = join(folder, "log.jsonl");
    const generations = args.includes("-g") ? [] : ["-g", GENERATIONS];
    const out = execFileSync(nativeSolver, ["solve", ...args, ...generations, "--format", "json",
                                            "--log", log], { encoding: "utf8" });
    const rows = readFileSync(log, "utf8").trim().split("\n").map((line) => JSON.parse(line));
    return { ...JSON.parse(out), rows };
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}

// The native command line's solution (as held) for the same input and seed.
function nativeSolution(args) {
  return nativeRecord(args).solution;
}

async function panelShot(page, id, name) {
  const path = join(screenshots, `page-${name}.png`);
  await (await page.$(`#${id}`)).screenshot({ path });
  console.log(`     screenshot: ${path}`);
}

const profile = mkdtempSync(join(tmpdir(), "cube-page-"));
const browser = await puppeteer.launch({
  executablePath: "/usr/bin/chromium",
  headless: true,
  userDataDir: profile,
  args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync"],
});

async function setValue(page, id, value) {
  await page.$eval(`#${id}`, (input, v) => {
    input.value = v;
    input.dispatchEvent(new Event("input", { bubbles: true }));
  }, value);
}

const text = (page, id) => page.$eval(`#${id}`, (element) => element.textContent);
const disabled = (page, id) => page.$eval(`#${id}`, (element) => element.disabled);
const netLetters = (page) => page.$$eval("#net rect", (rects) => rects.map((r) => r.dataset.letter).join(""));

async function solveAndWait(page, timeout = 300000) {
  await page.click("#solve");
  await page.waitForFunction(() => !document.getElementById("result").hidden ||
                                   /cannot|fault/.test(document.getElementById("status").textContent),
                             { timeout, polling: 200 });
  return page.$eval("#solution", (element) => element.dataset.text);
}

try {
  const page = await browser.newPage();
  const problems = [];
  page.on("pageerror", (error) => problems.push(error.message));
  page.on("console", (message) => { if (message.type() === "error") problems.push(message.text()); });
  await page.setViewport({ width: 1100, height: 1000 });
  await page.goto(url);
  await page.waitForSelector("body[data-ready=true]");
  const firstView = join(screenshots, "page-first-view.png");
  await page.screenshot({ path: firstView });
  console.log(`     screenshot: ${firstView}`);

  // The page's example as it opens, with a seed: each run stops at its stage's goal, as the
  // native --stop-at-goal does.
  const scramble = "R U2 F' L D2 B";
  check((await text(page, "set-population-range")) === "2 to 4096" &&
        (await page.$eval("#set-immigrants", (input) => input.placeholder)) === "5" &&
        (await page.$eval("#generations", (input) => input.value)) === "500",
        "the settings take their ranges and the program's values from the module's table");
  await setValue(page, "seed", "7");
  const quick = await solveAndWait(page);
  const nativeQuick = nativeRecord(["--seed", "7", "--stop-at-goal", "-g", "500", ...scramble.split(" ")]);
  check(quick === nativeQuick.solution,
        "by default a seeded scramble gives the native --stop-at-goal solution");

  // The full search: the native solution without --stop-at-goal.
  await page.click("#full-search");
  await setValue(page, "generations", GENERATIONS);
  const started = Date.now();
  const solution = await solveAndWait(page);
  console.log(`     the page's full search solved it in ${((Date.now() - started) / 1000).toFixed(1)} s`);
  const native = nativeRecord(["--seed", "7", ...scramble.split(" ")]);
  check(solution === native.solution, "with the full search a seeded scramble gives the native solution");
  const blockLabel = await text(page, "block-label");
  check(/moves?, 1 run/.test(blockLabel), "the block's progress bar ends with its figures");

  // Each stage's chart ends where the native logbook's last row of the stage's last run does.
  for (const stage of ["block", "entry", "finish"]) {
    const chart = await page.$eval(`#${stage}-chart`, (svg) => ({
      ...svg.dataset, lines: svg.querySelectorAll("polyline:not(.earlier)").length }));
    const last = native.rows.filter((row) => row.stage === stage).at(-1);
    check(Number(chart.points) > 0 && chart.lines === 2 && Number(chart.lastBest) === last.best,
          `the ${stage} chart draws its last run, ending at the native best ${last.best} ` +
          `(${chart.points} points, last best ${chart.lastBest})`);
  }
  const bars = await page.$$eval("#locations-chart rect.bar",
                                 (rects) => rects.map((r) => ({ location: Number(r.dataset.location),
                                                                winner: r.classList.contains("winner") })));
  check(bars.length === 12 && bars.filter((bar) => bar.winner).length === 1 &&
        bars.find((bar) => bar.winner).location === native.location,
        `the location chart has twelve bars and marks location ${native.location}`);
  const groups = await page.$$eval("#solution .group", (divs) => divs.map((div) =>
    div.querySelectorAll("span[data-step]").length));
  check(JSON.stringify(groups) === JSON.stringify(["block", "entry", "finish"].map(
          (stage) => native.solutionStages[stage])),
        `the moves are shown in three groups of the stages' counts (${groups.join(", ")})`);

  // Stepping past the block's moves outlines its 20 facelets, each of its face's colour; at the
  // end the net is solved.
  const outlined = () => page.$eval("#net path.outline", (path) => path.dataset.facelets);
  const blockMoves = native.solutionStages.block;
  for (let k = 0; k < blockMoves; ++k) await page.click("#forward");
  const block = (await outlined()).split(",").map(Number);
  const net = await netLetters(page);
  check(block.length === 20 && block.every((k) => net[k] === net[9 * Math.floor(k / 9) + 4]),
        "after the block's moves its 20 facelets are outlined, each of its face's colour");
  await panelShot(page, "cube", "net");
  const moves = solution.split(" ").length;
  for (let k = blockMoves; k < moves; ++k) await page.click("#forward");
  const solved = await netLetters(page);
  const faces = [0, 1, 2, 3, 4, 5].map((f) => solved.slice(9 * f, 9 * f + 9));
  check(faces.every((face) => face === face[0].repeat(9)), "the last step shows a solved net");
  check((await text(page, "step")).includes("solved"), "the step counter says solved");
  const screenshot = join(screenshots, "page.png");
  await page.screenshot({ path: screenshot, fullPage: true });
  console.log(`     screenshot: ${screenshot}`);
  await panelShot(page, "progress", "charts");
  await panelShot(page, "locations", "locations");
  await panelShot(page, "result", "solution");

  // A random scramble drawn by the module fills the scramble field.
  await page.click("#random");
  const drawn = await page.$eval("#scramble", (input) => input.value);
  check(drawn.split(" ").length === 25 && (await text(page, "scramble-message")) === "",
        `a random scramble of 25 moves is drawn ("${drawn}")`);

  // Bad scramble text: a message, and no run.
  await setValue(page, "scramble", "R U X2");
  check((await text(page, "scramble-message")).includes('character 5 of the scramble: "X" is not a move'),
        "bad scramble text shows which move is wrong");
  check(await disabled(page, "solve"), "bad scramble text allows no run");

  // Cancel during a long run stops the worker.
  await setValue(page, "scramble", scramble);
  await setValue(page, "generations", "100000");
  await page.click("#solve");
  await page.waitForFunction(() => document.getElementById("block-label").textContent !== "",
                             { timeout: 60000, polling: 100 });
  await page.click("#cancel");
  check((await text(page, "status")) === "Cancelled.", "Cancel says the search was cancelled");
  await new Promise((resolve) => setTimeout(resolve, 1500));
  check(await page.$eval("#result", (element) => element.hidden), "a cancelled search shows no result");
  check(!(await disabled(page, "solve")), "after Cancel a new search can start");
  check((await text(page, "block-label")) === "", "after Cancel the progress is cleared");

  // A search setting out of its range: the command line's message under it, and no run.
  await setValue(page, "generations", GENERATIONS);
  await page.click("#settings summary");
  await setValue(page, "set-population", "1");
  check((await text(page, "set-population-message")) === '"population" must be a whole number from 2 to 4096',
        "a population of 1 is refused with the command line's message under its field");
  check(await disabled(page, "solve") && await disabled(page, "tries-run"),
        "a setting out of its range allows no run");
  await panelShot(page, "input", "settings");
  await setValue(page, "set-population", "");
  check((await text(page, "set-population-message")) === "" && !(await disabled(page, "solve")),
        "an emptied setting takes the program's value again");

  // Three tries from seed 11, stopping at each stage's goal (the page's default again): the
  // native solutions of seeds 11, 12 and 13; a try chosen shows its solution.
  await page.click("#full-search");
  await setValue(page, "seed", "11");
  await setValue(page, "tries-count", "1001");
  await page.click("#tries-run");
  check((await text(page, "tries-message")) === '"tries" must be a whole number from 1 to 1000' &&
        (await page.$$("#tries-table tbody tr")).length === 0,
        "more tries than the module allows: its message under the field, and no tries");
  await setValue(page, "tries-count", "3");
  await page.click("#tries-run");
  await page.waitForFunction(() => document.querySelectorAll("#tries-table tbody tr.done").length === 3,
                             { timeout: 300000, polling: 200 });
  const tries = await page.$$eval("#tries-table tbody tr", (rows) => rows.map((row) => row.dataset.solution));
  const nativeTries = [11, 12, 13].map((seed) =>
    nativeSolution(["--seed", String(seed), "--stop-at-goal", ...scramble.split(" ")]));
  check(JSON.stringify(tries) === JSON.stringify(nativeTries),
        "three tries give the native solutions of seeds 11, 12 and 13");
  check((await page.$$("#tries-histogram rect.bar")).length > 0, "the tries' moves make a histogram");
  await page.click('#tries-table tbody tr[data-try="2"] button');
  check((await page.$eval("#solution", (element) => element.dataset.text)) === nativeTries[1] &&
        (await text(page, "summary")).startsWith("Try 2 (seed 12)"),
        "a try chosen shows its solution");
  await panelShot(page, "tries", "tries");
  await page.click("#full-search");

  // Painting the net of a scrambled cube gives the native --facelets solution.
  await setValue(page, "seed", "9");
  await page.click('input[name="mode"][value="paint"]');
  await page.click("#paint-solved");
  const target = "LRUBUUDRRBLBDRLFULFDDFFFUBRBDUBDBLLDULRULRBRRLUFFBFFDD";  // R U2 F' L D2 B
  for (let index = 0; index < 54; ++index) {
    if (index % 9 === 4) continue;
    await page.click(`#palette button[data-face="${target[index]}"]`);
    await page.click(`#net rect[data-index="${index}"]`);
  }
  check((await netLetters(page)) === target, "the painted net shows the painted colours");
  const painted = await solveAndWait(page);
  check(painted === nativeSolution(["--facelets", target, "--seed", "9"]),
        "a painted cube gives the native --facelets solution");

  // A painted cube with one twisted corner: its message, and no run.
  await page.click("#paint-solved");
  for (const [index, face] of [[8, "R"], [9, "F"], [20, "U"]]) {
    await page.click(`#palette button[data-face="${face}"]`);
    await page.click(`#net rect[data-index="${index}"]`);
  }
  const twisted = await text(page, "paint-message");
  check(twisted === "a corner is twisted", `a twisted corner is named ("${twisted}")`);
  check(await disabled(page, "solve"), "a twisted corner allows no run");

  check(problems.length === 0, `no errors on the page${problems.length ? ": " + problems.join("; ") : ""}`);
} finally {
  await browser.close();
  rmSync(profile, { recursive: true, force: true });
}

if (failures.length > 0) {
  console.log(`${failures.length} check(s) failed`);
  process.exit(1);
}
console.log("every check of the page passed");
