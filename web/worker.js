// The search runs here, away from the page, so that the page never freezes. Messages in:
// {type: "solve", request, logbook} (the request as JSON text; logbook: whether to keep the
// search's logbook for the charts). Messages out: {type: "ready"}, {type: "progress", stage,
// run, location, done, of, rows}, {type: "result", result, rows} and {type: "error", message},
// where rows is the logbook's JSON Lines text since the last message ("" without a logbook).
// Progress goes out at most every POST_INTERVAL_MS, however often the module reports it. The
// page cancels a search by ending this worker.
importScripts("cube_solver.js");

const POST_INTERVAL_MS = 200;

const solver = createCubeSolver();

solver.then(() => postMessage({ type: "ready" }));

onmessage = async (event) => {
  if (event.data.type !== "solve") return;
  const module = await solver;
  let rows = "";
  let lastPost = -Infinity;
  const onProgress = (stage, run, location, done, of) => {
    const now = performance.now();
    if (now - lastPost < POST_INTERVAL_MS) return;
    lastPost = now;
    postMessage({ type: "progress", stage, run, location, done, of, rows });
    rows = "";
  };
  const onRows = (text) => { rows += text; };
  const text = event.data.logbook ? module.solveWithLogbook(event.data.request, onProgress, onRows)
                                  : module.solve(event.data.request, onProgress);
  const answer = JSON.parse(text);
  if (answer.error) {
    postMessage({ type: "error", message: answer.error });
  } else {
    postMessage({ type: "result", result: answer, rows });
  }
};
