#include "request/request_rules.hpp"

#include <algorithm>
#include <cstdio>

#include "cube/facelets.hpp"
#include "run/run_error.hpp"

namespace cubega {

std::string keywordOf(std::string_view key) {
    std::string keyword;
    for (const char c : key) {
        if (c >= 'A' && c <= 'Z') {
            keyword += '_';
            keyword += static_cast<char>(c - 'A' + 'a');
        } else {
            keyword += c;
        }
    }
    return keyword;
}

std::string RequestField::nameIn(Spelling spelling) const {
    if (spelling == Spelling::option) {
        return std::string(option);
    }
    if (spelling == Spelling::keyword) {
        return keywordOf(key);
    }
    std::string quoted(1, '"');
    quoted.append(key).push_back('"');
    return quoted;
}

std::string wholeNumberMessage(const WholeNumberRule& rule, Spelling spelling) {
    return rule.field.nameIn(spelling) + " must be a whole number from " +
           std::to_string(rule.minimum) + " to " + std::to_string(rule.maximum);
}

std::int64_t checkedWholeNumber(const WholeNumberRule& rule, std::int64_t value,
                                Spelling spelling) {
    if (value < rule.minimum || value > rule.maximum) {
        throw UsageError(wholeNumberMessage(rule, spelling));
    }
    return value;
}

namespace {

// A bound as the messages write it: 0, 0.5, 1000000000.
std::string numberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

std::int32_t checkedRunGenerations(const WholeNumberRule& rule,
                                   const std::optional<std::int64_t>& value, std::int32_t otherwise,
                                   Spelling spelling) {
    return value ? static_cast<std::int32_t>(checkedWholeNumber(rule, *value, spelling))
                 : otherwise;
}

float checkedRate(const RealNumberRule& rule, const std::optional<double>& value, float otherwise,
                  Spelling spelling) {
    return value ? static_cast<float>(checkedRealNumber(rule, *value, spelling)) : otherwise;
}

}  // namespace

std::string realNumberMessage(const RealNumberRule& rule, Spelling spelling) {
    if (!rule.minimumAllowed) {
        return rule.field.nameIn(spelling) + " must be a number above " + numberText(rule.minimum) +
               " and at most " + numberText(rule.maximum);
    }
    return rule.field.nameIn(spelling) + " must be a number from " + numberText(rule.minimum) +
           " to " + numberText(rule.maximum);
}

double checkedRealNumber(const RealNumberRule& rule, double value, Spelling spelling) {
    const bool aboveMinimum = rule.minimumAllowed ? value >= rule.minimum : value > rule.minimum;
    if (!(aboveMinimum && value <= rule.maximum)) {  // NaN fails too
        throw UsageError(realNumberMessage(rule, spelling));
    }
    return value;
}

SearchValues SearchValues::overlaidWith(const SearchValues& over) const {
    SearchValues merged = *this;
    const auto take = [](auto& mine, const auto& theirs) {
        if (theirs) {
            mine = theirs;
        }
    };
    take(merged.population, over.population);
    take(merged.length, over.length);
    take(merged.immigrants, over.immigrants);
    take(merged.mutationRate, over.mutationRate);
    take(merged.crossoverRate, over.crossoverRate);
    take(merged.selectionPressure, over.selectionPressure);
    take(merged.generations, over.generations);
    take(merged.entryGenerations, over.entryGenerations);
    take(merged.finishGenerations, over.finishGenerations);
    take(merged.stopAtGoal, over.stopAtGoal);
    take(merged.maxGenerations, over.maxGenerations);
    take(merged.timeLimit, over.timeLimit);
    take(merged.tries, over.tries);
    take(merged.first, over.first);
    return merged;
}

CheckedSearch checkedSearch(const SearchValues& values, Spelling spelling) {
    CheckedSearch checked;
    SearchSettings& settings = checked.settings;
    SearchParams& params = settings.params;
    if (values.population) {
        params.populationSize = static_cast<std::int32_t>(
            checkedWholeNumber(kPopulationRule, *values.population, spelling));
    }
    if (values.length) {
        params.sequenceLength =
            static_cast<std::int32_t>(checkedWholeNumber(kLengthRule, *values.length, spelling));
    }
    const WholeNumberRule immigrants{kImmigrantsField, 0, params.populationSize - 1};
    params.immigrantCount = values.immigrants
                                ? static_cast<std::int32_t>(
                                      checkedWholeNumber(immigrants, *values.immigrants, spelling))
                                : std::min(params.immigrantCount, params.populationSize - 1);
    params.mutationRate =
        checkedRate(kMutationRateRule, values.mutationRate, params.mutationRate, spelling);
    params.crossoverRate =
        checkedRate(kCrossoverRateRule, values.crossoverRate, params.crossoverRate, spelling);
    params.selectionPressure = checkedRate(kSelectionPressureRule, values.selectionPressure,
                                           params.selectionPressure, spelling);
    settings.blockGenerations = checkedRunGenerations(kGenerationsRule, values.generations,
                                                      settings.blockGenerations, spelling);
    settings.entryGenerations = checkedRunGenerations(
        kEntryGenerationsRule, values.entryGenerations, settings.entryGenerations, spelling);
    settings.finishGenerations = checkedRunGenerations(
        kFinishGenerationsRule, values.finishGenerations, settings.finishGenerations, spelling);
    settings.stopAtGoal = values.stopAtGoal.value_or(false);
    if (values.maxGenerations) {
        checked.budget.maxGenerations =
            checkedWholeNumber(kMaxGenerationsRule, *values.maxGenerations, spelling);
    }
    if (values.timeLimit) {
        checked.budget.timeLimitSeconds =
            checkedRealNumber(kTimeLimitRule, *values.timeLimit, spelling);
    }
    if (values.tries) {
        checked.tries =
            static_cast<std::int32_t>(checkedWholeNumber(kTriesRule, *values.tries, spelling));
    }
    checked.first = values.first.value_or(false);
    return checked;
}

MoveText checkedMoveText(std::string_view text) {
    MoveText read = readMoveText(text, static_cast<std::size_t>(kMaxScrambleMoves));
    if (read.error) {
        throw UsageError(describeMoveTextError(*read.error, "the scramble"));
    }
    return read;
}

std::vector<MoveCode> checkedScramble(std::string_view text) {
    return checkedMoveText(text).moves;
}

CubeState checkedFacelets(std::string_view text) {
    const FaceletCube cube = cubeFromFaceletText(text);
    if (cube.error) {
        throw UsageError("the facelets: " + *cube.error);
    }
    return cube.cube;
}

void checkOneScramble(int given, Spelling spelling) {
    if (given == 1) {
        return;
    }
    const std::string sources =
        spelling == Spelling::option    ? "moves, --scramble, --random N, --default or --facelets"
        : spelling == Spelling::keyword ? "scramble, facelets or random"
                                        : "\"scramble\", \"facelets\" or \"random\"";
    throw UsageError(std::string(given == 0 ? "give a scramble" : "give one scramble only") + ": " +
                     sources);
}

}  // namespace cubega
