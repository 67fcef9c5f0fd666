// The web page in a real headless browser: Debian's chromium driven by puppeteer-core, against
// the page served on 127.0.0.1. Each check reads what a person would see (the message under
// the scramble, the net's colours, the solution text) and compares solutions with the native
// command line's for the same input.
// Usage: node page_test.mjs URL NATIVE_SOLVER SCREENSHOT
import { execFileSync } from "node:child_process";
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import puppeteer from "puppeteer-core";

const [url, nativeSolver, screenshot] = process.argv.slice(2);
const GENERATIONS = "60";
const failures = [];

function check(condition, what) {
  console.log(`${condition ? "ok  " : "FAIL"} ${what}`);
  if (!condition) failures.push(what);
}

// The native command line's solution (as held) for the same input and seed.
function nativeSolution(args) {
  const out = execFileSync(nativeSolver, ["solve", ...args, "-g", GENERATIONS, "--format", "json"],
                           { encoding: "utf8" });
  return JSON.parse(out).solution;
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

  // A typed scramble with a seed: the native solution.
  const scramble = "R U2 F' L D2 B";
  await setValue(page, "scramble", scramble);
  await setValue(page, "generations", GENERATIONS);
  await setValue(page, "seed", "7");
  const started = Date.now();
  const solution = await solveAndWait(page);
  console.log(`     the page solved it in ${((Date.now() - started) / 1000).toFixed(1)} s`);
  check(solution === nativeSolution(["--seed", "7", ...scramble.split(" ")]),
        "a seeded scramble gives the native command line's solution");
  const blockLabel = await text(page, "block-label");
  check(/moves?, 1 run/.test(blockLabel), "the block's progress bar ends with its figures");

  // Stepping to the end shows a solved net.
  await page.$eval("#solution", () => {});
  const moves = solution.split(" ").length;
  for (let k = 0; k < moves; ++k) await page.click("#forward");
  const solved = await netLetters(page);
  const faces = [0, 1, 2, 3, 4, 5].map((f) => solved.slice(9 * f, 9 * f + 9));
  check(faces.every((face) => face === face[0].repeat(9)), "the last step shows a solved net");
  check((await text(page, "step")).includes("solved"), "the step counter says solved");
  await page.screenshot({ path: screenshot, fullPage: true });
  console.log(`     screenshot: ${screenshot}`);

  // Bad scramble text: a message, and no run.
  await setValue(page, "scramble", "R U X2");
  check((await text(page, "scramble-message")).includes('move 3 of the scramble, "X2"'),
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

  // Painting the net of a scrambled cube gives the native --facelets solution.
  await setValue(page, "generations", GENERATIONS);
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
