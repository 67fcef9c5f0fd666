#include "cli/batch_records.hpp"

#include <array>

#include "request/result_json.hpp"

namespace cubega {

namespace {

// The keys of a request's echo that a record holds only when its line asks for them.
constexpr std::array<const char*, 4> kKeysAskedFor{"scramble", "notation", "facelets", "seed"};

std::string differenceAt(const std::string& key, const nlohmann::json& record,
                         const nlohmann::json& asked) {
    if (!record.contains(key)) {
        return "the record has no " + key + ", the line asks " + asked.dump();
    }
    return "the record's " + key + " is " + record.at(key).dump() + ", the line asks " +
           asked.dump();
}

// The first key of `asked` whose value the record does not hold; the parameters are compared
// one by one, to name the one that differs.
std::optional<std::string> differenceIn(const nlohmann::json& record, const nlohmann::json& asked,
                                        bool comparesScramble) {
    for (const auto& [key, value] : asked.items()) {
        if ((key == "scramble" && !comparesScramble && record.contains(key)) ||
            (record.contains(key) && record.at(key) == value)) {
            continue;
        }
        if (key == "parameters" && record.contains(key) && record.at(key).is_object()) {
            if (auto difference = differenceIn(record.at(key), value, true)) {
                return difference;
            }
        }
        return differenceAt(key, record, value);
    }
    return std::nullopt;
}

}  // namespace

std::vector<TextLine> completeLines(std::string_view text) {
    std::vector<TextLine> lines;
    std::size_t start = 0;
    for (std::size_t at = text.find('\n'); at != std::string_view::npos;
         at = text.find('\n', start)) {
        lines.push_back({text.substr(start, at - start), at + 1});
        start = at + 1;
    }
    return lines;
}

nlohmann::json parsedLine(std::string_view text) {
    return nlohmann::json::parse(text, nullptr, false);
}

std::optional<std::size_t> lineOfRecord(const nlohmann::json& json) {
    if (json.is_discarded() || !json.is_object() || !json.contains("line") ||
        !json["line"].is_number_unsigned()) {
        return std::nullopt;
    }
    return json["line"].get<std::size_t>();
}

std::optional<std::size_t> lineOfCsvRow(std::string_view text) {
    const std::string field(text.substr(0, text.find(',')));
    if (field.empty() || field.find_first_not_of("0123456789") != std::string::npos ||
        field.size() > 18) {
        return std::nullopt;
    }
    return std::stoull(field);
}

ExpectedRecord expectedRecordOf(std::string_view line, std::size_t number,
                                const BatchDefaults& defaults) {
    const BatchLine parsed = parseBatchLine(line, number, defaults);
    if (const auto* error = std::get_if<LineError>(&parsed)) {
        return {errorJson(error->message, number), true};
    }
    if (std::holds_alternative<NoTask>(parsed)) {
        return {nullptr, true};
    }
    const SolveTask& task = std::get<SolveTask>(parsed);
    const std::optional<TaskScramble> scramble = reproducibleScrambleOf(task);
    return {requestJson(task, scramble.value_or(TaskScramble{}), number), scramble.has_value()};
}

std::optional<std::string> recordMismatch(const nlohmann::json& record,
                                          const ExpectedRecord& expected) {
    const nlohmann::ordered_json& asked = expected.request;
    if (asked.is_null()) {
        return "the line holds no task";
    }
    if (!record.is_object()) {
        return "the record is not a JSON object";
    }
    if (record.contains("error") && !asked.contains("error")) {
        return "the record is the error " + record.at("error").dump() + ", the line asks a solve";
    }
    if (asked.contains("error") && !record.contains("error")) {
        return "the record is a solve, the line is refused: " + asked.at("error").dump();
    }
    if (auto difference = differenceIn(record, nlohmann::json(asked), expected.comparesScramble)) {
        return difference;
    }
    for (const char* key : kKeysAskedFor) {
        if (record.contains(key) && !asked.contains(key)) {
            return std::string("the record's ") + key + " is " + record.at(key).dump() +
                   ", the line asks none";
        }
    }
    return std::nullopt;
}

}  // namespace cubega
