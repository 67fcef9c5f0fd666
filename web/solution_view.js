// A solve's result: its summary line, its moves in three groups (block, entry, finish), each
// in its stage's colour, a move clicked stepping the net there, and the results log and the
// logbook to download.
import { STAGES } from "./search_log.js";
import { summaryOf } from "./words.js";

const $ = (id) => document.getElementById(id);

function replaceLink(link, text, type) {
  if (link.href.startsWith("blob:")) URL.revokeObjectURL(link.href);
  link.href = URL.createObjectURL(new Blob([text], { type }));
}

export class SolutionView {
  // onMoveClick(step): a move of the solution was clicked.
  constructor({ onMoveClick }) {
    this.onMoveClick = onMoveClick;
    this.section = $("result");
    this.moves = $("solution");
  }

  // record: {result (the module's), log (a SearchLog), title ("" for the last solve)}.
  show({ result, log, title }) {
    $("summary").textContent = (title ? `${title}: ` : "") + summaryOf(result);
    this.showMoves(result);
    replaceLink($("download"), result.resultsLog, "text/plain");
    $("download-log").hidden = log.rows.length === 0;
    if (log.rows.length > 0) replaceLink($("download-log"), log.jsonLines(), "application/jsonl");
    this.section.hidden = false;
  }

  hide() {
    this.section.hidden = true;
  }

  // The solution's text (standard notation), for the clipboard.
  get text() {
    return this.moves.dataset.text;
  }

  // Marks the moves made before `step` and the one made next.
  highlight(step) {
    this.moves.querySelectorAll("span[data-step]").forEach((span, k) => {
      span.classList.toggle("done", k < step);
      span.classList.toggle("current", k === step);
    });
  }

  showMoves(result) {
    this.moves.replaceChildren(...STAGES.map((stage, k) => this.group(result, stage, k)));
    this.moves.dataset.text = result.solution;
  }

  // One stage's moves as held, each a span that knows its step in the whole solution.
  group(result, stage, index) {
    const movesOf = (name) => (result.movesAsHeld?.[name] ?? "").split(" ").filter((m) => m !== "");
    const firstStep = STAGES.slice(0, index).reduce((sum, name) => sum + movesOf(name).length, 0);
    const moves = movesOf(stage);
    const group = document.createElement("div");
    group.className = `group stage-${stage}`;
    const name = document.createElement("span");
    name.className = "group-name";
    name.textContent = `${stage[0].toUpperCase()}${stage.slice(1)} (${moves.length})`;
    group.append(name, " ");
    if (moves.length === 0) {
      const none = document.createElement("i");
      none.textContent = "none";
      group.append(none);
    }
    moves.forEach((move, k) => {
      const span = document.createElement("span");
      span.textContent = move;
      span.dataset.step = firstStep + k;
      span.addEventListener("click", () => this.onMoveClick(firstStep + k));
      group.append(span, " ");
    });
    return group;
  }
}
