// A solve's logbook as the page follows it: rows (the module's JSON Lines, as the command
// line's --log writes them) taken in as they come, sorted into each stage's runs, and the block
// stage's best per location. Drawing it is search_view.js's part.
export const STAGES = ["block", "entry", "finish"];
export const LOCATION_COUNT = 12;

export class SearchLog {
  constructor() {
    this.text = "";
    this.stages = { block: [], entry: [], finish: [] };  // runs: {key, run, location, points}
    this.locations = new Array(LOCATION_COUNT).fill(null);  // {score, moves, pass}
  }

  // Takes in a batch of rows (text, perhaps empty); returns the set of stages they were of.
  add(text) {
    const stages = new Set();
    if (!text) return stages;
    this.text += text;
    for (const line of text.split("\n")) {
      if (line === "") continue;
      const row = JSON.parse(line);
      this.addRow(row);
      stages.add(row.stage);
    }
    return stages;
  }

  addRow(row) {
    const runs = this.stages[row.stage];
    // A block run is one location's search in one pass; the other stages count their runs.
    const key = row.stage === "block" ? `${row.run}/${row.location}` : `${row.run}`;
    let run = runs.at(-1);
    if (!run || run.key !== key) {
      run = { key, run: row.run, location: row.location, points: [] };
      runs.push(run);
    }
    run.points.push([row.generation, row.best, row.mean]);
    if (row.stage === "block") {
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
