#include "genetic/genetic_search.hpp"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include "eval/evaluate.hpp"
#include "platform/back_end.hpp"
#include "run/transcript.hpp"
#include "support/plain_generation.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

// Writes a run's progress points as the dialogue's progress lines.
struct ProgressLines final : GenerationListener {
    testing::CaptureWriter console;
    void onGeneration(const GenerationEvent& event) override {
        if (const auto* point = std::get_if<ProgressPoint>(&event)) {
            writeProgressLine(console, point->generation, point->best, point->meanObjective);
        }
    }
};

struct LoopFixture {
    FixedClock clock{{3, 1800000000}};
    RandomSource random{clock};
    ProgressLines lines;
    testing::CaptureWriter& console = lines.console;
    GeneticSearch search;
    const Population& population = search.population();
    const ScoreTable& scores = search.scores();

    explicit LoopFixture(const SearchParams& params = {}) : search(params) {
        random.seedFromClock();
        search.startFromRandomPopulation(random);
    }
    void run(GenerationRun run, const CubeState& start, EvalMode mode) {
        run.listener = &lines;
        search.evolve(run, start, mode, random);
    }
};

GenerationRun params(std::int32_t generations, std::int32_t interval, bool twoFaces = false) {
    return {generations, interval, twoFaces};
}

TEST(GenerationLoop, ZeroGenerationsLeaveEverythingAsPassed) {
    LoopFixture loop;
    const Population before = loop.population;
    const ScoreTable scoresBefore = loop.scores;
    const std::int32_t state = loop.random.state();
    loop.run(params(0, 1), solvedCube(), kPairMode);
    EXPECT_EQ(loop.population, before);
    EXPECT_EQ(loop.scores, scoresBefore);
    EXPECT_EQ(loop.random.state(), state);
    EXPECT_EQ(loop.console.text, "");
}

TEST(GenerationLoop, TheEliteSurvivesWithItsScore) {
    std::mt19937 rng(6);
    LoopFixture loop;
    const CubeState start = testing::randomCube(rng, 12);
    for (int g : {1, 2, 7, 40}) {
        loop.run(params(g, 1000), start, kBlockMode);
        const Evaluation elite = evaluateSequence(start, loop.population.row(0), 30, kBlockMode);
        EXPECT_EQ(elite.objective, loop.scores[0].objective);
        EXPECT_EQ(elite.moveCount, loop.scores[0].moveCount);
    }
}

TEST(GenerationLoop, TheEliteNeverGetsWorse) {
    std::mt19937 rng(8);
    LoopFixture loop;
    const CubeState start = testing::randomCube(rng, 20);
    std::int32_t best = -1000000;
    for (int run = 0; run < 20; ++run) {
        loop.run(params(5, 1000), start, kPairMode);
        EXPECT_GE(loop.scores[0].objective, best);
        best = loop.scores[0].objective;
    }
}

TEST(GenerationLoop, ProgressLineEveryIntervalAfterRanking) {
    LoopFixture loop;
    loop.run(params(4, 2), solvedCube(), kBlockMode);
    // Every row of a solved start keeps the block with its first F or U move, or loses it.
    const std::string& text = loop.console.text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
    EXPECT_EQ(text.rfind(" Generation / elite/ moy.            2", 0), 0u) << text;
    EXPECT_NE(text.find("\n Generation / elite/ moy.            4"), std::string::npos);

    LoopFixture once;
    once.run(params(3, 3), solvedCube(), kBlockMode);
    EXPECT_EQ(std::count(once.console.text.begin(), once.console.text.end(), '\n'), 1);
    LoopFixture never;
    never.run(params(3, 4), solvedCube(), kBlockMode);
    EXPECT_EQ(never.console.text, "");
}

TEST(GenerationLoop, ProgressLineTextWithTheMeanTruncatedTowardZero) {
    testing::CaptureWriter console;
    const auto writeProgressLine = [&console](std::int32_t generation, const ScoreTable& table) {
        const ProgressPoint point = progressPointOf(generation, table);
        cubega::writeProgressLine(console, point.generation, point.best, point.meanObjective);
    };
    ScoreTable scores(51, {0, 0});
    scores[0] = {620, 12};
    writeProgressLine(100000, scores);  // sum 620 over 51 rows: 12
    EXPECT_EQ(console.text,
              " Generation / elite/ moy.       100000         620          12   12.00000    \n");
    scores[0] = {-20, 0};  // sum -20: truncates to 0
    console.text.clear();
    writeProgressLine(5, scores);
    EXPECT_EQ(console.text,
              " Generation / elite/ moy.            5         -20           0  0.0000000E+00\n");
    scores[0] = {101, 0};  // sum 101: 1
    console.text.clear();
    writeProgressLine(5, scores);
    EXPECT_EQ(console.text,
              " Generation / elite/ moy.            5         101           0   1.000000    \n");
}

