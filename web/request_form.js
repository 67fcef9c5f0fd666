// The request as the form gives it: the cube (a scramble typed or drawn, or a cube painted on
// the net), the block's generations, the seed, the search settings (made from the module's
// field table: their names, ranges and placeholders showing the program's values) and the box
// of the full search. Each check asks the module, which answers the cube or the first rule the
// request breaks; its message goes under the field the answer names.
import { SOLVED } from "./net.js";
import { Painter } from "./painter.js";
import {
  boundOf, labelOf, placeholderOf, rangeOf, requestText, settingFields, valueJson,
} from "./fields.js";

const $ = (id) => document.getElementById(id);
// The fields whose inputs are part of the page's markup (each input's id is its key).
const MARKUP_FIELDS = ["scramble", "generations", "seed"];
// The page's own inputs and buttons, which a search under way leaves alone.
const OTHER_CONTROLS = ["random", "random-length", "paint-solved", "paint-scrambled",
                        "full-search", "settings-reset", "tries-count"];

function element(name, attributes = {}, text = "") {
  const node = document.createElement(name);
  for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
  node.textContent = text;
  return node;
}

export class RequestForm {
  // table: the module's field table (fields.js); module: the module, for checks and random
  // scrambles; onChange(): told after every change of the form.
  constructor({ table, module, onChange }) {
    this.table = table;
    this.module = module;
    this.onChange = onChange;
    this.mode = "scramble";
    this.facelets = SOLVED;  // the cube of the last request that was valid
    this.valid = false;
    this.settings = settingFields(table);
    this.inputs = new Map(MARKUP_FIELDS.map((key) => [key, $(key)]));
    // Where each field's message goes; the settings' fields add theirs.
    this.messages = new Map(Object.entries({
      scramble: "scramble-message", random: "scramble-message", facelets: "paint-message",
      generations: "generations-message", seed: "seed-message", tries: "tries-message",
    }).map(([key, id]) => [key, $(id)]));
    this.painter = new Painter($("palette"));
    this.describeMarkupInputs();
    this.buildSettings();
    this.listen();
  }

  // The markup's own inputs take their limits and defaults from the table too.
  describeMarkupInputs() {
    const { fields } = this.table;
    this.inputs.get("generations").value = String(fields.get("generations").default);
    for (const key of ["generations", "seed"]) {
      const input = this.inputs.get(key);
      input.placeholder = placeholderOf(fields.get(key));
      input.title = `${fields.get(key).help}; ${rangeOf(fields.get(key))}`;
    }
    for (const [id, key] of [["random-length", "random"], ["tries-count", "tries"]]) {
      $(id).min = fields.get(key).minimum;
      $(id).max = fields.get(key).maximum;
    }
    $("full-search").title = `unticked: ${fields.get("stopAtGoal").help}`;
  }

  // A row of the settings' grid a field: its name, its input, its range; its message below.
  buildSettings() {
    const grid = $("settings-fields");
    for (const field of this.settings) {
      const id = `set-${field.option.replace(/^--/, "")}`;
      const label = element("label", { for: id, title: field.help }, labelOf(field));
      const input = element("input", {
        id, type: "text", "data-key": field.key, title: field.help,
        inputmode: field.kind === "whole" ? "numeric" : "decimal",
        "aria-describedby": `${id}-range ${id}-message`,
      });
      const range = element("span", { id: `${id}-range`, class: "range" });
      const message = element("p", { id: `${id}-message`, class: "message field-message", role: "alert" });
      grid.append(label, input, range, message);
      this.inputs.set(field.key, input);
      this.messages.set(field.key, message);
    }
    this.describeSettings();
  }

  // The placeholders and ranges that follow other fields' values (the immigrants below the
  // population).
  describeSettings() {
    const bound = boundOf(this.table, this.texts());
    for (const field of this.settings) {
      const input = this.inputs.get(field.key);
      input.placeholder = placeholderOf(field, bound);
      $(`${input.id}-range`).textContent = rangeOf(field, bound);
    }
  }

