// The search's progress on a terminal's error stream, one line rewritten in place: the stage,
// its run (or location and pass), the generations of the run and the seconds so far.
#pragma once

#include <chrono>
#include <ostream>
#include <string>

#include "stages/solve_events.hpp"

namespace cubega {

class ProgressBar final : public ProgressFollower {
  public:
    explicit ProgressBar(std::ostream& terminal);
    ~ProgressBar() override;  // clears the line

    void stageProgress(const StageProgress& progress) override;

    // The line for a progress report after `seconds`.
    static std::string line(const StageProgress& progress, double seconds);

  private:
    std::ostream* terminal_;
    std::chrono::steady_clock::time_point start_;
    bool drawn_ = false;
};

}  // namespace cubega
