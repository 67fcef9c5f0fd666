// Small SVG charts drawn from scratch (no library): lines against a linear x axis, and bars.
// Each draw replaces the chart's contents; colours and line styles come from the style sheet
// through the classes given here.
const SVG = "http://www.w3.org/2000/svg";
const MARGIN = { left: 46, right: 12, top: 12, bottom: 32 };

function element(name, attributes = {}, text = null) {
  const node = document.createElementNS(SVG, name);
  for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
  if (text !== null) node.textContent = text;
  return node;
}

// About `count` round values (1, 2 or 5 times a power of ten apart, at least `least`) that
// cover [low, high].
export function niceTicks(low, high, count = 5, least = 0) {
  if (!(high > low)) return [low];
  const rough = Math.max((high - low) / count, least);
  const power = 10 ** Math.floor(Math.log10(rough));
  const step = [1, 2, 5, 10].map((m) => m * power).find((s) => s >= rough);
  const ticks = [];
  for (let tick = Math.ceil(low / step) * step; tick <= high + step * 1e-9; tick += step) {
    ticks.push(Number(tick.toPrecision(12)));
  }
  return ticks;
}

// A value scaled from [low, high] onto [from, to].
function scale(low, high, from, to) {
  const span = high > low ? high - low : 1;
  return (value) => from + ((value - low) / span) * (to - from);
}

function shortNumber(value) {
  const size = Math.abs(value);
  if (size >= 1e6) return `${Number((value / 1e6).toPrecision(3))}M`;
  if (size >= 1e4) return `${Number((value / 1e3).toPrecision(3))}k`;
  return String(value);
}

// Lines: series [{points: [[x, y], ...], className}] in the domain [0, xMax] and the range of
// their y values (padded a little), with axes labelled xLabel and yLabel.
// The chart's size in its own units (about the pixels it is drawn in, so that its text reads
// at the page's size) comes from width and height.
export function drawLines(svg, { series, xMax, xLabel, yLabel, width = 330, height = 200 }) {
  svg.setAttribute("viewBox", `0 0 ${width} ${height}`);
  let yLow = Infinity;
  let yHigh = -Infinity;
  for (const { points } of series) {
    for (const [, y] of points) {
      yLow = Math.min(yLow, y);
      yHigh = Math.max(yHigh, y);
    }
  }
  if (yLow > yHigh) [yLow, yHigh] = [0, 1];
  const pad = Math.max((yHigh - yLow) * 0.05, 1);
  [yLow, yHigh] = [yLow - pad, yHigh + pad];
  const x = scale(0, xMax, MARGIN.left, width - MARGIN.right);
  const y = scale(yLow, yHigh, height - MARGIN.bottom, MARGIN.top);

  const children = [];
  for (const tick of niceTicks(yLow, yHigh, 4)) {
    children.push(element("line", { class: "grid", x1: MARGIN.left, x2: width - MARGIN.right,
                                     y1: y(tick), y2: y(tick) }));
    children.push(element("text", { class: "tick", x: MARGIN.left - 4, y: y(tick) + 3.5,
                                     "text-anchor": "end" }, shortNumber(tick)));
  }
  for (const tick of niceTicks(0, xMax, 5, 1)) {  // whole generations
    children.push(element("text", { class: "tick", x: x(tick), y: height - MARGIN.bottom + 13,
                                     "text-anchor": "middle" }, shortNumber(tick)));
  }
  children.push(element("path", { class: "axis", d: `M${MARGIN.left} ${MARGIN.top}V${height - MARGIN.bottom}H${width - MARGIN.right}` }));
  children.push(element("text", { class: "axis-label", x: (MARGIN.left + width - MARGIN.right) / 2,
                                   y: height - 3, "text-anchor": "middle" }, xLabel));
  children.push(element("text", { class: "axis-label", x: 11, y: (MARGIN.top + height - MARGIN.bottom) / 2,
                                   "text-anchor": "middle",
                                   transform: `rotate(-90 11 ${(MARGIN.top + height - MARGIN.bottom) / 2})` }, yLabel));
  for (const { points, className } of series) {
    if (points.length === 0) continue;
    const coordinates = points.map(([px, py]) => `${x(px).toFixed(1)},${y(py).toFixed(1)}`);
    // One point alone is drawn as a short step, so that it shows.
    if (points.length === 1) coordinates.push(`${(x(points[0][0]) + 2).toFixed(1)},${y(points[0][1]).toFixed(1)}`);
    children.push(element("polyline", { class: className, points: coordinates.join(" ") }));
  }
  svg.replaceChildren(...children);
}

// Bars: [{value, label, sublabel, className, title}] from 0 to yMax, each value written above
// its bar and labelled below (every labelEvery-th bar); returns the bars' rect elements in order.
export function drawBars(svg, { bars, yMax, yLabel, xLabel = "", labelEvery = 1, width = 480, height = 200 }) {
  svg.setAttribute("viewBox", `0 0 ${width} ${height}`);
  const y = scale(0, yMax, height - MARGIN.bottom, MARGIN.top + 10);
  const slot = (width - MARGIN.left - MARGIN.right) / Math.max(bars.length, 1);
  const children = [];
  for (const tick of niceTicks(0, yMax, 4, 1)) {  // bars count whole things
    children.push(element("line", { class: "grid", x1: MARGIN.left, x2: width - MARGIN.right,
                                     y1: y(tick), y2: y(tick) }));
    children.push(element("text", { class: "tick", x: MARGIN.left - 4, y: y(tick) + 3.5,
                                     "text-anchor": "end" }, shortNumber(tick)));
  }
  children.push(element("text", { class: "axis-label", x: 11, y: (MARGIN.top + height - MARGIN.bottom) / 2,
                                   "text-anchor": "middle",
                                   transform: `rotate(-90 11 ${(MARGIN.top + height - MARGIN.bottom) / 2})` }, yLabel));
  const rects = [];
  bars.forEach(({ value, label, sublabel, className, title }, k) => {
    const left = MARGIN.left + k * slot;
    const top = y(value ?? 0);
    const rect = element("rect", { class: `bar ${className ?? ""}`, x: left + slot * 0.15, y: top,
                                   width: slot * 0.7, height: Math.max(height - MARGIN.bottom - top, 0) });
    if (title) rect.append(element("title", {}, title));
    rects.push(rect);
    children.push(rect);
    if (value !== null && value !== undefined) {
      children.push(element("text", { class: "value", x: left + slot / 2, y: top - 3,
                                       "text-anchor": "middle" }, String(value)));
    }
    if (k % labelEvery === 0) {
      children.push(element("text", { class: "tick", x: left + slot / 2, y: height - MARGIN.bottom + 12,
                                       "text-anchor": "middle" }, label));
    }
    if (sublabel) {
      children.push(element("text", { class: "tick sub", x: left + slot / 2, y: height - MARGIN.bottom + 24,
                                       "text-anchor": "middle" }, sublabel));
    }
  });
  children.push(element("path", { class: "axis", d: `M${MARGIN.left} ${height - MARGIN.bottom}H${width - MARGIN.right}` }));
  children.push(element("text", { class: "axis-label", x: (MARGIN.left + width - MARGIN.right) / 2,
                                   y: height - 3, "text-anchor": "middle" }, xLabel));
  svg.replaceChildren(...children);
  return rects;
}
