// replay-results FILE: replays a results.txt (scramble, whole-cube rotations, solution) onto a
// solved cube. Prints "solved <total>" and exits 0 when the cube ends solved and the logged
// total equals the number of solution moves; otherwise says what is wrong and exits 1.
#include <exception>
#include <iostream>

#include "support/test_support.hpp"

int main(int argc, char** argv) {
    using namespace cubega::testing;
    if (argc != 2) {
        std::cerr << "usage: replay-results FILE\n";
        return 2;
    }
    try {
        const LoggedRun run = readResultsLog(argv[1]);
        if (!isSolved(replayLoggedRun(run))) {
            std::cout << "not solved\n";
            return 1;
        }
        if (static_cast<std::size_t>(run.total) != run.solution.size()) {
            std::cout << "total " << run.total << " but " << run.solution.size() << " moves\n";
            return 1;
        }
        std::cout << "solved " << run.total << "\n";
        return 0;
    } catch (const std::exception& error) {
        std::cout << "unreadable: " << error.what() << "\n";
        return 1;
    }
}
