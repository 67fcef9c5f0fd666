// The evaluation loops, written once over a cube model: rows side by side, the best score and
// its first slot, the rule that skips the group test when it cannot lift the score, and the
// entry score's exact replay. Compiled once per back end (eval_kernels.inl), with
// CUBEGA_TARGET the function attributes of that back end's instructions.
//
// A cube model M provides:
//   M::Cube, M::View    a cube it turns, and what its block scores are read from
//   M::kWays            how many rows to play side by side
//   M::kEdgesTestIsCostly
//                       whether the edge half of the group test costs enough to be skipped
//                       where it cannot matter
//   start()             the start cube
//   pairStep(cube, code)
//                       advances the cube by one move and gives the pair score after it
//   step(cube, code, view)
//                       advances the cube by one move and gives the view after it
//   blockScore(view), edgesPass(view), cornersPass(cube)
//                       the block score and the two halves of the two-generator test
// and, optionally, twoMoves(cube, a, b, viewA, viewB): the cube advanced by moves a and b
// with the views after each, for models that gain by jumping two moves at once.
//
// No include guard: included once per back end.

#ifndef CUBEGA_TARGET
#error "define CUBEGA_TARGET before including the evaluation engine"
#endif

// The best score and the first slot that reached it, packed as score * 256 + (255 - slot):
// one maximum keeps both, and of equal scores the earlier slot (the larger low byte). The
// start, 255, is score 0 at "slot 0", which no later score of 0 beats.
struct RowProgress {
    std::int32_t packed = 255;

    std::int32_t best() const { return packed >> 8; }
    std::int32_t count() const { return 255 - (packed & 255); }
    void record(std::int32_t score, std::size_t slot) {
        packed = std::max(packed, score * 256 + 255 - static_cast<std::int32_t>(slot));
    }
    Evaluation result() const { return {10 * best() - count(), count()}; }
};
static_assert(kLongestKernelRow <= 255);

template <class Model>
concept JumpsTwoMoves = requires(const Model& model, typename Model::Cube& cube,
                                 typename Model::View& view) {
    model.twoMoves(cube, std::size_t{}, std::size_t{}, view, view);
};

inline std::size_t codeAt(const MoveCode* row, std::size_t slot) {
    return static_cast<std::size_t>(row[slot]);
}

// The pair score: `Ways` rows side by side, one move a step. Independent rows keep the
// processor busy while one row's move is in flight.
template <class Model, std::size_t Ways>
[[gnu::noinline]] CUBEGA_TARGET void pairRows(const Model& model, const MoveCode* rows,
                                              std::size_t length, Evaluation* out) {
    typename Model::Cube cube[Ways];
    RowProgress progress[Ways];
    for (std::size_t w = 0; w < Ways; ++w) {
        cube[w] = model.start();
    }
    for (std::size_t slot = 0; slot < length; ++slot) {
        for (std::size_t w = 0; w < Ways; ++w) {
            progress[w].record(model.pairStep(cube[w], codeAt(rows + w * length, slot)), slot + 1);
        }
    }
    for (std::size_t w = 0; w < Ways; ++w) {
        out[w] = progress[w].result();
    }
}

// Plays `Ways` rows side by side and hands `step` the view after every move with its row and
// slot: two moves a step where the model jumps them at once, else one. (`step` is an object
// with a member function rather than a lambda, which would not carry the target attributes.)
template <class Model, std::size_t Ways, class Step>
[[gnu::always_inline]] CUBEGA_TARGET inline void playViews(const Model& model, const MoveCode* rows,
                                                           std::size_t length, Step& step) {
    typename Model::Cube cube[Ways];
    for (std::size_t w = 0; w < Ways; ++w) {
        cube[w] = model.start();
    }
    std::size_t slot = 0;
    if constexpr (JumpsTwoMoves<Model>) {
        for (; slot + 2 <= length; slot += 2) {
            for (std::size_t w = 0; w < Ways; ++w) {
                const MoveCode* row = rows + w * length;
                typename Model::View afterA;
                typename Model::View afterB;
                model.twoMoves(cube[w], codeAt(row, slot), codeAt(row, slot + 1), afterA, afterB);
                step.record(w, afterA, slot + 1);
                step.record(w, afterB, slot + 2);
            }
        }
    }
    for (; slot < length; ++slot) {
        for (std::size_t w = 0; w < Ways; ++w) {
            typename Model::View view;
            model.step(cube[w], codeAt(rows + w * length, slot), view);
            step.record(w, view, slot + 1);
        }
    }
}

template <class Model, std::size_t Ways>
struct BlockSteps {
    const Model& model;
    RowProgress progress[Ways] = {};

    [[gnu::always_inline]] CUBEGA_TARGET void record(std::size_t w,
                                                     const typename Model::View& view,
                                                     std::size_t slot) {
        progress[w].record(model.blockScore(view), slot);
    }
};

