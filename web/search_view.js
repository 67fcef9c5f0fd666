// The search as it goes and as it went: a progress bar per stage; drawn from its logbook
// (search_log.js), a chart per stage of the best and mean objective against the generation,
// the stage's current run in front of its earlier runs, faded, and the block stage's twelve
// locations as bars of their best block scores.
import { drawBars, drawLines } from "./charts.js";
import { LOCATION_COUNT, STAGES } from "./search_log.js";
import { LOCATION_EDGES, stageLabelOf } from "./words.js";

// Earlier runs drawn behind the current one: enough to see the trend, few enough to stay light.
const EARLIER_RUNS_SHOWN = 20;
const BLOCK_SCORE_MAX = 16;
const $ = (id) => document.getElementById(id);

function bestPoints(run) {
  return run.points.map(([generation, best]) => [generation, best]);
}

function meanPoints(run) {
  return run.points.map(([generation, , mean]) => [generation, mean]);
}

// What a stage's run is called: "location 4 (L–F), pass 1" or "run 2".
export function runName(run) {
  return run.location >= 0 ? `location ${run.location} (${LOCATION_EDGES[run.location]}), pass ${run.run}`
                           : `run ${run.run}`;
}

// The chart of one stage; `budget` is the generations of its current run when known, so that a
// run in progress grows from left to right. The chart's data set tells the current run's
// points and last best (for tests and for whoever reads the page's markup).
export function drawStageChart(svg, caption, log, stage, budget = 0) {
  const runs = log.stages[stage];
  const current = runs.at(-1);
  const earlier = runs.slice(Math.max(0, runs.length - 1 - EARLIER_RUNS_SHOWN), -1);
  const series = [];
  for (const run of earlier) {
    series.push({ points: meanPoints(run), className: "earlier mean" });
    series.push({ points: bestPoints(run), className: "earlier best" });
  }
  if (current) {
    series.push({ points: meanPoints(current), className: "mean" });
    series.push({ points: bestPoints(current), className: "best" });
  }
  let xMax = Math.max(budget, 1);
  for (const { points } of series) xMax = Math.max(xMax, points.at(-1)?.[0] ?? 0);
  drawLines(svg, { series, xMax, xLabel: "generation", yLabel: "objective" });
  svg.dataset.runs = runs.length;
  svg.dataset.points = current ? current.points.length : 0;
  svg.dataset.lastBest = current ? current.points.at(-1)[1] : "";
  const earlierText = earlier.length > 0
    ? `; ${earlier.length} earlier run${earlier.length === 1 ? "" : "s"} faded` : "";
  caption.textContent = current ? `${runName(current)}, best ${current.points.at(-1)[1]}${earlierText}` : "";
}

// The twelve locations' best block scores; `searching` marks the location searched now,
// `winner` the one the search chose.
export function drawLocations(svg, caption, log, { searching = null, winner = null } = {}) {
  const bars = [];
  for (let k = 0; k < LOCATION_COUNT; ++k) {
    const best = log.locations[k];
    const classes = [k === winner ? "winner" : "", k === searching ? "searching" : ""];
    bars.push({
      value: best ? best.score : null,
      label: `${k} ${LOCATION_EDGES[k]}`,
      sublabel: best ? `${best.moves} mv` : "",
      className: classes.join(" ").trim(),
      title: best ? `location ${k}, the block around the ${LOCATION_EDGES[k]} edge: best block ` +
                    `score ${best.score} of ${BLOCK_SCORE_MAX} in ${best.moves} moves (pass ${best.pass})`
                  : `location ${k}: not searched yet`,
    });
  }
  const rects = drawBars(svg, { bars, yMax: BLOCK_SCORE_MAX, yLabel: "best block score", width: 760, height: 200 });
  rects.forEach((rect, k) => { rect.dataset.location = k; });
  svg.dataset.winner = winner ?? "";
  if (winner !== null && log.locations[winner]) {
    const best = log.locations[winner];
    caption.textContent = `Chosen: location ${winner}, the block around the ${LOCATION_EDGES[winner]} ` +
      `edge, complete in ${best.moves} moves.`;
  } else if (searching !== null) {
    caption.textContent = `Searching location ${searching} (${LOCATION_EDGES[searching]}).`;
  } else {
    caption.textContent = "";
  }
}

// The progress bars, the charts and the locations of the search under way or of the record
// shown; `charts` false leaves the charts out (the page without its logbook).
export class SearchPanel {
  constructor({ charts }) {
    this.charts = charts;
    $("charts").hidden = !charts;
    $("locations").hidden = !charts;
  }

  reset() {
    for (const stage of STAGES) {
      $(`${stage}-progress`).value = 0;
      $(`${stage}-label`).textContent = "";
    }
  }

  // A progress report from the worker: where the stage under way stands; the stages before it
  // are done.
  progress({ stage, run, location, done, of }) {
    const fraction = of > 0 ? done / of : 0;
    if (stage === "block") {
      $("block-progress").value = (location + fraction) / LOCATION_COUNT;
      $("block-label").textContent =
        `location ${location + 1} of ${LOCATION_COUNT}, pass ${run}: ${done} / ${of}`;
      return;
    }
    $("block-progress").value = 1;
    if (stage === "finish") $("entry-progress").value = 1;
    $(`${stage}-progress`).value = fraction;
    $(`${stage}-label`).textContent = `run ${run}: ${done} / ${of} generations`;
  }

  // The charts of the given stages and, with the block's, the locations. budgets: the
  // generations of each stage's run under way; searching: the location searched now; winner:
  // the one chosen.
  draw(log, stages, { budgets = {}, searching = null, winner = null } = {}) {
    if (!this.charts) return;
    const drawn = [...stages];
    for (const stage of drawn) {
      drawStageChart($(`${stage}-chart`), $(`${stage}-chart-caption`), log, stage, budgets[stage] ?? 0);
    }
    if (drawn.includes("block")) {
      drawLocations($("locations-chart"), $("locations-caption"), log, { searching, winner });
    }
  }

  // A finished solve: each stage's figures beside its bar, the whole search drawn.
  finished(result, log) {
    for (const stage of STAGES) {
      const figures = result.stages[stage];
      $(`${stage}-progress`).value = figures && figures.moveCount !== undefined ? 1 : 0;
      $(`${stage}-label`).textContent = stageLabelOf(figures);
    }
    this.draw(log, STAGES, { winner: result.location ?? null });
  }
}
