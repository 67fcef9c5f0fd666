// The search runs here, away from the page, so that the page never freezes. Messages in:
// {type: "solve", request, logbook} (the request as JSON text; logbook: whether to keep the
// search's logbook for the charts). Messages out: {type: "ready"}, {type: "progress", stage,
// run, location, done, of, rows}, {type: "result", result, rows} and {type: "error", message},
// where rows are the logbook's batches since the last message (Float64Arrays, handed over
// without a copy; none without a logbook). Progress goes out at most every POST_INTERVAL_MS,
// however often the module reports it. The page cancels a search by ending this worker.
importScripts("cube_solver.js");

const POST_INTERVAL_MS = 200;

const solver = createCubeSolver();

solver.then(() => postMessage({ type: "ready" }));

onmessage = async (event) => {
  if (event.data.type !== "solve") return;
  const module = await solver;
  let rows = [];
  let lastPost = -Infinity;
  const post = (message) => {
    postMessage({ ...message, rows }, rows.map((batch) => batch.buffer));
    rows = [];
  };
  const onProgress = (stage, run, location, done, of) => {
    const now = performance.now();
    if (now - lastPost < POST_INTERVAL_MS) return;
    lastPost = now;
    post({ type: "progress", stage, run, location, done, of });
  };
  const onRows = (batch) => { rows.push(batch); };
  const text = event.data.logbook ? module.solveWithLogbook(event.data.request, onProgress, onRows)
                                  : module.solve(event.data.request, onProgress);
  const answer = JSON.parse(text);
  if (answer.error) {
    postMessage({ type: "error", message: answer.error });
  } else {
    post({ type: "result", result: answer });
  }
};
