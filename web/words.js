// What the page says of a solve, in words: the summary line, the status, the step counter,
// the tries' progress. Nothing here touches the page, so node tests it as it is.

// The edge of the cube as held that each location's block is built around.
export const LOCATION_EDGES = ["D–B", "B–L", "U–F", "D–L", "L–F", "U–R",
                               "D–F", "F–R", "U–B", "D–R", "R–B", "U–L"];

export function plural(count, word) {
  return `${count} ${word}${count === 1 ? "" : "s"}`;
}

// One line of a result (the module's JSON): its moves per stage, its time and its block.
export function summaryOf(result) {
  if (!result.solved) return `Not solved: the budget ended the search in ${result.stoppedAtText}.`;
  if (result.alreadySolved) return "The cube is solved already: no moves.";
  const { block, entry, finish } = result.solutionStages;
  const merged = result.totalMoves !== result.solutionMoves
    ? ` (the stages found ${result.totalMoves}; the moves that cancel are merged)` : "";
  return `${plural(result.solutionMoves, "move")}${merged}, ` +
    `${plural(result.quarterTurns, "quarter turn")}: block ${block}, entry ${entry}, finish ${finish}, in ` +
    `${result.seconds.toFixed(2)} s, for the cube as you hold it; the block around the ` +
    `${LOCATION_EDGES[result.location]} edge (location ${result.location}).`;
}

export function statusOf(result) {
  if (!result.solved) return "Not solved.";
  return result.selfCheck ? "Solved." : "The solution failed its own check.";
}

// A stage's figures after a solve, beside its progress bar: "12 moves, 1 run", "stopped, 2
// runs", or nothing for a stage the solve never reached.
export function stageLabelOf(figures) {
  if (!figures) return "";
  if (figures.moveCount === undefined) return `stopped, ${plural(figures.runs, "run")}`;
  return `${plural(figures.moveCount, "move")}, ${plural(figures.runs, "run")}`;
}

// The step counter: "move 3 of 12" before each move, "12 of 12: solved" at the end.
export function stepText(step, total, solved) {
  return step === total ? `${total} of ${total}: ${solved ? "solved" : "the end"}`
                        : `move ${step + 1} of ${total}`;
}

// The tries' progress: "2 of 5 done, 2 workers; seeds 7 to 11" (the workers while they run).
export function triesStatusText({ done, count, first, last, workers, running }) {
  const seeds = count === 1 ? `seed ${first}` : `seeds ${first} to ${last}`;
  return running ? `${done} of ${count} done, ${plural(workers, "worker")}; ${seeds}`
                 : `${done} of ${count} done; ${seeds}`;
}
