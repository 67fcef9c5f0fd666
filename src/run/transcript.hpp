// The console dialogue's transcript of a search, rendered from the solve's events: each
// location's search and report, the progress lines, the ranking, the whole-cube rotations of
// the committed block (in results.txt too), each stage's result.
#pragma once

#include <cstdint>

#include "eval/evaluation.hpp"
#include "io/record_writer.hpp"
#include "stages/solve_events.hpp"

namespace cubega {

class Transcript final : public SolveListener {
  public:
    // The rotations of the committed block go to the console and then to the log.
    Transcript(RecordWriter& console, RecordWriter& log) : console_(&console), log_(&log) {}

    void onEvent(const SolveEvent& event) override;

  private:
    void render(const RunBegan& began);
    void render(const ProgressPointReached& point);
    void render(const RunEnded& ended);
    void render(const RunExtended& extended);
    void render(const PassEnded& ended);
    void render(const LocationsRanked& ranked);
    void render(const CubeRotated& rotated);
    void render(const StageDone& done);
    void render(const StageProgress&) {}
    void render(const LogbookRow&) {}

    RecordWriter* console_;
    RecordWriter* log_;
};

// The progress line: generation, elite objective and move count, and the mean objective
// truncated toward zero, printed as a real.
void writeProgressLine(RecordWriter& console, std::int32_t generation, const Evaluation& best,
                       std::int32_t meanObjective);

// The console's line for a whole-cube rotation.
std::string_view rotationLine(Rotation rotation);

}  // namespace cubega