TEST(GenerationLoop, FoldingOntoTwoFacesKeepsTheKindOfTurn) {
    EXPECT_EQ(foldOntoTwoFaces(8), 6);    // R2 -> F2
    EXPECT_EQ(foldOntoTwoFaces(17), 13);  // L' -> U'
    EXPECT_EQ(foldOntoTwoFaces(4), 0);    // D -> F
    EXPECT_EQ(foldOntoTwoFaces(15), 13);  // B' -> U'
}

TEST(GenerationLoop, AResumedSearchKeepsItsPopulationAndDrawsAsANewOneDoes) {
    std::mt19937 rng(7);
    const CubeState start = testing::randomCube(rng, 12);
    LoopFixture resumed, restarted;
    resumed.run(params(5, 1000), start, kBlockMode);
    restarted.run(params(5, 1000), start, kBlockMode);
    const Population reached = resumed.population;
    resumed.search.resumeWithRandomDrawsSpent(resumed.random);
    restarted.search.startFromRandomPopulation(restarted.random);
    EXPECT_EQ(resumed.population, reached);
    EXPECT_NE(restarted.population, reached);
    EXPECT_EQ(resumed.random.state(), restarted.random.state());
}

TEST(GenerationLoop, RestrictedRunsEvaluateFrontAndUpTurnsFirst) {
    LoopFixture loop;
    loop.run(params(3, 1000, true), solvedCube(), kBlockMode);
    // From the solved cube every F or U move keeps the block: the elite scores 16 at once.
    EXPECT_EQ(loop.scores[0].objective, 159);
    EXPECT_EQ(loop.scores[0].moveCount, 1);
}

TEST(GenerationLoop, AFrozenClockMakesARunReproducible) {
    std::mt19937 rng(10);
    const CubeState start = testing::randomCube(rng, 15);
    LoopFixture first, second;
    first.run(params(30, 10), start, kTwoGenEntryMode);
    second.run(params(30, 10), start, kTwoGenEntryMode);
    EXPECT_EQ(first.population, second.population);
    EXPECT_EQ(first.scores, second.scores);
    EXPECT_EQ(first.console.text, second.console.text);
}

TEST(GenerationLoop, EqualObjectivesKeepRowOrder) {
    // Every row alternates F and U turns (nothing to simplify), so every row keeps the block
    // of the solved cube from its first move: all score (159, 1). Row 0 alone begins with F;
    // a stable ranking keeps it first, and it survives as the elite.
    SearchParams noImmigrants;
    noImmigrants.immigrantCount = 0;
    LoopFixture loop(noImmigrants);
    Population alternating(51, 30);
    for (std::int32_t i = 0; i < 51; ++i) {
        const MoveCode first = i == 0 ? 0 : 1;
        for (std::size_t j = 0; j < 30; ++j) {
            alternating.row(i)[j] = j % 2 == 0 ? first : 1 - first;
        }
    }
    loop.search.startFrom(alternating);
    const Population before = loop.population;
    loop.run(params(1, 1), solvedCube(), kBlockMode);
    EXPECT_EQ(loop.scores, ScoreTable(51, {159, 1}));
    EXPECT_TRUE(std::equal(loop.population.row(0).begin(), loop.population.row(0).end(),
                           before.row(0).begin()));
}

// A search of other sizes and rates: N, L, K, pm, pc, sp, the stage whose setting it runs
// (0 block, 1 entry, 2 finish folded onto two faces, 3 block folded) and how many generations.
struct SizedRun {
    SearchParams params;
    int stage;
    std::int32_t generations;
};

SearchParams sized(std::int32_t rows, std::int32_t slots, std::int32_t immigrants = 5,
                   float mutation = 0.05F, float crossover = 0.8F, float pressure = 1.5F) {
    return {rows, slots, immigrants, mutation, crossover, pressure};
}

