#include "request/request_json.hpp"

#include <array>

#include "request/request_rules.hpp"
#include "run/run_error.hpp"

namespace cubega {

namespace {

// clang-format off
constexpr std::array<std::string_view, 18> kKeys{
    "scramble", "facelets", "random", "generations", "seed", "population", "length",
    "immigrants", "mutationRate", "crossoverRate", "selectionPressure", "entryGenerations",
    "finishGenerations", "stopAtGoal", "maxGenerations", "timeLimit", "tries", "first"};
// clang-format on

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::int64_t integerOf(const nlohmann::json& value, const WholeNumberRule& rule,
                       Spelling spelling) {
    if (!value.is_number_integer()) {
        throw UsageError(wholeNumberMessage(rule, spelling));
    }
    // A number beyond 64 bits is read as unsigned: clamp it above every range.
    if (value.is_number_unsigned() && value.get<std::uint64_t>() > INT64_MAX) {
        return checkedWholeNumber(rule, INT64_MAX, spelling);
    }
    return checkedWholeNumber(rule, value.get<std::int64_t>(), spelling);
}

// The value of a key that has a range, unchecked but for its type: a whole number for a whole
// number's rule, any number for a real one; else the rule's message.
std::optional<std::int64_t> wholeNumberAt(const nlohmann::json& object, const WholeNumberRule& rule,
                                          Spelling spelling) {
    if (!object.contains(rule.field.key)) {
        return std::nullopt;
    }
    const nlohmann::json& value = object.at(rule.field.key);
    if (!value.is_number_integer()) {
        throw UsageError(wholeNumberMessage(rule, spelling));
    }
    if (value.is_number_unsigned() && value.get<std::uint64_t>() > INT64_MAX) {
        return INT64_MAX;  // above every range
    }
    return value.get<std::int64_t>();
}

std::optional<double> realNumberAt(const nlohmann::json& object, const RealNumberRule& rule,
                                   Spelling spelling) {
    if (!object.contains(rule.field.key)) {
        return std::nullopt;
    }
    const nlohmann::json& value = object.at(rule.field.key);
    if (!value.is_number()) {
        throw UsageError(realNumberMessage(rule, spelling));
    }
    return value.get<double>();
}

std::optional<bool> booleanAt(const nlohmann::json& object, const RequestField& field,
                              Spelling spelling) {
    if (!object.contains(field.key)) {
        return std::nullopt;
    }
    const nlohmann::json& value = object.at(field.key);
    if (!value.is_boolean()) {
        throw UsageError(field.nameIn(spelling) + " must be true or false");
    }
    return value.get<bool>();
}

SearchValues searchValuesOf(const nlohmann::json& object, Spelling spelling) {
    SearchValues values;
    values.population = wholeNumberAt(object, kPopulationRule, spelling);
    values.length = wholeNumberAt(object, kLengthRule, spelling);
    values.immigrants =
        wholeNumberAt(object, {kImmigrantsField, 0, kMaxPopulationSize - 1}, spelling);
    values.mutationRate = realNumberAt(object, kMutationRateRule, spelling);
    values.crossoverRate = realNumberAt(object, kCrossoverRateRule, spelling);
    values.selectionPressure = realNumberAt(object, kSelectionPressureRule, spelling);
    values.generations = wholeNumberAt(object, kGenerationsRule, spelling);
    values.entryGenerations = wholeNumberAt(object, kEntryGenerationsRule, spelling);
    values.finishGenerations = wholeNumberAt(object, kFinishGenerationsRule, spelling);
    values.stopAtGoal = booleanAt(object, kStopAtGoalField, spelling);
    values.maxGenerations = wholeNumberAt(object, kMaxGenerationsRule, spelling);
    values.timeLimit = realNumberAt(object, kTimeLimitRule, spelling);
    values.tries = wholeNumberAt(object, kTriesRule, spelling);
    values.first = booleanAt(object, kFirstField, spelling);
    return values;
}

std::string textOf(const nlohmann::json& value, const RequestField& field, Spelling spelling) {
    if (!value.is_string()) {
        throw UsageError(field.nameIn(spelling) + " must be a string");
    }
    return value.get<std::string>();
}

void checkKeys(const nlohmann::json& object) {
    for (const auto& [key, value] : object.items()) {
        bool known = false;
        for (const std::string_view k : kKeys) {
            known = known || key == k;
        }
        if (!known) {
            std::string keys;
            for (const std::string_view k : kKeys) {
                keys.append(keys.empty() ? "" : ", ").append(k);
            }
            std::string message = "unknown key \"";
            message.append(key).append("\" (the keys are ").append(keys).append(")");
            throw UsageError(message);
        }
    }
}

}  // namespace

std::span<const std::string_view> requestKeys() {
    return kKeys;
}

SolveTask taskFromJson(const nlohmann::json& object, const TaskDefaults& defaults,
                       Spelling spelling) {
    if (!object.is_object()) {
        throw UsageError("the request is not a JSON object");
    }
    checkKeys(object);
    SolveTask task;
    setSearchValues(task, defaults.search.overlaidWith(searchValuesOf(object, spelling)), spelling);
    task.seed = defaults.seed;
    if (object.contains("seed")) {
        task.seed = static_cast<std::uint32_t>(integerOf(object.at("seed"), kSeedRule, spelling));
    }
    checkOneScramble(static_cast<int>(object.contains("scramble") + object.contains("facelets") +
                                      object.contains("random")),
                     spelling);
    if (object.contains("scramble")) {
        setScrambleText(task, textOf(object.at("scramble"), kScrambleField, spelling));
    } else if (object.contains("facelets")) {
        task.source = SolveTask::Source::facelets;
        task.facelets = textOf(object.at("facelets"), kFaceletsField, spelling);
        task.faceletCube = checkedFacelets(task.facelets);
    } else {
        task.source = SolveTask::Source::random;
        task.randomLength =
            static_cast<std::int32_t>(integerOf(object.at("random"), kRandomLengthRule, spelling));
    }
    return task;
}

SolveTask taskFromJsonText(std::string_view text, const TaskDefaults& defaults) {
    const nlohmann::json object = nlohmann::json::parse(text, nullptr, false);
    if (object.is_discarded() || !object.is_object()) {
        throw UsageError("the line is neither moves nor a JSON object");
    }
    return taskFromJson(object, defaults);
}

BatchLine parseBatchLine(std::string_view line, std::size_t lineNumber,
                         const BatchDefaults& defaults) {
    const std::string_view text = trimmed(line);
    if (text.empty() || text.front() == '#') {
        return NoTask{};
    }
    TaskDefaults lineDefaults = defaults;
    if (defaults.seed) {
        lineDefaults.seed = static_cast<std::uint32_t>(*defaults.seed + lineNumber);  // wraps
    }
    SolveTask task;
    const RunEnd end = runGuarded([&] {
        if (text.front() == '{') {
            task = taskFromJsonText(text, lineDefaults);
        } else {
            setSearchValues(task, lineDefaults.search, Spelling::key);
            task.seed = lineDefaults.seed;
            setScrambleText(task, text);
        }
    });
    if (end.status != kStatusDone) {
        return LineError{end.message};
    }
    return task;
}

}  // namespace cubega
