#include "request/request_rules.hpp"

#include <algorithm>
#include <limits>

#include "cube/facelets.hpp"
#include "request/solve_task.hpp"
#include "run/run_error.hpp"
#include "run/scramble.hpp"

namespace cubega {

namespace {

// The immigrants stay below the population; every other field has its table's range.
std::int64_t wholeMaximumOf(const RequestField& field, const SolveTask& task) {
    return field.defaultFollowsOthers() ? task.settings.params.populationSize - 1
                                        : field.wholeMaximum;
}

bool inRange(const RequestField& field, const FieldValue& value, const SolveTask& task) {
    switch (field.kind) {
        case FieldKind::wholeNumber: {
            const std::int64_t whole = std::get<std::int64_t>(value);
            return whole >= field.wholeMinimum && whole <= wholeMaximumOf(field, task);
        }
        case FieldKind::realNumber: {
            const double real = std::get<double>(value);
            const bool aboveMinimum =
                field.minimumAllowed ? real >= field.realMinimum : real > field.realMinimum;
            return aboveMinimum && real <= field.realMaximum;  // NaN fails too
        }
        case FieldKind::flag:
        case FieldKind::text:
            break;
    }
    return true;
}

// The logbook keeps one try, and its every-K-th needs it.
void checkLogbook(const SolveTask& task, const RequestValues& values, Spelling spelling) {
    const RequestField& log = requestField(FieldId::log);
    const RequestField& every = requestField(FieldId::logEvery);
    if (values.has(FieldId::logEvery) && !task.keepLogbook) {
        throw UsageError(every.nameIn(spelling) + " needs " + log.nameIn(spelling) +
                             (spelling == Spelling::option    ? " FILE"
                              : spelling == Spelling::keyword ? "=True"
                                                              : ""),
                         std::string(every.key));
    }
    if (task.keepLogbook && task.tries > 1) {
        const RequestField& tries = requestField(FieldId::tries);
        const std::string one = spelling == Spelling::option    ? " 1"
                                : spelling == Spelling::keyword ? "=1"
                                                                : ": 1";
        throw UsageError(
            "the logbook keeps one try: give " + tries.nameIn(spelling) + one + " (or none)",
            std::string(tries.key));
    }
}

}  // namespace

RequestValues RequestValues::overlaidWith(const RequestValues& over) const {
    RequestValues merged = *this;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (!std::holds_alternative<std::monostate>(over.values_[i])) {
            merged.values_[i] = over.values_[i];
        }
    }
    return merged;
}

int RequestValues::scrambleSources() const {
    int given = 0;
    for (const RequestField& field : requestFields()) {
        given += field.group == FieldGroup::scramble && has(field.id) ? 1 : 0;
    }
    return given;
}

std::int64_t checkedWholeNumber(const WholeNumberRule& rule, std::int64_t value) {
    if (value < rule.minimum || value > rule.maximum) {
        throw UsageError(std::string(rule.name) + " must be a whole number from " +
                         std::to_string(rule.minimum) + " to " + std::to_string(rule.maximum));
    }
    return value;
}

std::string fieldMessage(const RequestField& field, Spelling spelling, const SolveTask& task) {
    const std::string name = field.nameIn(spelling);
    switch (field.kind) {
        case FieldKind::wholeNumber:
            return name + " must be a whole number from " + std::to_string(field.wholeMinimum) +
                   " to " + std::to_string(wholeMaximumOf(field, task));
        case FieldKind::realNumber:
            return field.minimumAllowed
                       ? name + " must be a number from " + boundText(field.realMinimum) + " to " +
                             boundText(field.realMaximum)
                       : name + " must be a number above " + boundText(field.realMinimum) +
                             " and at most " + boundText(field.realMaximum);
        case FieldKind::flag:
            return name + " must be true or false";
        case FieldKind::text:
            break;
    }
    return name + " must be a string";
}

void refuse(const RequestField& field, Spelling spelling, const SolveTask& task) {
    throw UsageError(fieldMessage(field, spelling, task), std::string(field.key));
}

void applyValues(SolveTask& task, const RequestValues& values, Spelling spelling) {
    for (const RequestField& field : requestFields()) {
        const FieldValue& value = values[field.id];
        if (std::holds_alternative<std::monostate>(value)) {
            continue;
        }
        if (!inRange(field, value, task)) {
            refuse(field, spelling, task);
        }
        try {
            field.setIn(task, value);
        } catch (UsageError& error) {  // a scramble's or facelets' own rule: name the field
            throw UsageError(error.what(), std::string(field.key));
        }
    }
    SearchParams& params = task.settings.params;
    if (!values.has(FieldId::immigrants)) {
        params.immigrantCount = std::min(params.immigrantCount, params.populationSize - 1);
    }
    checkLogbook(task, values, spelling);
}

void checkOneScramble(int given, Spelling spelling) {
    if (given == 1) {
        return;
    }
    const std::string sources =
        spelling == Spelling::option    ? "moves, --scramble, --random N, --default or --facelets"
        : spelling == Spelling::keyword ? "scramble, facelets or random"
                                        : "\"scramble\", \"facelets\" or \"random\"";
    throw UsageError(
        std::string(given == 0 ? "give a scramble" : "give one scramble only") + ": " + sources,
        "scramble");
}

FieldValue fieldValueOfJson(const RequestField& field, const nlohmann::json& value,
                            Spelling spelling) {
    const SolveTask defaults;
    switch (field.kind) {
        case FieldKind::wholeNumber:
            if (!value.is_number_integer()) {
                refuse(field, spelling, defaults);
            }
            // A number beyond 64 bits is read as unsigned: it stays above every range.
            if (value.is_number_unsigned() &&
                value.get<std::uint64_t>() >
                    static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
                return std::numeric_limits<std::int64_t>::max();
            }
            return value.get<std::int64_t>();
        case FieldKind::realNumber:
            if (!value.is_number()) {
                refuse(field, spelling, defaults);
            }
            return value.get<double>();
        case FieldKind::flag:
            if (!value.is_boolean()) {
                refuse(field, spelling, defaults);
            }
            return value.get<bool>();
        case FieldKind::text:
            break;
    }
    if (!value.is_string()) {
        refuse(field, spelling, defaults);
    }
    return value.get<std::string>();
}

MoveText checkedMoveText(std::string_view text) {
    MoveText read = readMoveText(text, static_cast<std::size_t>(kMaxScrambleLength));
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

}  // namespace cubega
