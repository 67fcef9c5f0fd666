// Figures of the page in headless Chromium (not a test: nothing here passes or fails): the
// whole seeded run of the page's own example, with the live charts and without them
// (?charts=off), alternated; and how long the page takes to answer a click while a search runs
// (from the click's event to the next frame drawn after it).
// Usage: node page_bench.mjs URL [ROUNDS] [GENERATIONS]   (the page served as tools/web does)
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import puppeteer from "puppeteer-core";

const [url, rounds = "3", generations = "500"] = process.argv.slice(2);
const SEED = "7";
const CLICKS = 20;

const profile = mkdtempSync(join(tmpdir(), "cube-page-bench-"));
const browser = await puppeteer.launch({
  executablePath: "/usr/bin/chromium",
  headless: true,
  userDataDir: profile,
  args: ["--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
         "--disable-component-update", "--disable-sync"],
});

async function openPage(charts) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1100, height: 1000 });
  await page.goto(charts ? url : `${url}?charts=off`);
  await page.waitForSelector("body[data-ready=true]");
  await page.$eval("#generations", (input, value) => {
    input.value = value;
    input.dispatchEvent(new Event("input", { bubbles: true }));
  }, generations);
  await page.$eval("#seed", (input, value) => {
    input.value = value;
    input.dispatchEvent(new Event("input", { bubbles: true }));
  }, SEED);
  // Each click's time from its event to the frame after its handlers.
  await page.evaluate(() => {
    window.clickTimes = [];
    document.addEventListener("click", (event) => {
      requestAnimationFrame(() => setTimeout(() => {
        window.clickTimes.push(performance.now() - event.timeStamp);
      }, 0));
    }, true);
  });
  return page;
}

// One whole run: wall time from the click to the result shown, and the module's own seconds;
// with `clicks`, that many clicks on the settings' summary while it runs.
async function wholeRun(charts, clicks = 0) {
  const page = await openPage(charts);
  const started = Date.now();
  await page.click("#solve");
  for (let k = 0; k < clicks; ++k) {
    await new Promise((resolve) => setTimeout(resolve, 250));
    await page.click("#settings summary");
  }
  await page.waitForFunction(() => !document.getElementById("result").hidden,
                             { timeout: 600000, polling: 50 });
  const wall = (Date.now() - started) / 1000;
  const seconds = Number(/in ([\d.]+) s/.exec(await page.$eval("#summary", (e) => e.textContent))[1]);
  const clickTimes = await page.evaluate(() => window.clickTimes);
  await page.close();
  return { wall, seconds, clickTimes };
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

try {
  const times = { on: [], off: [] };
  for (let round = 0; round < Number(rounds); ++round) {
    for (const charts of round % 2 === 0 ? [true, false] : [false, true]) {
      const { wall, seconds } = await wholeRun(charts);
      times[charts ? "on" : "off"].push(wall);
      console.log(`round ${round + 1}, charts ${charts ? "on " : "off"}: ${wall.toFixed(2)} s ` +
                  `(the solve's own ${seconds.toFixed(2)} s)`);
    }
  }
  for (const key of ["on", "off"]) {
    console.log(`charts ${key}: best ${Math.min(...times[key]).toFixed(2)} s, median ` +
                `${median(times[key]).toFixed(2)} s`);
  }
  const ratio = Math.min(...times.on) / Math.min(...times.off);
  console.log(`best with charts / best without: ${ratio.toFixed(3)}`);

  const { clickTimes } = await wholeRun(true, CLICKS);
  console.log(`a click while a search runs (charts on), ${clickTimes.length} clicks: median ` +
              `${median(clickTimes).toFixed(1)} ms, max ${Math.max(...clickTimes).toFixed(1)} ms`);
} finally {
  await browser.close();
  rmSync(profile, { recursive: true, force: true });
}
