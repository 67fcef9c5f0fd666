// What a run of the generation loop tells whoever listens: a progress point every P
// generations, a logged generation for the logbook, and how many generations are done. Each
// is a plain value; nothing here writes text.
#pragma once

#include <cstdint>
#include <variant>

#include "eval/evaluation.hpp"

namespace cubega {

// Every P generations of a run: the generation, the elite's evaluation and the population's
// mean objective, summed in 32 bits and truncated toward zero.
struct ProgressPoint {
    std::int32_t generation = 0;
    Evaluation best;
    std::int32_t meanObjective = 0;
};

// A logged generation: the best row's evaluation and how the population is spread.
struct GenerationStats {
    std::int32_t generation = 0;  // from 1 in every run
    Evaluation best;
    double mean = 0;            // the exact mean objective
    std::int32_t worst = 0;     // the lowest objective
    std::int32_t distinct = 0;  // rows that differ from every other row
};

// How far a run has come: every kObservedGenerations generations (fewer in a search larger
// than the program's own, so that it comes as often in time) and at the run's end.
struct GenerationsDone {
    static constexpr std::int32_t kObservedGenerations = 128;
    std::int32_t done = 0;
    std::int32_t budget = 0;
};

using GenerationEvent = std::variant<ProgressPoint, GenerationStats, GenerationsDone>;

// Listens to a run. A listener that keeps a logbook is told of a run's first generation, of
// every generation whose best objective rises above the last one's, of every multiple of the
// run's P and of every K-th generation (K = logEvery(), none when 0), and of its last
// generation; one that keeps none (keepsLogbook() false) is spared the cost of counting the
// distinct rows. A listener may end the run by throwing.
class GenerationListener {
  public:
    virtual ~GenerationListener() = default;
    virtual bool keepsLogbook() const { return false; }
    virtual std::int32_t logEvery() const { return 0; }
    virtual void onGeneration(const GenerationEvent& event) = 0;
};

}  // namespace cubega
