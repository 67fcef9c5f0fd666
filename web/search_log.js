// A solve's logbook as the page follows it: the module's batches of rows taken in as they
// come, sorted into each stage's runs, and the block stage's best per location. Drawing it is
// search_view.js's part.
export const STAGES = ["block", "entry", "finish"];
export const LOCATION_COUNT = 12;

// The columns whose number the command line's logbook writes another way: the stage by name,
// the location only in the block stage (the module hands over -1 elsewhere), the seconds to
// the millisecond. `undefined` leaves the column out of the row.
const COLUMN_TEXT = {
  stage: (number) => STAGES[number],
  location: (number) => (number >= 0 ? number : undefined),
  seconds: (number) => Math.round(number * 1000) / 1000,
};

// The rows of one batch from the module (a Float64Array, a number a column a row) as the
// command line's logbook writes them, their keys in the order of `columns` (the module's
// logbookColumns): {stage, location, run, generation, ...}.
export function rowsOf(numbers, columns) {
  const rows = [];
  for (let at = 0; at + columns.length <= numbers.length; at += columns.length) {
    const row = {};
    columns.forEach((column, k) => {
      const value = COLUMN_TEXT[column] ? COLUMN_TEXT[column](numbers[at + k]) : numbers[at + k];
      if (value !== undefined) row[column] = value;
    });
    rows.push(row);
  }
  return rows;
}

export class SearchLog {
  // columns: the module's logbookColumns, the order of each row's numbers.
  constructor(columns) {
    this.columns = columns;
    this.rows = [];
    this.stages = { block: [], entry: [], finish: [] };  // runs: {key, run, location, points}
    this.locations = new Array(LOCATION_COUNT).fill(null);  // {score, moves, pass}
  }

  // Takes in batches of rows (Float64Arrays; none, perhaps); returns the set of stages they
  // were of.
  add(batches = []) {
    const stages = new Set();
    for (const batch of batches) {
      for (const row of rowsOf(batch, this.columns)) {
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
