// The request's fields as the module's table describes them (Module.requestFields()): which of
// them the form shows, how each is named, its range and its placeholder, and the form's text
// turned into a request's JSON text. Nothing here touches the page, so node tests it as it is.

// A whole number's maximum from which the table means "no upper limit" (a run's generations,
// or more): the range then reads "at least 1".
const NO_UPPER_LIMIT = 2 ** 31 - 1;
// The field a "defaultFollowsOthers" field stays below: the immigrants stay below the
// population, whose value the form reads to show their default and range.
const BOUNDING_FIELD = "population";
// Shown apart from the folded settings: the block's generations beside the seed, and the stop
// at each stage's goal as a box of its own.
const SHOWN_APART = new Set(["generations", "stopAtGoal"]);
const JSON_NUMBER = /^-?(0|[1-9]\d*)(\.\d+)?([eE][+-]?\d+)?$/;

// The table from the module's JSON text: its fields by key, in the table's order, and the
// logbook's columns.
export function fieldTable(text) {
  const { fields, logbookColumns } = JSON.parse(text);
  return { fields: new Map(fields.map((field) => [field.key, field])), logbookColumns };
}

// The fields of "Search settings": every number of the search and of what may end a solve
// early, in the table's order.
export function settingFields(table) {
  return [...table.fields.values()].filter((field) =>
    (field.group === "search" || field.group === "budget") && field.kind !== "flag" &&
    !SHOWN_APART.has(field.key));
}

// "mutationRate" -> "Mutation rate"; the unit follows unless the name says it already:
// "Population (sequences)", "Time limit (seconds)", "Entry generations".
export function labelOf(field) {
  const words = field.key.replace(/[A-Z]/g, (letter) => ` ${letter.toLowerCase()}`);
  const name = `${words[0].toUpperCase()}${words.slice(1)}`;
  return field.unit && !words.includes(field.unit) ? `${name} (${field.unit})` : name;
}

// The value a "defaultFollowsOthers" field stays below: the bounding field's as typed when it
// is a whole number in its range, else its program's value. `texts` maps keys to the form's
// text.
export function boundOf(table, texts) {
  const field = table.fields.get(BOUNDING_FIELD);
  const text = texts.get(BOUNDING_FIELD)?.trim() ?? "";
  const typed = /^\d+$/.test(text) ? Number(text) : NaN;
  return typed >= field.minimum && typed <= field.maximum ? typed : field.default;
}

// The range of a number as the form shows it beside the field: "2 to 4096", "at least 1",
// "above 0, at most 1000000000"; "0 to 50" for the immigrants below a population (`bound`) of 51.
export function rangeOf(field, bound) {
  if (field.kind === "real") {
    return field.minimumAllowed ? `${field.minimum} to ${field.maximum}`
                                : `above ${field.minimum}, at most ${field.maximum}`;
  }
  if (field.kind !== "whole") return "";
  if (field.maximum >= NO_UPPER_LIMIT) return `at least ${field.minimum}`;
  const maximum = field.defaultFollowsOthers ? Math.min(field.maximum, bound - 1) : field.maximum;
  return `${field.minimum} to ${maximum}`;
}

// The program's value, which an empty field keeps: "51", "0.05", "none"; a default that
// follows another field stays below its `bound`.
export function placeholderOf(field, bound) {
  if (field.default === null) return "none";
  return String(field.defaultFollowsOthers ? Math.min(field.default, bound - 1) : field.default);
}

// The JSON of a typed value, or null for an empty field (the program's value). A number is
// sent as typed (a whole number beyond JavaScript's exact integers stays exact) and anything
// else as a string, so that the module answers with the rule it breaks.
export function valueJson(text) {
  const trimmed = text.trim();
  if (trimmed === "") return null;
  return JSON_NUMBER.test(trimmed) ? trimmed : JSON.stringify(trimmed);
}

// A request's JSON text: the cube ({scramble} or {facelets}, or none) and then the values, in order, as
// [key, value] pairs: a text as typed (valueJson; left out when empty), a number as it is, a
// flag only when true (false is every flag's program value).
export function requestText(cube, values) {
  const members = Object.entries(cube).map(([key, value]) =>
    `${JSON.stringify(key)}:${JSON.stringify(value)}`);
  for (const [key, value] of values) {
    const json = typeof value === "string" ? valueJson(value)
               : typeof value === "number" ? String(value)
               : value === true ? "true" : null;
    if (json !== null) members.push(`${JSON.stringify(key)}:${json}`);
  }
  return `{${members.join(",")}}`;
}