// The block score, `Ways` rows side by side.
template <class Model, std::size_t Ways>
[[gnu::noinline]] CUBEGA_TARGET void blockRows(const Model& model, const MoveCode* rows,
                                               std::size_t length, Evaluation* out) {
    BlockSteps<Model, Ways> steps{model};
    playViews<Model, Ways>(model, rows, length, steps);
    for (std::size_t w = 0; w < Ways; ++w) {
        out[w] = steps.progress[w].result();
    }
}

// The entry score of one row, exactly, one move at a time. The group test is skipped when even
// passing it would not lift the score above the best so far, since only a score above the
// best changes the result.
template <class Model>
[[gnu::noinline]] CUBEGA_TARGET Evaluation exactEntryRow(const Model& model, const MoveCode* row,
                                                         std::size_t length) {
    typename Model::Cube cube = model.start();
    RowProgress progress;
    for (std::size_t slot = 0; slot < length; ++slot) {
        typename Model::View view;
        model.step(cube, codeAt(row, slot), view);
        std::int32_t score = 10 * model.blockScore(view);
        if (score + 10 > progress.best() && model.edgesPass(view) && model.cornersPass(cube)) {
            score += 10;
        }
        progress.record(score, slot + 1);
    }
    return progress.result();
}

// One move of the entry score with the group test taken as failed; edgesPassed notes whether
// its edge half passed, the only case in which the corner half could change the result. It
// is a byte rather than a bool: with a bool the loop measured a third slower.
template <class Model, std::size_t Ways>
struct EntrySteps {
    const Model& model;
    RowProgress progress[Ways] = {};
    std::uint8_t edgesPassed[Ways] = {};

    [[gnu::always_inline]] CUBEGA_TARGET void record(std::size_t w,
                                                     const typename Model::View& view,
                                                     std::size_t slot) {
        const std::int32_t score = 10 * model.blockScore(view);
        if constexpr (Model::kEdgesTestIsCostly) {
            // Where even a passing group test could not lift the score, the exact replay skips
            // it too (its best so far is at least this one), so the note need not look there.
            if (score + 10 > progress[w].best() && model.edgesPass(view)) {
                edgesPassed[w] = 1;
            }
        } else {
            edgesPassed[w] =
                static_cast<std::uint8_t>(edgesPassed[w] | (model.edgesPass(view) ? 1 : 0));
        }
        progress[w].record(score, slot);
    }
};

// The entry score, `Ways` rows side by side, with the group test taken as failed. A row where
// its edge half passed at some move is played again, alone and exactly. Most rows never get
// there, and the loop without the corner test stays small enough to keep every row's cube in
// registers.
template <class Model, std::size_t Ways>
[[gnu::noinline]] CUBEGA_TARGET void entryRows(const Model& model, const MoveCode* rows,
                                               std::size_t length, Evaluation* out) {
    EntrySteps<Model, Ways> steps{model};
    playViews<Model, Ways>(model, rows, length, steps);
    for (std::size_t w = 0; w < Ways; ++w) {
        out[w] = steps.edgesPassed[w] ? exactEntryRow(model, rows + w * length, length)
                                      : steps.progress[w].result();
    }
}

template <class Model, EvalMode Mode, std::size_t Ways>
CUBEGA_TARGET void rowGroup(const Model& model, const MoveCode* rows, std::size_t length,
                            Evaluation* out) {
    if constexpr (Mode == kPairMode) {
        pairRows<Model, Ways>(model, rows, length, out);
    } else if constexpr (Mode == kBlockMode) {
        blockRows<Model, Ways>(model, rows, length, out);
    } else {
        entryRows<Model, Ways>(model, rows, length, out);
    }
}

template <class Model, EvalMode Mode>
CUBEGA_TARGET void allRows(const Model& model, const MoveCode* codes, std::size_t rows,
                           std::size_t length, Evaluation* out) {
    constexpr std::size_t kWays = Model::kWays;
    std::size_t row = 0;
    for (; row + kWays <= rows; row += kWays) {
        rowGroup<Model, Mode, kWays>(model, codes + row * length, length, out + row);
    }
    for (; row < rows; ++row) {
        rowGroup<Model, Mode, 1>(model, codes + row * length, length, out + row);
    }
}

// Evaluates out.size() rows of `length` codes 0..17 stored one after another in `codes`.
template <class Model>
CUBEGA_TARGET void evaluateRowsWith(const Model& model, std::span<const MoveCode> codes,
                                    std::size_t length, EvalMode mode, std::span<Evaluation> out) {
    switch (mode) {
        case kPairMode:
            return allRows<Model, kPairMode>(model, codes.data(), out.size(), length, out.data());
        case kBlockMode:
            return allRows<Model, kBlockMode>(model, codes.data(), out.size(), length, out.data());
        case kTwoGenEntryMode:
            return allRows<Model, kTwoGenEntryMode>(model, codes.data(), out.size(), length,
                                                    out.data());
    }
}
