#include "request/request_json.hpp"

#include "run/run_error.hpp"

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

unsigned useOf(Spelling spelling) {
    return spelling == Spelling::keyword ? kInPython : kInJson;
}

[[noreturn]] void refuseKey(const std::string& key, Spelling spelling) {
    if (spelling == Spelling::keyword) {  // as Python refuses an unknown keyword
        throw UsageError("solve() got an unexpected keyword argument '" + key + "'");
    }
    std::string keys;
    for (const RequestField& field : requestFields()) {
        if ((field.use & kInJson) != 0) {
            keys.append(keys.empty() ? "" : ", ").append(field.key);
        }
    }
    throw UsageError("unknown key \"" + key + "\" (the keys are " + keys + ")");
}

}  // namespace

RequestValues valuesOfJson(const nlohmann::json& object, Spelling spelling) {
    if (!object.is_object()) {
        throw UsageError("the request is not a JSON object");
    }
    for (const auto& [key, value] : object.items()) {
        const RequestField* field = fieldOfKey(key);
        if (field == nullptr || (field->use & useOf(spelling)) == 0) {
            refuseKey(spelling == Spelling::keyword ? keywordOf(key) : key, spelling);
        }
    }
    RequestValues values;
    for (const RequestField& field : requestFields()) {
        if (object.contains(field.key)) {
            values.set(field.id, fieldValueOfJson(field, object.at(field.key), spelling));
        }
    }
    return values;
}

SolveTask taskFromJson(const nlohmann::json& object, const RequestValues& defaults,
                       Spelling spelling) {
    const RequestValues given = valuesOfJson(object, spelling);
    checkOneScramble(given.scrambleSources(), spelling);
    SolveTask task;
    applyValues(task, defaults.overlaidWith(given), spelling);
    return task;
}

SolveTask taskFromJsonText(std::string_view text, const RequestValues& defaults) {
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
    RequestValues lineDefaults = defaults.values;
    if (defaults.seed) {
        const auto seed = static_cast<std::uint32_t>(*defaults.seed + lineNumber);  // wraps
        lineDefaults.set(FieldId::seed, std::int64_t{seed});
    }
    SolveTask task;
    const RunEnd end = runGuarded([&] {
        if (text.front() == '{') {
            task = taskFromJsonText(text, lineDefaults);
        } else {
            lineDefaults.set(FieldId::scramble, std::string(text));
            applyValues(task, lineDefaults, Spelling::key);
        }
    });
    if (end.status != kStatusDone) {
        return LineError{end.message};
    }
    return task;
}

}  // namespace cubega
