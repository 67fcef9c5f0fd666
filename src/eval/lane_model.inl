// The cube model of the back ends with a byte gather, written once over the few operations
// of a back end B on a cube of 64 byte lanes (54 facelets and padding):
//   B::Lanes                       a 64-lane vector
//   B::Index, B::prepare(index)    a 64-lane gather index in the back end's own form, made at
//                                  compile time from result[i] = lanes[index[i]]
//   B::kWays                       rows the engine plays side by side
//   B::kJumpsTwoMoves              whether the block scores jump two moves a gather
//   B::kEdgesTestIsCostly          whether the edge half of the group test is worth skipping
//                                  where it cannot lift the score (see engine.inl)
//   B::load(bytes)                 64 lanes from memory
//   B::gather(lanes, index)        result[i] = lanes[index[i]]
//   B::equal(a, b)                 bit i set where lane i of a equals lane i of b
//   B::equalHalves(lanes)          bit i set where lane i equals lane 32 + i (i < 32)
//   B::store(lanes, bytes)         64 lanes to memory
// and either B::equalWords(a, b), bit i set where 16-bit lane i of a equals that of b, or
//   B::gatherLow(lanes, index)     lanes 0..31 of gather(lanes, index), the rest unspecified
//   B::equalLowQuarters(lanes)     bit i set where lane i equals lane 16 + i (i < 16).
//
// A move is one gather by its permutation; each score is one or two gathers that put the two
// sides of many facelet equalities side by side (see gather_tables.hpp), then a comparison
// and a count. The block view after a move is gathered from the cube before it, with the move
// composed into the gather, so it need not wait for the move; a back end that jumps two moves
// gathers the cube by the pair of moves precomposed.
//
// Included by eval_kernels.inl after engine.inl, in the back end's namespace.

// Every gather index the model uses, in the back end's form, made at compile time.
template <class B>
struct LaneTables {
    using Index = typename B::Index;

    static constexpr std::array<Index, kMoveCount> eachMove(
        const std::array<LaneIndex, kMoveCount>& indices) {
        std::array<Index, kMoveCount> prepared{};
        for (std::size_t m = 0; m < kMoveCount; ++m) {
            prepared[m] = B::prepare(indices[m]);
        }
        return prepared;
    }
    static constexpr std::array<LaneIndex, kMoveCount> movePermutations() {
        std::array<LaneIndex, kMoveCount> sources{};
        for (std::size_t m = 0; m < kMoveCount; ++m) {
            sources[m] = kMovePermutations[m].source;
        }
        return sources;
    }
    // Every pair of moves as one permutation (a, then b).
    static constexpr auto movePairs() {
        std::array<std::array<Index, kMoveCount>, kMoveCount> composed{};
        for (std::size_t a = 0; a < kMoveCount; ++a) {
            for (std::size_t b = 0; b < kMoveCount; ++b) {
                composed[a][b] =
                    B::prepare(compose(kMovePermutations[a], kMovePermutations[b]).source);
            }
        }
        return composed;
    }

    alignas(64) static constexpr auto moves = eachMove(movePermutations());
    alignas(64) static constexpr Index block = B::prepare(kBlockGather);
    alignas(64) static constexpr auto blockAfterMove = eachMove(composeWithMoves(kBlockGather));
    alignas(64) static constexpr Index wordsLeft = B::prepare(kPairWordsLeft);
    alignas(64) static constexpr Index wordsRight = B::prepare(kPairWordsRight);
    alignas(64) static constexpr auto pairFirstAfterMove =
        eachMove(composeWithMoves(kPairGatherFirst));
    alignas(64) static constexpr auto pairRestAfterMove =
        eachMove(composeWithMoves(kPairGatherRest));
};

template <class B>
struct LaneMovePairs {
    alignas(64) static constexpr auto pairs = LaneTables<B>::movePairs();
};

template <class B>
class LaneModel {
  public:
    using Lanes = typename B::Lanes;
    using Cube = Lanes;
    using View = Lanes;  // the block gather of a cube
    using Tables = LaneTables<B>;
    static constexpr bool kEdgesTestIsCostly = B::kEdgesTestIsCostly;
    static constexpr std::size_t kWays = B::kWays;

