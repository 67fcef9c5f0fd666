// The page's pure modules under node's own test runner: the form's fields and requests made
// from the module's field table, the logbook's rows read by its columns, the summary line and
// the histogram's bins. Usage: node --test tests/web/page_modules.test.mjs
import assert from "node:assert/strict";
import { test } from "node:test";
import {
  boundOf, fieldTable, labelOf, placeholderOf, rangeOf, requestText, settingFields,
} from "../../web/fields.js";
import { moveBins } from "../../web/histogram.js";
import { SearchLog, rowsOf } from "../../web/search_log.js";
import { summaryOf } from "../../web/words.js";

// Some of the module's table, as Module.requestFields() gives it (help shortened).
const whole = (key, group, minimum, maximum, value, unit = "", follows = false) => ({
  key, kind: "whole", group, minimum, maximum, default: value, defaultFollowsOthers: follows, unit,
  help: key,
});
const TABLE = fieldTable(JSON.stringify({
  fields: [
    { key: "scramble", kind: "text", group: "scramble", default: null, unit: "", help: "" },
    whole("seed", "seed", 0, 4294967295, null),
    whole("population", "search", 2, 4096, 51, "sequences"),
    whole("immigrants", "search", 0, 4095, 5, "sequences", true),
    { key: "mutationRate", kind: "real", group: "search", minimum: 0, maximum: 1, minimumAllowed: true,
      default: 0.05, defaultFollowsOthers: false, unit: "", help: "" },
    whole("generations", "search", 1, 2147483647, 500, "generations"),
    { key: "stopAtGoal", kind: "flag", group: "search", default: false, unit: "", help: "" },
    whole("tries", "tries", 1, 1000, 1),
    whole("maxGenerations", "budget", 1, 9223372036854776000, null, "generations"),
    { key: "timeLimit", kind: "real", group: "budget", minimum: 0, maximum: 1e9, minimumAllowed: false,
      default: null, defaultFollowsOthers: false, unit: "seconds", help: "" },
  ],
  logbookColumns: ["stage", "location", "run", "generation", "evaluations", "best", "bestMoves",
                   "mean", "worst", "distinct", "seconds"],
}));

test("the settings are the search's and the budget's numbers, named and bounded by the table", () => {
  const fields = settingFields(TABLE);
  assert.deepEqual(fields.map((field) => field.key),
                   ["population", "immigrants", "mutationRate", "maxGenerations", "timeLimit"]);
  const bound = boundOf(TABLE, new Map());
  const shown = fields.map((field) => [labelOf(field), rangeOf(field, bound), placeholderOf(field, bound)]);
  assert.deepEqual(shown, [
    ["Population (sequences)", "2 to 4096", "51"],
    ["Immigrants (sequences)", "0 to 50", "5"],
    ["Mutation rate", "0 to 1", "0.05"],
    ["Max generations", "at least 1", "none"],
    ["Time limit (seconds)", "above 0, at most 1000000000", "none"],
  ]);
});

test("the immigrants' range and default follow the population typed, when it is one", () => {
  const immigrants = TABLE.fields.get("immigrants");
  const shown = (population) => {
    const bound = boundOf(TABLE, new Map([["population", population]]));
    return [rangeOf(immigrants, bound), placeholderOf(immigrants, bound)];
  };
  assert.deepEqual(shown(" 4 "), ["0 to 3", "3"]);
  assert.deepEqual(shown("100"), ["0 to 99", "5"]);
  for (const notOne of ["1", "5000", "abc", "4.5", ""]) assert.deepEqual(shown(notOne), ["0 to 50", "5"]);
});

test("a request carries numbers as typed, other text as strings, no empty field, no false flag", () => {
  const text = requestText({ scramble: "R U2 F'" }, [
    ["generations", " 60 "], ["seed", 4294967295], ["population", ""], ["immigrants", "five"],
    ["maxGenerations", "9007199254740993"], ["mutationRate", "1e-2"], ["stopAtGoal", true],
    ["first", false],
  ]);
  assert.equal(text, '{"scramble":"R U2 F\'","generations":60,"seed":4294967295,' +
                     '"immigrants":"five","maxGenerations":9007199254740993,"mutationRate":1e-2,' +
                     '"stopAtGoal":true}');
  assert.equal(requestText({ facelets: "U".repeat(54) }, []), `{"facelets":"${"U".repeat(54)}"}`);
  assert.equal(requestText({}, [["random", "25"]]), '{"random":25}');
});

test("logbook rows are read by the module's columns, in any order, as the command line writes them", () => {
  const { logbookColumns } = TABLE;
  // A block row at location 4 and an entry row (location -1: none).
  const rows = [[0, 4, 1, 32, 1683, 95, 5, 12.5, -60, 40, 0.0123456],
                [1, -1, 2, 100, 5151, 1699, 1, 800.25, -30, 51, 1.5]];
  const expected = [
    '{"stage":"block","location":4,"run":1,"generation":32,"evaluations":1683,"best":95,' +
    '"bestMoves":5,"mean":12.5,"worst":-60,"distinct":40,"seconds":0.012}',
    '{"stage":"entry","run":2,"generation":100,"evaluations":5151,"best":1699,"bestMoves":1,' +
    '"mean":800.25,"worst":-30,"distinct":51,"seconds":1.5}',
  ];
  const log = new SearchLog(logbookColumns);
  log.add([Float64Array.from(rows.flat())]);
  assert.equal(log.jsonLines(), expected.map((line) => `${line}\n`).join(""));
  assert.deepEqual(log.locations[4], { score: 10, moves: 5, pass: 1 });

  const reversed = [...logbookColumns].reverse();
  const decoded = rowsOf(Float64Array.from(rows.flatMap((row) => [...row].reverse())), reversed);
  assert.deepEqual(decoded, expected.map((line) => JSON.parse(line)));
});

test("the summary line of a solve, of a solve its budget ended, of a solved cube", () => {
  const result = {
    solved: true, alreadySolved: false, solutionMoves: 6, totalMoves: 8, quarterTurns: 8,
    solutionStages: { block: 5, entry: 0, finish: 1 }, seconds: 0.0412, location: 1,
  };
  assert.equal(summaryOf(result),
               "6 moves (the stages found 8; the moves that cancel are merged), 8 quarter turns: " +
               "block 5, entry 0, finish 1, in 0.04 s, for the cube as you hold it; the block " +
               "around the B–L edge (location 1).");
  assert.equal(summaryOf({ solved: false, stoppedAtText: "the entry stage, run 2" }),
               "Not solved: the budget ended the search in the entry stage, run 2.");
  assert.equal(summaryOf({ solved: true, alreadySolved: true }), "The cube is solved already: no moves.");
});

test("the histogram has a bin for every count of moves, or for every few when they spread wide", () => {
  assert.deepEqual(moveBins([31, 30, 33, 31]), { width: 1, bins: [
    { from: 30, to: 30, count: 1 }, { from: 31, to: 31, count: 2 }, { from: 32, to: 32, count: 0 },
    { from: 33, to: 33, count: 1 }] });
  const spread = [20, 21, 22, 40, 59, 60];  // 41 counts: bins of 3
  const { width, bins } = moveBins(spread);
  assert.equal(width, 3);
  assert.equal(bins.length, 14);
  assert.deepEqual([bins[0], bins[6], bins.at(-1)], [
    { from: 20, to: 22, count: 3 }, { from: 38, to: 40, count: 1 }, { from: 59, to: 61, count: 2 }]);
  assert.deepEqual(moveBins([]), { width: 1, bins: [] });
});
