// Several tries of one cube: the same request with the seeds S, S + 1, ..., solved in a few
// workers side by side (each takes the next try waiting when it is done), each try keeping its
// result and its logbook's batches as the module handed them over (numbers, far smaller than
// the rows they make; a try's rows are made when it is shown).
import { SolverClient } from "./solver_client.js";

const SEED_RANGE = 2 ** 32;  // seeds are 32-bit: S + k wraps, as a batch's do

export class Tries {
  // requestOf(seed): the request's JSON text for a seed; onChange(): told after each change.
  constructor({ requestOf, onChange }) {
    this.requestOf = requestOf;
    this.onChange = onChange;
    this.tries = [];
    this.clients = [];
  }

  get running() {
    return this.clients.length > 0;
  }

  // Starts `count` tries from `seed` in up to `workerCount` workers.
  start(seed, count, workerCount) {
    this.cancel();
    this.tries = Array.from({ length: count }, (_, k) => ({
      number: k + 1, seed: (seed + k) % SEED_RANGE, status: "waiting", result: null,
      batches: [], message: "",
    }));
    for (let k = 0; k < Math.min(workerCount, count); ++k) this.addClient();
    this.onChange();
  }

  // Ends every worker; the tries not done stay as they are.
  cancel() {
    for (const client of this.clients) client.close();
    this.clients = [];
    for (const t of this.tries) {
      if (t.status === "running" || t.status === "waiting") t.status = "cancelled";
    }
  }

  addClient() {
    let current = null;
    const client = new SolverClient((message) => {
      current.batches.push(...(message.rows ?? []));
      if (message.type === "result") {
        current.status = "done";
        current.result = message.result;
      } else if (message.type === "error") {
        current.status = "error";
        current.message = message.message;
      } else {
        return;  // progress: only its rows are kept
      }
      next();
      this.onChange();
    });
    const next = () => {
      current = this.tries.find((t) => t.status === "waiting") ?? null;
      if (!current) {
        client.close();
        this.clients = this.clients.filter((c) => c !== client);
        return;
      }
      current.status = "running";
      client.solve(this.requestOf(current.seed), true);
    };
    this.clients.push(client);
    next();
  }
}
