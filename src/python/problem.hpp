// The solver's stages as problems for any optimizer: cube_solver.Problem judges rows of move
// codes as a stage's own search judges its population (numpy arrays in and out), and
// cube_solver.Logbook keeps an optimizer's generations in the columns of the program's
// logbook.
#pragma once

#include <pybind11/pybind11.h>

namespace cubega {

// Adds Problem and Logbook to the module. Call with the GIL held.
void registerProblem(pybind11::module_& module);

}  // namespace cubega
