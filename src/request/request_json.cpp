#include "request/request_json.hpp"

#include <array>

#include "request/request_rules.hpp"
#include "run/run_error.hpp"

namespace cubega {

namespace {

constexpr std::array<std::string_view, 5> kKeys{"scramble", "facelets", "random", "generations",
                                                "seed"};

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

std::int64_t integerOf(const nlohmann::json& value, const WholeNumberRule& rule) {
    if (!value.is_number_integer()) {
        throw UsageError(wholeNumberMessage(rule, Spelling::key));
    }
    // A number beyond 64 bits is read as unsigned: clamp it above every range.
    if (value.is_number_unsigned() && value.get<std::uint64_t>() > INT64_MAX) {
        return checkedWholeNumber(rule, INT64_MAX, Spelling::key);
    }
    return checkedWholeNumber(rule, value.get<std::int64_t>(), Spelling::key);
}

std::string textOf(const nlohmann::json& value, std::string_view key) {
    if (!value.is_string()) {
        throw UsageError("\"" + std::string(key) + "\" must be a string");
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
            throw UsageError("unknown key \"" + key +
                             "\" (scramble, facelets or random, generations, seed)");
        }
    }
}

}  // namespace

SolveTask taskFromJson(const nlohmann::json& object, SolveTask task) {
    if (!object.is_object()) {
        throw UsageError("the request is not a JSON object");
    }
    checkKeys(object);
    if (object.contains("generations")) {
        task.generations =
            static_cast<std::int32_t>(integerOf(object.at("generations"), kGenerationsRule));
    }
    if (object.contains("seed")) {
        task.seed = static_cast<std::uint32_t>(integerOf(object.at("seed"), kSeedRule));
    }
    checkOneScramble(static_cast<int>(object.contains("scramble") + object.contains("facelets") +
                                      object.contains("random")),
                     Spelling::key);
    if (object.contains("scramble")) {
        task.source = SolveTask::Source::moves;
        task.moves = checkedScramble(textOf(object.at("scramble"), "scramble"));
    } else if (object.contains("facelets")) {
        task.source = SolveTask::Source::facelets;
        task.facelets = textOf(object.at("facelets"), "facelets");
        task.faceletCube = checkedFacelets(task.facelets);
    } else {
        task.source = SolveTask::Source::random;
        task.randomLength =
            static_cast<std::int32_t>(integerOf(object.at("random"), kRandomLengthRule));
    }
    return task;
}

SolveTask taskFromJsonText(std::string_view text, SolveTask task) {
    const nlohmann::json object = nlohmann::json::parse(text, nullptr, false);
    if (object.is_discarded() || !object.is_object()) {
        throw UsageError("the line is neither moves nor a JSON object");
    }
    return taskFromJson(object, std::move(task));
}

BatchLine parseBatchLine(std::string_view line, std::size_t lineNumber,
                         const BatchDefaults& defaults) {
    const std::string_view text = trimmed(line);
    if (text.empty() || text.front() == '#') {
        return NoTask{};
    }
    SolveTask task;
    task.generations = defaults.generations;
    if (defaults.seed) {
        task.seed = static_cast<std::uint32_t>(*defaults.seed + lineNumber);  // wraps past 2^32
    }
    const RunEnd end = runGuarded([&] {
        if (text.front() == '{') {
            task = taskFromJsonText(text, task);
        } else {
            task.source = SolveTask::Source::moves;
            task.moves = checkedScramble(text);
        }
    });
    if (end.status != kStatusDone) {
        return LineError{end.message};
    }
    return task;
}

}  // namespace cubega