  listen() {
    for (const radio of document.querySelectorAll('input[name="mode"]')) {
      radio.addEventListener("change", () => this.setMode(radio.value));
    }
    for (const input of this.inputs.values()) input.addEventListener("input", () => this.changed());
    $("full-search").addEventListener("change", () => this.changed());
    $("settings-reset").addEventListener("click", () => {
      for (const field of this.settings) this.inputs.get(field.key).value = "";
      this.changed();
    });
    $("random").addEventListener("click", () => this.drawRandomScramble());
    $("paint-solved").addEventListener("click", () => {
      this.painter.reset();
      this.changed();
    });
    $("paint-scrambled").addEventListener("click", () => {
      const answer = this.ask("cubeOf", JSON.stringify({ scramble: this.inputs.get("scramble").value }));
      if (!answer.error) this.painter.reset(answer.facelets);
      this.changed();
    });
  }

  setMode(mode) {
    this.mode = mode;
    $("scramble-mode").hidden = mode !== "scramble";
    $("paint-mode").hidden = mode !== "paint";
    this.changed();
  }

  // Paints a facelet of the net in paint mode; false when it did not (another mode, a centre).
  paint(index) {
    if (this.mode !== "paint" || !this.painter.paint(index)) return false;
    this.changed();
    return true;
  }

  drawRandomScramble() {
    const answer = this.ask("randomScramble", requestText({}, [["random", $("random-length").value]]));
    if (answer.error) {
      this.check();
      $("scramble-message").textContent = answer.error;
      return;
    }
    this.inputs.get("scramble").value = answer.scramble;
    this.changed();
  }

  changed() {
    this.describeSettings();
    this.check();
    this.onChange();
  }

  // The cube the net shows before a solve: the painted one, or the scramble's.
  get inputCube() {
    return this.mode === "paint" ? this.painter.facelets : this.facelets;
  }

  texts() {
    return new Map([...this.inputs].map(([key, input]) => [key, input.value]));
  }

  // The request's JSON text, with the seed field's value or the seed given (a try's); `extra`:
  // more [key, value] pairs.
  request(seed = null, extra = []) {
    const cube = this.mode === "paint" ? { facelets: this.painter.facelets }
                                       : { scramble: this.inputs.get("scramble").value };
    const texts = this.texts();
    const values = [["generations", texts.get("generations")], ["seed", seed ?? texts.get("seed")],
                    ...this.settings.map((field) => [field.key, texts.get(field.key)]),
                    ["stopAtGoal", !$("full-search").checked]];
    return requestText(cube, [...values, ...extra]);
  }

  // Checks the request as it stands: the module's answer, the cube it gives or its message
  // under its field.
  check() {
    const answer = this.ask("cubeOf", this.request());
    this.clearMessages();
    this.valid = !answer.error;
    if (answer.error) {
      this.showError(answer);
    } else {
      this.facelets = answer.facelets;
    }
  }

  // How many tries the tries' field asks for, or null after its message (the module's) under
  // it. An empty field asks for the program's one.
  triesCount(text) {
    const json = valueJson(text) ?? String(this.table.fields.get("tries").default);
    const answer = this.ask("cubeOf", this.request(null, [["tries", json]]));
    this.messages.get("tries").textContent = answer.field === "tries" ? answer.error : "";
    return answer.error ? null : Number(json);
  }

  clearMessages() {
    for (const message of this.messages.values()) {
      if (message.id !== "tries-message") message.textContent = "";
    }
    for (const input of this.inputs.values()) input.removeAttribute("aria-invalid");
  }

  // The message under the field the answer names; a message of no field is the cube's.
  showError({ error, field }) {
    const key = this.messages.has(field) ? field : this.mode === "paint" ? "facelets" : "scramble";
    // On the net the facelets are what is painted: the message need not say so.
    this.messages.get(key).textContent = key === "facelets" ? error.replace(/^the facelets: /, "") : error;
    this.inputs.get(key)?.setAttribute("aria-invalid", "true");
  }

  ask(functionName, request) {
    return JSON.parse(this.module[functionName](request));
  }

  // While a search runs the form stays as it was.
  setDisabled(disabled) {
    for (const input of this.inputs.values()) input.disabled = disabled;
    for (const id of OTHER_CONTROLS) $(id).disabled = disabled;
    for (const radio of document.querySelectorAll('input[name="mode"]')) radio.disabled = disabled;
  }
}
