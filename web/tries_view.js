// The tries as a table (try, seed, moves, seconds, a button to show it) beside a histogram of
// their moves, and a status line of how far they are.
import { drawBars } from "./charts.js";
import { moveBins } from "./histogram.js";
import { plural, triesStatusText } from "./words.js";

const $ = (id) => document.getElementById(id);
// Tick labels under the histogram: every bar's up to this many bars, else every few.
const MOST_LABELS = 10;

function cell(text) {
  const td = document.createElement("td");
  td.textContent = text;
  return td;
}

function movesText(t) {
  if (t.status === "done") return t.result.solved ? String(t.result.solutionMoves) : "not solved";
  return t.status === "error" ? t.message : t.status;
}

export class TriesView {
  // onShow(t): a try's Show button was clicked.
  constructor({ onShow }) {
    this.onShow = onShow;
  }

  // tries: the runner's (tries.js); workers: how many run them; running: whether they still do.
  render(tries, { workers, running }) {
    $("tries-table").tBodies[0].replaceChildren(...tries.map((t) => this.row(t)));
    this.renderHistogram(tries);
    if (tries.length === 0) return;
    $("tries-status").textContent = triesStatusText({
      done: tries.filter((t) => t.status === "done").length, count: tries.length,
      first: tries[0].seed, last: tries.at(-1).seed, workers, running,
    });
  }

  showMessage(text) {
    $("tries-message").textContent = text;
  }

  row(t) {
    const tr = document.createElement("tr");
    tr.dataset.try = t.number;
    tr.className = t.status;
    const { result } = t;
    tr.append(cell(String(t.number)), cell(String(t.seed)), cell(movesText(t)),
              cell(result ? result.seconds.toFixed(2) : ""));
    if (result) tr.dataset.solution = result.solution;
    const show = document.createElement("button");
    show.type = "button";
    show.textContent = "Show";
    show.disabled = !result;
    show.addEventListener("click", () => this.onShow(t));
    const td = document.createElement("td");
    td.append(show);
    tr.append(td);
    return tr;
  }

  renderHistogram(tries) {
    const moves = tries.filter((t) => t.result?.solved).map((t) => t.result.solutionMoves);
    const svg = $("tries-histogram");
    svg.closest("figure").hidden = moves.length === 0;
    if (moves.length === 0) return;
    const { width, bins } = moveBins(moves);
    const bars = bins.map(({ from, to, count }) => ({
      value: count || null, label: String(from),
      title: `${plural(count, "try")} of ${width === 1 ? from : `${from} to ${to}`} moves`,
    }));
    drawBars(svg, {
      bars, yMax: Math.max(...bins.map((bin) => bin.count)), yLabel: "tries",
      xLabel: width === 1 ? "moves" : `moves (bars of ${width})`,
      labelEvery: Math.ceil(bars.length / MOST_LABELS), width: 420,
    });
  }
}
