// The search runs here, away from the page, so that the page never freezes. Messages in:
// {type: "solve", request} (the request as JSON text). Messages out: {type: "ready"},
// {type: "progress", stage, run, location, done, of}, {type: "result", result} and
// {type: "error", message}. The page cancels a search by ending this worker.
importScripts("cube_solver.js");

const solver = createCubeSolver();

solver.then(() => postMessage({ type: "ready" }));

onmessage = async (event) => {
  if (event.data.type !== "solve") return;
  const module = await solver;
  const text = module.solve(event.data.request, (stage, run, location, done, of) => {
    postMessage({ type: "progress", stage, run, location, done, of });
  });
  const answer = JSON.parse(text);
  if (answer.error) {
    postMessage({ type: "error", message: answer.error });
  } else {
    postMessage({ type: "result", result: answer });
  }
};
