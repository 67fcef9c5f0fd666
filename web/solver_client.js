// The page's side of a search worker (worker.js): one search at a time, its messages
// ({type: "progress" | "result" | "error", ..., rows}) handed to onMessage. Cancel ends the
// search at once by ending the worker, and starts a fresh one for the next search.
export class SolverClient {
  constructor(onMessage) {
    this.onMessage = onMessage;
    this.worker = this.startWorker();
  }

  // request: the request's JSON text; logbook: whether to keep the search's logbook.
  solve(request, logbook) {
    this.worker.postMessage({ type: "solve", request, logbook });
  }

  cancel() {
    this.close();
    this.worker = this.startWorker();
  }

  close() {
    this.worker.onmessage = null;  // nothing more of the ended search
    this.worker.terminate();
  }

  startWorker() {
    const worker = new Worker("worker.js");
    worker.onmessage = ({ data }) => {
      if (data.type !== "ready") this.onMessage(data);
    };
    return worker;
  }
}
