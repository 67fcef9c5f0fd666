// A solve's logbook as the page follows it: the module's batches of rows taken in as they
// come, sorted into each stage's runs, and the block stage's best per location. Drawing it is
// search_view.js's part.
export const STAGES = ["block", "entry", "finish"];
export const LOCATION_COUNT = 12;
const ROW_FIELDS = 11;

// The rows of one batch from the module (a Float64Array, ROW_FIELDS numbers a row) as the
// command line's logbook writes them: {stage, location (block stage only), run, generation,
// evaluations, best, bestMoves, mean, worst, distinct, seconds (to the millisecond)}.
export function rowsOf(numbers) {
  const rows = [];
  for (let at = 0; at + ROW_FIELDS <= numbers.length; at += ROW_FIELDS) {
    const [stage, location, run, generation, evaluations, best, bestMoves, mean, worst,
           distinct, seconds] = numbers.subarray(at, at + ROW_FIELDS);
    const row = { stage: STAGES[stage] };
    if (location >= 0) row.location = location;
    Object.assign(row, { run, generation, evaluations, best, bestMoves, mean, worst, distinct,
                         seconds: Math.round(seconds * 1000) / 1000 });
    rows.push(row);
  }
  return rows;
}

export class SearchLog {
  constructor() {
    this.rows = [];
    this.stages = { block: [], entry: [], finish: [] };  // runs: {key, run, location, points}
    this.locations = new Array(LOCATION_COUNT).fill(null);  // {score, moves, pass}
  }

  // Takes in batches of rows (Float64Arrays; none, perhaps); returns the set of stages they
  // were of.
  add(batches = []) {
    const stages = new Set();
    for (const batch of batches) {
      for (const row of rowsOf(batch)) {
        this.rows.push(row);
        this.addRow(row);
        stages.add(row.stage);
      }
    }
    return stages;
  }

  // The rows as JSON Lines, as the command line's --log writes them.
  jsonLines() {
    return this.rows.map((row) => `${JSON.stringify(row)}\n`).join("");
  }

  addRow(row) {
    const runs = this.stages[row.stage];
    // A block run is one location's search in one pass; the other stages count their runs.
    const key = row.location !== undefined ? `${row.run}/${row.location}` : `${row.run}`;
    let run = runs.at(-1);
    if (!run || run.key !== key) {
      run = { key, run: row.run, location: row.location ?? -1, points: [] };
      runs.push(run);
    }
    run.points.push([row.generation, row.best, row.mean]);
    if (row.location !== undefined) {
      // The objective is 10 times the best block score less its moves.
      this.locations[row.location] = {
        score: Math.trunc((row.best + row.bestMoves) / 10), moves: row.bestMoves, pass: row.run,
      };
    }
  }

  // The run a stage is in (its last), or null.
  currentRun(stage) {
    return this.stages[stage].at(-1) ?? null;
  }
}
