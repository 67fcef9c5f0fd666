// The cube drawn as its unfolded net: 54 facelets as SVG squares, in the 54-letter text's
// order (faces U R F D L B, each row by row), each coloured by the face whose centre it
// matches.
const SVG = "http://www.w3.org/2000/svg";
const CELL = 30;

// Where each face's top-left facelet sits in the net, in cells (L F R B side by side).
const ORIGINS = { U: [3, 0], R: [6, 3], F: [3, 3], D: [3, 6], L: [0, 3], B: [9, 3] };
export const FACES = "URFDLB";
export const COLOURS = {
  U: "#ffffff", R: "#c41e3a", F: "#009e60", D: "#ffd500", L: "#ff5800", B: "#0051ba",
};
export const SOLVED = [...FACES].map((face) => face.repeat(9)).join("");

export function isCentre(index) {
  return index % 9 === 4;
}

// The cell of a facelet in the net: [column, row].
function cellOf(index) {
  const [column, row] = ORIGINS[FACES[Math.floor(index / 9)]];
  return [column + (index % 3), row + Math.floor((index % 9) / 3)];
}

// Makes the 54 squares in `svg`, and the outline drawn over them; onClick(index) is told of
// clicks on a facelet.
export function createNet(svg, onClick) {
  for (let index = 0; index < 54; ++index) {
    const [column, row] = cellOf(index);
    const rect = document.createElementNS(SVG, "rect");
    rect.setAttribute("x", column * CELL);
    rect.setAttribute("y", row * CELL);
    rect.setAttribute("width", CELL);
    rect.setAttribute("height", CELL);
    rect.dataset.index = index;
    if (isCentre(index)) rect.classList.add("centre");
    rect.addEventListener("click", () => onClick(index));
    svg.appendChild(rect);
  }
  const outline = document.createElementNS(SVG, "path");
  outline.classList.add("outline");
  outline.dataset.facelets = "";
  svg.appendChild(outline);
}

// Outlines a group of facelets (indices in the 54-letter text's order; none clears it): the
// sides of their squares that no other square of the group shares, so that each face's part of
// the group gets one border.
export function outlineFacelets(svg, indices) {
  const cells = new Set(indices.map((index) => cellOf(index).join(",")));
  const sides = [];
  for (const index of indices) {
    const [column, row] = cellOf(index);
    const [x, y] = [column * CELL, row * CELL];
    const open = (dc, dr) => !cells.has(`${column + dc},${row + dr}`);
    if (open(0, -1)) sides.push(`M${x} ${y}h${CELL}`);
    if (open(0, 1)) sides.push(`M${x} ${y + CELL}h${CELL}`);
    if (open(-1, 0)) sides.push(`M${x} ${y}v${CELL}`);
    if (open(1, 0)) sides.push(`M${x + CELL} ${y}v${CELL}`);
  }
  const outline = svg.querySelector("path.outline");
  outline.setAttribute("d", sides.join(""));
  outline.dataset.facelets = indices.join(",");
}

// Colours the squares from a 54-letter text.
export function drawNet(svg, facelets) {
  for (const rect of svg.querySelectorAll("rect")) {
    const letter = facelets[Number(rect.dataset.index)];
    rect.dataset.letter = letter;
    rect.setAttribute("fill", COLOURS[letter] ?? "#888");
  }
}