// Sizes at and around every boundary of the fast paths (the packed ranking's 64 rows, the
// evaluation's rows side by side, the two-face stacks' 32 and 64 slots, the vector steps of
// 8 and 16 codes, a row of one slot, which no cut can cross), and the ends of every rate.
const SizedRun kSizedRuns[] = {
    {sized(2, 1, 0), 0, 6},
    {sized(2, 2, 1), 2, 6},
    {sized(3, 30, 2, 1.0F, 1.0F, 2.0F), 1, 4},
    {sized(6, 15, 5, 0.0F, 0.0F, 1.0F), 2, 4},
    {sized(6, 16), 3, 4},
    {sized(9, 1, 3, 0.5F, 1.0F, 1.2F), 2, 6},
    {sized(63, 30, 0), 0, 4},
    {sized(64, 31, 63, 0.05F, 0.8F, 2.0F), 1, 4},
    {sized(65, 32), 2, 4},
    {sized(65, 33, 1, 0.1F, 1.0F, 1.0F), 3, 4},
    {sized(51, 64), 2, 4},
    {sized(51, 65), 2, 3},
    {sized(200, 30, 20), 1, 3},
    {sized(20, 128, 5, 0.2F), 2, 3},
    {sized(4096, 30, 100), 0, 2},
};

// Every back end breeds what the plain loop breeds, draw for draw, with the clock moving on
// between generations.
TEST(GenerationLoop, EveryBackEndBreedsThePlainGenerationsAtEverySize) {
    const BackEnd active = activeBackEnd();
    std::mt19937 rng(21);
    for (const SizedRun& sizedRun : kSizedRuns) {
        const SearchParams& params = sizedRun.params;
        const bool twoFaces = sizedRun.stage >= 2;
        const EvalMode mode = sizedRun.stage == 1   ? kTwoGenEntryMode
                              : sizedRun.stage == 2 ? kPairMode
                                                    : kBlockMode;
        const CubeState start =
            twoFaces ? testing::randomTwoFaceCube(rng, 14) : testing::randomCube(rng, 16);
        const auto clockAt = [](std::int32_t g) {
            return ClockReading{static_cast<std::uint32_t>(40 + g), 1800000000};
        };
        useBackEnd(BackEnd::portable);
        FixedClock plainClock(clockAt(0));
        RandomSource plainRandom(plainClock);
        plainRandom.seedFromClock();
        testing::PlainSearch plain(params);
        plain.startFromRandomPopulation(plainRandom);
        for (std::int32_t g = 1; g <= sizedRun.generations; ++g) {
            plainClock.set(clockAt(g));
            plain.generation(twoFaces, start, mode, plainRandom);
        }
        for (const BackEnd backEnd : kBackEnds) {
            if (!backEndAvailable(backEnd)) {
                continue;
            }
            useBackEnd(backEnd);
            FixedClock clock(clockAt(0));
            RandomSource random(clock);
            random.seedFromClock();
            GeneticSearch search(params);
            search.startFromRandomPopulation(random);
            for (std::int32_t g = 1; g <= sizedRun.generations; ++g) {
                clock.set(clockAt(g));
                search.evolve({1, 1, twoFaces}, start, mode, random);
            }
            const std::string size = std::to_string(params.populationSize) + " rows of " +
                                     std::to_string(params.sequenceLength) + ", " +
                                     std::string(backEndName(backEnd));
            ASSERT_EQ(search.population(), plain.population) << size;
            ASSERT_EQ(search.scores(), plain.scores) << size;
            ASSERT_EQ(random.state(), plainRandom.state()) << size;
        }
    }
    useBackEnd(active);
}

TEST(GenerationLoop, ParametersOutsideTheirRangesAreRefused) {
    for (const SearchParams& params :
         {sized(1, 30), sized(4097, 30), sized(51, 0), sized(51, 129), sized(51, 30, -1),
          sized(51, 30, 51), sized(51, 30, 5, -0.01F), sized(51, 30, 5, 1.01F),
          sized(51, 30, 5, 0.05F, std::nanf("")), sized(51, 30, 5, 0.05F, 0.8F, 0.99F),
          sized(51, 30, 5, 0.05F, 0.8F, 2.01F)}) {
        EXPECT_THROW(GeneticSearch{params}, std::invalid_argument)
            << params.populationSize << " " << params.sequenceLength << " "
            << params.immigrantCount;
    }
    EXPECT_NO_THROW(GeneticSearch(sized(kMinPopulationSize, kMinSequenceLength, 1, 0, 0, 1)));
    EXPECT_NO_THROW(GeneticSearch(sized(kMaxPopulationSize, kMaxSequenceLength, 4095, 1, 1, 2)));
}

}  // namespace
}  // namespace cubega
