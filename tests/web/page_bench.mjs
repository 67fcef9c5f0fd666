// Figures of the page in headless Chromium (not a test: nothing here passes or fails): the
// seeded run of the page's own example as it opens (each run stopping at its stage's goal) and
// with the full search, alternated, each in a freshly opened page, from the click on Solve to
// the result shown; and how long the page takes to answer a click while a full search runs
// (from the click's event to the next frame drawn after it).
// Usage: node page_bench.mjs URL [ROUNDS] [GENERATIONS] [charts=off]
//   (the page served as tools/web does; GENERATIONS "page" or none keeps the page's own)
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import puppeteer from "puppeteer-core";

const [url, rounds = "3", generations = "page", charts = "charts=on"] = process.argv.slice(2);
const SEED = "7";
const CLICKS = 20;
const SETTINGS = { "stop at goal": false, "full search": true };

const profile = mkdtempSync(join(tmpdir(), "cube-page-bench-"));
const browser = await puppeteer.launch({
  executablePath: "/usr/bin/chromium",
  headless: true,
  userDataDir: profile,
  args: ["--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
         "--disable-component-update", "--disable-sync"],
});

async function setValue(page, id, value) {
  await page.$eval(`#${id}`, (input, v) => {
    input.value = v;
    input.dispatchEvent(new Event("input", { bubbles: true }));
  }, value);
}

async function openPage(fullSearch) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1100, height: 1000 });
  await page.goto(charts === "charts=off" ? `${url}?charts=off` : url);
  await page.waitForSelector("body[data-ready=true]");
  if (generations !== "page") await setValue(page, "generations", generations);
  await setValue(page, "seed", SEED);
  if (fullSearch) await page.click("#full-search");
  // The click on Solve, each click's time from its event to the frame after its handlers, and
  // the moment the result shows.
  await page.evaluate(() => {
    window.clickTimes = [];
    document.addEventListener("click", (event) => {
      if (event.target.id === "solve") window.solveClicked = event.timeStamp;
      requestAnimationFrame(() => setTimeout(() => {
        window.clickTimes.push(performance.now() - event.timeStamp);
      }, 0));
    }, true);
    const result = document.getElementById("result");
    new MutationObserver(() => {
      if (!result.hidden) window.resultShown ??= performance.now();
    }).observe(result, { attributes: true });
  });
  return page;
}

// One run: the time from the click on Solve to the result shown, and the module's own
// seconds; with `clicks`, that many clicks on the settings' summary while it runs.
async function run(fullSearch, clicks = 0) {
  const page = await openPage(fullSearch);
  await page.click("#solve");
  for (let k = 0; k < clicks; ++k) {
    await new Promise((resolve) => setTimeout(resolve, 250));
    await page.click("#settings summary");
  }
  await page.waitForFunction(() => window.resultShown !== undefined, { timeout: 600000, polling: 50 });
  const wall = await page.evaluate(() => (window.resultShown - window.solveClicked) / 1000);
  const seconds = Number(/in ([\d.]+) s/.exec(await page.$eval("#summary", (e) => e.textContent))[1]);
  const clickTimes = await page.evaluate(() => window.clickTimes.slice(1));  // not Solve's
  await page.close();
  return { wall, seconds, clickTimes };
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

try {
  const names = Object.keys(SETTINGS);
  const times = Object.fromEntries(names.map((name) => [name, []]));
  for (let round = 0; round < Number(rounds); ++round) {
    for (const name of round % 2 === 0 ? names : [...names].reverse()) {
      const { wall, seconds } = await run(SETTINGS[name]);
      times[name].push(wall);
      console.log(`round ${round + 1}, ${name}: ${wall.toFixed(3)} s ` +
                  `(the solve's own ${seconds.toFixed(2)} s)`);
    }
  }
  for (const name of names) {
    console.log(`${name}: best ${Math.min(...times[name]).toFixed(3)} s, median ` +
                `${median(times[name]).toFixed(3)} s`);
  }

  const { clickTimes } = await run(true, CLICKS);
  console.log(`a click while a full search runs, ${clickTimes.length} clicks: median ` +
              `${median(clickTimes).toFixed(1)} ms, max ${Math.max(...clickTimes).toFixed(1)} ms`);
} finally {
  await browser.close();
  rmSync(profile, { recursive: true, force: true });
}
