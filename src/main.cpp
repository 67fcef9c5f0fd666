// cube-solver: solves a scrambled 3x3x3 cube with a genetic search, at the console.
#include <iostream>

#include "genetic/clock.hpp"
#include "run/driver.hpp"

int main() {
    cubega::SystemClock clock;
    cubega::RunEnvironment environment{std::cin, std::cout, std::cerr, clock};
    return cubega::runSolver(environment);
}
