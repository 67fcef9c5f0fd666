// The rules of a solve request, written once for every front end: the command line's options,
// a batch line's JSON, the web page and the Python module check a value with the same
// function and refuse it with the same message. Each checked... function returns the value it
// was given, or throws UsageError naming the value as its front end spells it (an option
// "--seed", a JSON key "\"seed\"", a keyword argument "seed") and the range it must lie in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <optional>

#include "cube/cube_state.hpp"
#include "cube/moves.hpp"
#include "cube/notation_reader.hpp"
#include "genetic/search_params.hpp"
#include "run/scramble.hpp"
#include "run/solve.hpp"

namespace cubega {

// How a front end names its values: command-line options, JSON keys, or the Python module's
// keyword arguments (the keys in snake_case: mutation_rate).
enum class Spelling { option, key, keyword };

// A JSON key as a keyword argument: "mutationRate" -> "mutation_rate".
std::string keywordOf(std::string_view key);

// One value of a request, by its option and its key (its keyword argument is the key in
// snake_case).
struct RequestField {
    std::string_view option;  // "--seed"
    std::string_view key;     // "seed"

    std::string nameIn(Spelling spelling) const;
};

// A whole number and its range.
struct WholeNumberRule {
    RequestField field;
    std::int64_t minimum = 0;
    std::int64_t maximum = 0;
};

// A real number and its range; the lowest value itself allowed or not.
struct RealNumberRule {
    RequestField field;
    double minimum = 0;
    double maximum = 0;
    bool minimumAllowed = true;
};

inline constexpr std::int64_t kMaxScrambleMoves = kMaxScrambleLength;
inline constexpr std::int64_t kMaxGenerationsOfRun = 2147483647;

inline constexpr WholeNumberRule kGenerationsRule{
    {"--generations", "generations"}, 1, kMaxGenerationsOfRun};
inline constexpr WholeNumberRule kSeedRule{{"--seed", "seed"}, 0, 4294967295};
inline constexpr WholeNumberRule kRandomLengthRule{{"--random", "random"}, 1, kMaxScrambleMoves};
inline constexpr WholeNumberRule kJobsRule{{"--jobs", "jobs"}, 1, 1024};
inline constexpr RequestField kScrambleField{"--scramble", "scramble"};
inline constexpr RequestField kFaceletsField{"--facelets", "facelets"};

inline constexpr WholeNumberRule kPopulationRule{
    {"--population", "population"}, kMinPopulationSize, kMaxPopulationSize};
inline constexpr WholeNumberRule kLengthRule{
    {"--length", "length"}, kMinSequenceLength, kMaxSequenceLength};
// At most one fewer than the population: the best row always survives.
inline constexpr RequestField kImmigrantsField{"--immigrants", "immigrants"};
inline constexpr RealNumberRule kMutationRateRule{{"--mutation-rate", "mutationRate"}, 0, 1};
inline constexpr RealNumberRule kCrossoverRateRule{{"--crossover-rate", "crossoverRate"}, 0, 1};
inline constexpr RealNumberRule kSelectionPressureRule{
    {"--selection-pressure", "selectionPressure"}, 1, 2};
inline constexpr WholeNumberRule kEntryGenerationsRule{
    {"--entry-generations", "entryGenerations"}, 1, kMaxGenerationsOfRun};
inline constexpr WholeNumberRule kFinishGenerationsRule{
    {"--finish-generations", "finishGenerations"}, 1, kMaxGenerationsOfRun};
inline constexpr RequestField kStopAtGoalField{"--stop-at-goal", "stopAtGoal"};
inline constexpr WholeNumberRule kMaxGenerationsRule{
    {"--max-generations", "maxGenerations"}, 1, 9223372036854775807};
inline constexpr RealNumberRule kTimeLimitRule{{"--time-limit", "timeLimit"}, 0, 1e9, false};
inline constexpr WholeNumberRule kTriesRule{{"--tries", "tries"}, 1, 1000};
inline constexpr RequestField kFirstField{"--first", "first"};
inline constexpr WholeNumberRule kLogEveryRule{
    {"--log-every", "logEvery"}, 1, kMaxGenerationsOfRun};

// "--seed must be a whole number from 0 to 4294967295": the message of a value out of range,
// or of a value that is not a whole number at all.
std::string wholeNumberMessage(const WholeNumberRule& rule, Spelling spelling);

std::int64_t checkedWholeNumber(const WholeNumberRule& rule, std::int64_t value, Spelling spelling);

// "--mutation-rate must be a number from 0 to 1".
std::string realNumberMessage(const RealNumberRule& rule, Spelling spelling);

double checkedRealNumber(const RealNumberRule& rule, double value, Spelling spelling);

// The search's values as a front end read them, each given or not, before any is checked.
struct SearchValues {
    std::optional<std::int64_t> population, length, immigrants;
    std::optional<double> mutationRate, crossoverRate, selectionPressure;
    std::optional<std::int64_t> generations, entryGenerations, finishGenerations;
    std::optional<bool> stopAtGoal;
    std::optional<std::int64_t> maxGenerations;
    std::optional<double> timeLimit;
    std::optional<std::int64_t> tries;  // solves of the same cube, seeds S, S + 1, ...
    std::optional<bool> first;          // the first try to finish answers

    // These values, with those of `over` in place where it gives them.
    SearchValues overlaidWith(const SearchValues& over) const;
};

// The settings and budget of the given values, each checked by its rule; what is not given
// keeps the program's value, but for the immigrants, which stay below a smaller population.
struct CheckedSearch {
    SearchSettings settings;
    SolveBudget budget;
    std::int32_t tries = 1;
    bool first = false;
};
CheckedSearch checkedSearch(const SearchValues& values, Spelling spelling);

// A scramble's text in the full notation (face turns, wide turns, slices, rotations, groups,
// commutators and conjugates), expanding to at most kMaxScrambleMoves face turns: its face
// turns for the cube as held at its end, that cube, and whether the text was face turns alone.
MoveText checkedMoveText(std::string_view text);

// The face turns of checkedMoveText.
std::vector<MoveCode> checkedScramble(std::string_view text);

// The cube of a 54-letter facelet text, if face turns can reach it.
CubeState checkedFacelets(std::string_view text);

// A request names exactly one scramble: `given` is how many sources it named.
void checkOneScramble(int given, Spelling spelling);

}  // namespace cubega
