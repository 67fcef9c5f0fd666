// A cube mixed by hand, painted on the net: a palette of the six centres' colours, the colour
// picked, and the 54 facelets painted so far (the centres stay).
import { COLOURS, FACES, SOLVED, isCentre } from "./net.js";

export class Painter {
  // palette: the element the colour buttons go in.
  constructor(palette) {
    this.palette = palette;
    this.facelets = SOLVED;
    this.colour = FACES[0];
    for (const face of FACES) palette.appendChild(this.colourButton(face));
    this.pick(this.colour);
  }

  colourButton(face) {
    const button = document.createElement("button");
    button.type = "button";
    button.setAttribute("role", "radio");
    button.setAttribute("aria-label", `colour of the ${face} centre`);
    button.dataset.face = face;
    button.style.background = COLOURS[face];
    button.addEventListener("click", () => this.pick(face));
    return button;
  }

  pick(face) {
    this.colour = face;
    for (const button of this.palette.children) {
      button.setAttribute("aria-checked", String(button.dataset.face === face));
    }
  }

  // Paints one facelet in the colour picked; false for a centre, which stays.
  paint(index) {
    if (isCentre(index)) return false;
    this.facelets = this.facelets.slice(0, index) + this.colour + this.facelets.slice(index + 1);
    return true;
  }

  reset(facelets = SOLVED) {
    this.facelets = facelets;
  }
}
