#include "request/request_fields.hpp"

#include <cstdio>
#include <cstdlib>
#include <limits>

#include "request/request_rules.hpp"
#include "request/solve_task.hpp"
#include "run/scramble.hpp"

namespace cubega {

namespace {

constexpr std::int64_t kMaxRunGenerations = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kMaxSolveGenerations = std::numeric_limits<std::int64_t>::max();

std::int64_t whole(const FieldValue& value) {
    return std::get<std::int64_t>(value);
}
std::int32_t whole32(const FieldValue& value) {
    return static_cast<std::int32_t>(std::get<std::int64_t>(value));
}
double real(const FieldValue& value) {
    return std::get<double>(value);
}
bool flag(const FieldValue& value) {
    return std::get<bool>(value);
}
const std::string& text(const FieldValue& value) {
    return std::get<std::string>(value);
}

// The table's rows by kind; the lambdas say where each value lives in a task.
constexpr RequestField wholeField(FieldId id, std::string_view key, std::string_view option,
                                  FieldGroup group, unsigned use, std::string_view valueName,
                                  std::int64_t minimum, std::int64_t maximum, std::string_view unit,
                                  std::string_view help, FieldValue (*valueIn)(const SolveTask&),
                                  void (*setIn)(SolveTask&, const FieldValue&)) {
    return {id,      key,  option,    "",      FieldKind::wholeNumber,
            group,   use,  valueName, minimum, maximum,
            0,       0,    true,      unit,    help,
            valueIn, setIn};
}

constexpr RequestField realField(FieldId id, std::string_view key, std::string_view option,
                                 FieldGroup group, std::string_view valueName, double minimum,
                                 double maximum, bool minimumAllowed, std::string_view unit,
                                 std::string_view help, FieldValue (*valueIn)(const SolveTask&),
                                 void (*setIn)(SolveTask&, const FieldValue&)) {
    return {id,
            key,
            option,
            "",
            FieldKind::realNumber,
            group,
            kInJson | kInPython,
            valueName,
            0,
            0,
            minimum,
            maximum,
            minimumAllowed,
            unit,
            help,
            valueIn,
            setIn};
}

constexpr RequestField flagField(FieldId id, std::string_view key, std::string_view option,
                                 FieldGroup group, unsigned use, std::string_view help,
                                 FieldValue (*valueIn)(const SolveTask&),
                                 void (*setIn)(SolveTask&, const FieldValue&)) {
    return {id, key,  option, "",   FieldKind::flag, group, use, "", 0, 0, 0,
            0,  true, "",     help, valueIn,         setIn};
}

constexpr RequestField textField(FieldId id, std::string_view key, std::string_view option,
                                 std::string_view valueName, std::string_view help,
                                 FieldValue (*valueIn)(const SolveTask&),
                                 void (*setIn)(SolveTask&, const FieldValue&)) {
    return {id,
            key,
            option,
            "",
            FieldKind::text,
            FieldGroup::scramble,
            kInJson | kInPython,
            valueName,
            0,
            0,
            0,
            0,
            true,
            "",
            help,
            valueIn,
            setIn};
}

constexpr unsigned kEverywhere = kInJson | kInPython;

constexpr RequestField withShortOption(RequestField field, std::string_view shortOption) {
    field.shortOption = shortOption;
    return field;
}

FieldValue none(const SolveTask&) {
    return {};
}

// clang-format off
const std::array<RequestField, kFieldCount> kFields{{
    textField(FieldId::scramble, "scramble", "--scramble", "MOVES",
        "the scramble in standard notation, \"R U2 F'\"",
        none,
        [](SolveTask& task, const FieldValue& value) { setScrambleText(task, text(value)); }),
    textField(FieldId::facelets, "facelets", "--facelets", "STATE",
        "the cube's 54 facelets, faces U R F D L B, e.g. UUUUUUUUURRR...",
        none,
        [](SolveTask& task, const FieldValue& value) {
            task.faceletCube = checkedFacelets(text(value));
            task.source = SolveTask::Source::facelets;
            task.facelets = text(value);
        }),
    wholeField(FieldId::random, "random", "--random", FieldGroup::scramble, kEverywhere, "N",
        1, kMaxScrambleLength, "moves", "a random scramble of N moves",
        none,
        [](SolveTask& task, const FieldValue& value) {
            task.source = SolveTask::Source::random;
            task.randomLength = whole32(value);
        }),
    wholeField(FieldId::seed, "seed", "--seed", FieldGroup::seed, kEverywhere, "S",
        0, std::numeric_limits<std::uint32_t>::max(), "",
        "clocks frozen at (0 ms, S s): the same run every time, on every processor",
        [](const SolveTask& task) {
            return task.seed ? FieldValue(std::int64_t{*task.seed}) : FieldValue();
        },
        [](SolveTask& task, const FieldValue& value) {
            task.seed = static_cast<std::uint32_t>(whole(value));
        }),
    wholeField(FieldId::population, "population", "--population", FieldGroup::search,
        kEverywhere, "N", kMinPopulationSize, kMaxPopulationSize, "sequences",
        "rows of every population, N",
        [](const SolveTask& task) {
            return FieldValue(std::int64_t{task.settings.params.populationSize});
        },
        [](SolveTask& task, const FieldValue& value) {
            task.settings.params.populationSize = whole32(value);
        }),
    wholeField(FieldId::length, "length", "--length", FieldGroup::search, kEverywhere, "L",
        kMinSequenceLength, kMaxSequenceLength, "moves", "moves of every sequence, L",
        [](const SolveTask& task) {
            return FieldValue(std::int64_t{task.settings.params.sequenceLength});
        },
        [](SolveTask& task, const FieldValue& value) {
            task.settings.params.sequenceLength = whole32(value);
        }),
    wholeField(FieldId::immigrants, "immigrants", "--immigrants", FieldGroup::search,
        kEverywhere, "K", 0, kMaxPopulationSize - 1, "sequences",
        "worst rows replaced by random ones each generation, K",
        [](const SolveTask& task) {
            return FieldValue(std::int64_t{task.settings.params.immigrantCount});
        },
        [](SolveTask& task, const FieldValue& value) {
            task.settings.params.immigrantCount = whole32(value);
        }),
    realField(FieldId::mutationRate, "mutationRate", "--mutation-rate", FieldGroup::search, "P",
        0, 1, true, "", "chance per move of a random reset, pm",
        [](const SolveTask& task) {
            return FieldValue(shortestDecimal(task.settings.params.mutationRate));
        },
        [](SolveTask& task, const FieldValue& value) {
            task.settings.params.mutationRate = static_cast<float>(real(value));
        }),
    realField(FieldId::crossoverRate, "crossoverRate", "--crossover-rate", FieldGroup::search,
        "P", 0, 1, true, "", "chance that a pair of parents is crossed, pc",
        [](const SolveTask& task) {
            return FieldValue(shortestDecimal(task.settings.params.crossoverRate));
        },
        [](SolveTask& task, const FieldValue& value) {
            task.settings.params.crossoverRate = static_cast<float>(real(value));
        }),
    realField(FieldId::selectionPressure, "selectionPressure", "--selection-pressure",
        FieldGroup::search, "SP", 1, 2, true, "", "linear ranking's pressure, sp",
        [](const SolveTask& task) {
            return FieldValue(shortestDecimal(task.settings.params.selectionPressure));
        },
        [](SolveTask& task, const FieldValue& value) {
            task.settings.params.selectionPressure = static_cast<float>(real(value));
        }),
    withShortOption(wholeField(FieldId::generations, "generations", "--generations",
        FieldGroup::search, kEverywhere, "G", 1, kMaxRunGenerations, "generations",
        "generations of each block search, each of the twelve locations",
        [](const SolveTask& task) {
            return FieldValue(std::int64_t{task.settings.blockGenerations});
        },
        [](SolveTask& task, const FieldValue& value) {
            task.settings.blockGenerations = whole32(value);
        }), "-g"),
    wholeField(FieldId::entryGenerations, "entryGenerations", "--entry-generations",
        FieldGroup::search, kEverywhere, "G", 1, kMaxRunGenerations, "generations",
        "generations of each run of the entry stage",
        [](const SolveTask& task) {
            return FieldValue(std::int64_t{task.settings.entryGenerations});
        },
        [](SolveTask& task, const FieldValue& value) {
            task.settings.entryGenerations = whole32(value);
        }),
    wholeField(FieldId::finishGenerations, "finishGenerations", "--finish-generations",
        FieldGroup::search, kEverywhere, "G", 1, kMaxRunGenerations, "generations",
        "generations of each run of the finish",
        [](const SolveTask& task) {
            return FieldValue(std::int64_t{task.settings.finishGenerations});
        },
        [](SolveTask& task, const FieldValue& value) {
            task.settings.finishGenerations = whole32(value);
        }),
    flagField(FieldId::stopAtGoal, "stopAtGoal", "--stop-at-goal", FieldGroup::search,
        kEverywhere, "end each run at the first generation that meets its stage's goal",
        [](const SolveTask& task) { return FieldValue(task.settings.stopAtGoal); },
        [](SolveTask& task, const FieldValue& value) { task.settings.stopAtGoal = flag(value); }),
    wholeField(FieldId::tries, "tries", "--tries", FieldGroup::tries, kEverywhere, "K",
        1, 1000, "",
        "solve the cube K times, seeds S, S + 1, ... (S the seed, or one drawn and reported), "
        "and answer the shortest solution (of equal ones the lowest seed's)",
        [](const SolveTask& task) { return FieldValue(std::int64_t{task.tries}); },
        [](SolveTask& task, const FieldValue& value) { task.tries = whole32(value); }),
    flagField(FieldId::first, "first", "--first", FieldGroup::tries, kEverywhere,
        "with tries, answer the first try to finish and stop the others",
        [](const SolveTask& task) { return FieldValue(task.firstTry); },
        [](SolveTask& task, const FieldValue& value) { task.firstTry = flag(value); }),
    wholeField(FieldId::maxGenerations, "maxGenerations", "--max-generations",
        FieldGroup::budget, kEverywhere, "G", 1, kMaxSolveGenerations, "generations",
        "end a solve that has not solved its cube after G generations in all",
        [](const SolveTask& task) {
            return task.budget.maxGenerations ? FieldValue(*task.budget.maxGenerations)
                                              : FieldValue();
        },
        [](SolveTask& task, const FieldValue& value) {
            task.budget.maxGenerations = whole(value);
        }),
    realField(FieldId::timeLimit, "timeLimit", "--time-limit", FieldGroup::budget, "SECONDS",
        0, 1e9, false, "seconds",
        "end a solve that has not solved its cube after SECONDS of wall time",
        [](const SolveTask& task) {
            return task.budget.timeLimitSeconds ? FieldValue(*task.budget.timeLimitSeconds)
                                                : FieldValue();
        },
        [](SolveTask& task, const FieldValue& value) {
            task.budget.timeLimitSeconds = real(value);
        }),
    flagField(FieldId::log, "log", "--log", FieldGroup::logbook, kInPython,
        "keep the logbook of every search",
        [](const SolveTask& task) { return FieldValue(task.keepLogbook); },
        [](SolveTask& task, const FieldValue& value) { task.keepLogbook = flag(value); }),
    wholeField(FieldId::logEvery, "logEvery", "--log-every", FieldGroup::logbook, kInPython,
        "K", 1, kMaxRunGenerations, "generations",
        "log every K-th generation too (1: every generation)",
        [](const SolveTask& task) {
            return task.logEvery > 0 ? FieldValue(std::int64_t{task.logEvery}) : FieldValue();
        },
        [](SolveTask& task, const FieldValue& value) { task.logEvery = whole32(value); }),
}};
// clang-format on

std::string_view kindName(FieldKind kind) {
    switch (kind) {
        case FieldKind::wholeNumber:
            return "whole";
        case FieldKind::realNumber:
            return "real";
        case FieldKind::flag:
            return "flag";
        case FieldKind::text:
            return "text";
    }
    return "";
}

std::string_view groupName(FieldGroup group) {
    switch (group) {
        case FieldGroup::scramble:
            return "scramble";
        case FieldGroup::seed:
            return "seed";
        case FieldGroup::search:
            return "search";
        case FieldGroup::budget:
            return "budget";
        case FieldGroup::tries:
            return "tries";
        case FieldGroup::logbook:
            return "logbook";
    }
    return "";
}

}  // namespace

const std::array<RequestField, kFieldCount>& requestFields() {
    return kFields;
}

const RequestField& requestField(FieldId id) {
    return kFields[static_cast<std::size_t>(id)];
}

const RequestField* fieldOfKey(std::string_view key) {
    for (const RequestField& field : kFields) {
        if (field.key == key) {
            return &field;
        }
    }
    return nullptr;
}

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

std::string RequestField::keyword() const {
    return keywordOf(key);
}

std::string RequestField::nameIn(Spelling spelling) const {
    switch (spelling) {
        case Spelling::option:
            return std::string(option);
        case Spelling::keyword:
            return keyword();
        case Spelling::key:
            break;
    }
    std::string quoted(1, '"');
    quoted.append(key).push_back('"');
    return quoted;
}

FieldValue RequestField::defaultValue() const {
    return valueIn(SolveTask{});
}

nlohmann::ordered_json jsonOf(const FieldValue& value) {
    return std::visit(
        [](const auto& held) -> nlohmann::ordered_json {
            if constexpr (std::is_same_v<std::decay_t<decltype(held)>, std::monostate>) {
                return nullptr;
            } else {
                return held;
            }
        },
        value);
}

std::string valueText(const FieldValue& value) {
    if (std::holds_alternative<std::monostate>(value)) {
        return "none";
    }
    if (const auto* words = std::get_if<std::string>(&value)) {
        return *words;
    }
    return jsonOf(value).dump();
}

std::string boundText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

std::string rangeText(const RequestField& field) {
    if (field.kind == FieldKind::realNumber) {
        return field.minimumAllowed
                   ? boundText(field.realMinimum) + " to " + boundText(field.realMaximum)
                   : "above " + boundText(field.realMinimum) + ", at most " +
                         boundText(field.realMaximum);
    }
    if (field.kind != FieldKind::wholeNumber) {
        return "";
    }
    if (field.wholeMaximum == kMaxRunGenerations || field.wholeMaximum == kMaxSolveGenerations) {
        return "at least " + std::to_string(field.wholeMinimum);
    }
    if (field.defaultFollowsOthers()) {
        return std::to_string(field.wholeMinimum) + " to N - 1";
    }
    return std::to_string(field.wholeMinimum) + " to " + std::to_string(field.wholeMaximum);
}

nlohmann::ordered_json fieldTableJson() {
    nlohmann::ordered_json table = nlohmann::ordered_json::array();
    for (const RequestField& field : kFields) {
        nlohmann::ordered_json json;
        json["key"] = field.key;
        json["option"] = field.option;
        json["keyword"] = field.keyword();
        json["kind"] = kindName(field.kind);
        json["group"] = groupName(field.group);
        if (field.kind == FieldKind::wholeNumber) {
            json["minimum"] = field.wholeMinimum;
            json["maximum"] = field.wholeMaximum;
        } else if (field.kind == FieldKind::realNumber) {
            json["minimum"] = field.realMinimum;
            json["maximum"] = field.realMaximum;
            json["minimumAllowed"] = field.minimumAllowed;
        }
        json["default"] = jsonOf(field.defaultValue());
        json["defaultFollowsOthers"] = field.defaultFollowsOthers();
        json["unit"] = field.unit;
        json["help"] = field.help;
        table.push_back(json);
    }
    return table;
}

double shortestDecimal(float value) {
    char buffer[32];
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(value));
        if (std::strtof(buffer, nullptr) == value) {
            break;
        }
    }
    return std::strtod(buffer, nullptr);
}

}  // namespace cubega
