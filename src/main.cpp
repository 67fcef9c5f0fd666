// cube-solver: solves a scrambled 3x3x3 cube with a genetic search; with no argument at the
// console, with arguments from the command line.
#include <unistd.h>

#include <iostream>

#include "cli/command_line.hpp"
#include "genetic/clock.hpp"
#include "run/driver.hpp"

int main(int argc, char** argv) {
    if (argc > 1) {
        cubega::CommandLineStreams streams{std::cin, std::cout, std::cerr, isatty(2) == 1};
        return cubega::runCommandLine(argc, argv, streams);
    }
    cubega::SystemClock clock;
    cubega::RunEnvironment environment{std::cin, std::cout, std::cerr, clock};
    return cubega::runSolver(environment);
}
