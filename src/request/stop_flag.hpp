// Stops solves from another thread: each solve's observer, told a few times a second, throws
// SolveStopped once the flag is raised, which unwinds the search within milliseconds.
#pragma once

#include <atomic>

#include "stages/solve_events.hpp"

namespace cubega {

struct SolveStopped {};

class StopWhenFlagged final : public ProgressFollower {
  public:
    explicit StopWhenFlagged(const std::atomic<bool>& flag) : flag_(&flag) {}
    void stageProgress(const StageProgress&) override {
        if (flag_->load(std::memory_order_relaxed)) {
            throw SolveStopped{};
        }
    }

  private:
    const std::atomic<bool>* flag_;
};

}  // namespace cubega
