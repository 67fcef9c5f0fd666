// Stops solves from another thread: each solve's listener, told of its progress a few times a
// second, throws SolveStopped once a flag is raised (the engine's, or its task's when another
// try has answered), which unwinds the search within milliseconds.
#pragma once

#include <atomic>

#include "stages/solve_events.hpp"

namespace cubega {

struct SolveStopped {};

class StopWhenFlagged final : public ProgressFollower {
  public:
    StopWhenFlagged(const std::atomic<bool>& flag, const std::atomic<bool>& other)
        : flag_(&flag), other_(&other) {}
    void stageProgress(const StageProgress&) override {
        if (flag_->load(std::memory_order_relaxed) || other_->load(std::memory_order_relaxed)) {
            throw SolveStopped{};
        }
    }

  private:
    const std::atomic<bool>* flag_;
    const std::atomic<bool>* other_;
};

}  // namespace cubega
