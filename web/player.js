// The solution stepped through on the net: the cube before each move and at the end, one
// step at a time (back, forward, a move chosen) or played; from the step whose cube has the
// block built, the block is outlined.
import { drawNet, outlineFacelets } from "./net.js";
import { plural, stepText } from "./words.js";

const PLAY_INTERVAL_MS = 600;

export class Player {
  // net: the net's svg; caption, counter, playButton: elements; onStep(step): told of each
  // step shown (the solution's moves follow it).
  constructor({ net, caption, counter, playButton, onStep }) {
    Object.assign(this, { net, caption, counter, playButton, onStep });
    this.states = [];
    this.blockFrom = Infinity;
    this.blockFacelets = [];
    this.solved = true;
    this.step = 0;
    this.timer = null;
  }

  // A result's steps (the module's states, blockFrom and blockFacelets), shown from the start.
  load({ states, blockFrom, blockFacelets, solved }) {
    this.stop();
    this.states = states;
    this.blockFrom = blockFrom ?? Infinity;
    this.blockFacelets = blockFacelets ?? [];
    this.solved = solved;
    this.show(0);
  }

  get last() {
    return this.states.length - 1;
  }

  show(step) {
    this.step = Math.max(0, Math.min(step, this.last));
    drawNet(this.net, this.states[this.step]);
    const blockBuilt = this.step >= this.blockFrom && this.blockFacelets.length > 0;
    outlineFacelets(this.net, blockBuilt ? this.blockFacelets : []);
    this.caption.textContent = blockBuilt
      ? `Outlined: the 2×2×3 block, built by the first ${plural(this.blockFrom, "move")}.` : "";
    this.counter.textContent = stepText(this.step, this.last, this.solved);
    this.onStep(this.step);
  }

  back() {
    this.stop();
    this.show(this.step - 1);
  }

  forward() {
    this.stop();
    this.show(this.step + 1);
  }

  // Plays from here (from the start when at the end) or pauses.
  toggle() {
    if (this.timer) return this.stop();
    if (this.step === this.last) this.show(0);
    this.playButton.textContent = "Pause";
    this.timer = setInterval(() => {
      if (this.step >= this.last) return this.stop();
      this.show(this.step + 1);
    }, PLAY_INTERVAL_MS);
  }

  stop() {
    clearInterval(this.timer);
    this.timer = null;
    this.playButton.textContent = "Play";
  }
}
