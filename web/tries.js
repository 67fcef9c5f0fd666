// Several tries of one cube: the same request with the seeds S, S + 1, ..., solved in a few
// workers side by side (each takes the next try waiting when it is done), each try keeping its
// result and its logbook.
import { SearchLog } from "./search_log.js";

const SEED_RANGE = 2 ** 32;  // seeds are 32-bit: S + k wraps, as a batch's do

export class Tries {
  // requestOf(seed): the request's JSON text for a seed; onChange(): told after each change.
  constructor({ requestOf, onChange }) {
    this.requestOf = requestOf;
    this.onChange = onChange;
    this.tries = [];
    this.workers = [];
  }

  get running() {
    return this.workers.length > 0;
  }

  // Starts `count` tries from `seed` in up to `workerCount` workers.
  start(seed, count, workerCount) {
    this.cancel();
    this.tries = Array.from({ length: count }, (_, k) => ({
      number: k + 1, seed: (seed + k) % SEED_RANGE, status: "waiting", result: null,
      log: new SearchLog(), message: "",
    }));
    for (let k = 0; k < Math.min(workerCount, count); ++k) this.addWorker();
    this.onChange();
  }

  // Ends every worker; the tries not done stay as they are.
  cancel() {
    for (const worker of this.workers) worker.terminate();
    this.workers = [];
    for (const t of this.tries) {
      if (t.status === "running" || t.status === "waiting") t.status = "cancelled";
    }
  }

  addWorker() {
    const worker = new Worker("worker.js");
    let current = null;
    const next = () => {
      current = this.tries.find((t) => t.status === "waiting") ?? null;
      if (!current) {
        worker.terminate();
        this.workers = this.workers.filter((w) => w !== worker);
        return;
      }
      current.status = "running";
      worker.postMessage({ type: "solve", request: this.requestOf(current.seed), logbook: true });
    };
    worker.onmessage = ({ data }) => {
      if (data.type === "ready" || !current) return;
      current.log.add(data.rows);
      if (data.type === "result") {
        current.status = "done";
        current.result = data.result;
      } else if (data.type === "error") {
        current.status = "error";
        current.message = data.message;
      } else {
        return;  // progress: only its rows are kept
      }
      next();
      this.onChange();
    };
    this.workers.push(worker);
    next();
  }
}