    CUBEGA_TARGET LaneModel(const LaneCube& start, const PieceCodes& pieces)
        : start_(&start),
          pieces_(&pieces),
          edgeCentres_(B::load(gathered(start, kEdgeCentreIndex).lanes.data())),
          twoGenEdgeCentres_(B::load(gathered(start, kTwoGenEdgeCentres).lanes.data())) {}

    CUBEGA_TARGET Cube start() const { return B::load(start_->lanes.data()); }

    CUBEGA_TARGET void step(Cube& cube, std::size_t code, View& after) const {
        after = B::gather(cube, Tables::blockAfterMove[code]);
        cube = B::gather(cube, Tables::moves[code]);
    }

    CUBEGA_TARGET void twoMoves(Cube& cube, std::size_t a, std::size_t b, View& afterA,
                                View& afterB) const requires B::kJumpsTwoMoves {
        afterA = B::gather(cube, Tables::blockAfterMove[a]);
        cube = B::gather(cube, LaneMovePairs<B>::pairs[a][b]);
        afterB = B::gather(cube, Tables::block);
    }

    // The pair score after the move: the edge facelets of the turned cube in place with their
    // centres, and the corner-edge pairs. With 16-bit comparisons, whole pairs are compared
    // as words gathered from the turned cube. Otherwise a gather and a half gather from the
    // cube before the move, with the move composed in, put the two sides of the 48 equalities
    // in register halves and quarters, so they need not wait for the move.
    CUBEGA_TARGET std::int32_t pairStep(Cube& cube, std::size_t code) const {
        if constexpr (requires(Lanes lanes) { B::equalWords(lanes, lanes); }) {
            cube = B::gather(cube, Tables::moves[code]);
            const Lanes left = B::gather(cube, Tables::wordsLeft);
            const Lanes right = B::gather(cube, Tables::wordsRight);
            const std::uint32_t joined = B::equalWords(left, right) & 0xFFFFFFu;
            return std::popcount(joined) + edgeCentreMatches(cube);
        } else {
            const Lanes before = cube;
            cube = B::gather(before, Tables::moves[code]);
            const std::uint32_t first =
                B::equalHalves(B::gather(before, Tables::pairFirstAfterMove[code]));
            const std::uint32_t rest =
                B::equalLowQuarters(B::gatherLow(before, Tables::pairRestAfterMove[code]));
            return pairsFromMasks(first, rest) + edgeCentreMatches(cube);
        }
    }

    // The edge facelets of the cube that match their centres, compared in place.
    CUBEGA_TARGET std::int32_t edgeCentreMatches(Lanes cube) const {
        return std::popcount(B::equal(cube, edgeCentres_) & kEdgeFaceletBits);
    }

    CUBEGA_TARGET std::int32_t blockScore(View view) const {
        return blockScoreFromMask(B::equalHalves(view));
    }

    // The edge half of the group test: every edge's two facelets compared with the F and U
    // centres at once.
    CUBEGA_TARGET bool edgesPass(View view) const {
        return twoGenEdgesPassFromMask(B::equal(view, twoGenEdgeCentres_));
    }

    // The corner half, rarely reached: kept out of line so the hot loops stay small.
    [[gnu::noinline]] CUBEGA_TARGET bool cornersPass(Cube cube) const {
        LaneCube lanes;
        B::store(cube, lanes.lanes.data());
        return twoGenCornersPassLanes(lanes, *pieces_);
    }

  private:
    static LaneCube gathered(const LaneCube& cube, const LaneIndex& index) {
        LaneCube result;
        for (std::size_t i = 0; i < kLaneCount; ++i) {
            result.lanes[i] = cube.lanes[index[i]];
        }
        return result;
    }

    const LaneCube* start_;
    const PieceCodes* pieces_;
    Lanes edgeCentres_;
    Lanes twoGenEdgeCentres_;
};
