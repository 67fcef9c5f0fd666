#include "genetic/genetic_search.hpp"

#include <gtest/gtest.h>

#include <random>

#include "eval/evaluate.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

struct LoopFixture {
    FixedClock clock{{3, 1800000000}};
    RandomSource random{clock};
    testing::CaptureWriter console;
    GeneticSearch search;
    const Population& population = search.population();
    const ScoreTable& scores = search.scores();

    explicit LoopFixture(const SearchParams& params = {}) : search(params) {
        random.seedFromClock();
        search.startFromRandomPopulation(random);
    }
    void run(const GenerationRun& run, const CubeState& start, EvalMode mode) {
        search.evolve(run, start, mode, random, console);
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
    ScoreTable scores(51, {0, 0});
    scores[0] = {620, 12};
    writeProgressLine(console, 100000, scores);  // sum 620 over 51 rows: 12
    EXPECT_EQ(console.text,
              " Generation / elite/ moy.       100000         620          12   12.00000    \n");
    scores[0] = {-20, 0};  // sum -20: truncates to 0
    console.text.clear();
    writeProgressLine(console, 5, scores);
    EXPECT_EQ(console.text,
              " Generation / elite/ moy.            5         -20           0  0.0000000E+00\n");
    scores[0] = {101, 0};  // sum 101: 1
    console.text.clear();
    writeProgressLine(console, 5, scores);
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

}  // namespace
}  // namespace cubega
