#include "cli/batch_line.hpp"

#include <limits>

#include <nlohmann/json.hpp>

#include "cube/facelets.hpp"
#include "cube/notation.hpp"

namespace cubega {

namespace {

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

BatchLine movesTask(std::string_view text, SolveTask task) {
    const ParsedMoves parsed = parseStandardMoves(text);
    if (parsed.error) {
        return LineError{describeNotationError(*parsed.error, "the scramble")};
    }
    if (parsed.moves.size() > static_cast<std::size_t>(kMaxScrambleMoves)) {
        return LineError{"a scramble can have at most 10000 moves"};
    }
    task.source = SolveTask::Source::moves;
    task.moves = parsed.moves;
    return task;
}

BatchLine faceletTask(const std::string& text, SolveTask task) {
    const FaceletCube cube = cubeFromFaceletText(text);
    if (cube.error) {
        return LineError{"the facelets: " + *cube.error};
    }
    task.source = SolveTask::Source::facelets;
    task.facelets = text;
    task.faceletCube = cube.cube;
    return task;
}

BatchLine objectTask(std::string_view line, SolveTask task) {
    const nlohmann::json object = nlohmann::json::parse(line, nullptr, false);
    if (object.is_discarded() || !object.is_object()) {
        return LineError{"the line is neither moves nor a JSON object"};
    }
    for (const auto& [key, value] : object.items()) {
        if (key != "scramble" && key != "facelets" && key != "generations" && key != "seed") {
            return LineError{"unknown key \"" + key +
                             "\" (scramble or facelets, generations, seed)"};
        }
    }
    if (object.contains("generations")) {
        const nlohmann::json& value = object["generations"];
        if (!value.is_number_integer()) {
            return LineError{"\"generations\" must be a whole number"};
        }
        const auto generations = value.get<std::int64_t>();
        if (auto error = generationsError(generations)) {
            return LineError{*error};
        }
        task.generations = static_cast<std::int32_t>(generations);
    }
    if (object.contains("seed")) {
        const nlohmann::json& value = object["seed"];
        if (!value.is_number_integer() || value.get<std::int64_t>() < 0 ||
            value.get<std::int64_t>() > std::numeric_limits<std::uint32_t>::max()) {
            return LineError{"\"seed\" must be a whole number from 0 to 4294967295"};
        }
        task.seed = value.get<std::uint32_t>();
    }
    const bool hasScramble = object.contains("scramble");
    if (hasScramble == object.contains("facelets")) {
        return LineError{"give one of \"scramble\" and \"facelets\""};
    }
    const nlohmann::json& text = object[hasScramble ? "scramble" : "facelets"];
    if (!text.is_string()) {
        return LineError{std::string("\"") + (hasScramble ? "scramble" : "facelets") +
                         "\" must be a string"};
    }
    return hasScramble ? movesTask(text.get<std::string>(), task)
                       : faceletTask(text.get<std::string>(), task);
}

}  // namespace

std::optional<std::string> generationsError(std::int64_t generations) {
    if (generations < 1 || generations > std::numeric_limits<std::int32_t>::max()) {
        return "the number of generations must be at least 1 (and at most 2147483647)";
    }
    return std::nullopt;
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
    return text.front() == '{' ? objectTask(text, task) : movesTask(text, task);
}

}  // namespace cubega
