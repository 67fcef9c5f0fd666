// The fields of a solve request, written once: for each its JSON key, command-line option,
// Python keyword, kind, range, default, unit and one line of help. The command line's options
// and help, the JSON reader, the record's "parameters", the Python module's keywords and the
// page's settings are all made from this table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include <nlohmann/json.hpp>

namespace cubega {

struct SolveTask;

// The fields in the table's order, which is the order of a record's "parameters".
enum class FieldId {
    scramble,
    facelets,
    random,
    seed,
    population,
    length,
    immigrants,
    mutationRate,
    crossoverRate,
    selectionPressure,
    generations,
    entryGenerations,
    finishGenerations,
    stopAtGoal,
    tries,
    first,
    maxGenerations,
    timeLimit,
    log,
    logEvery,
};
inline constexpr std::size_t kFieldCount = static_cast<std::size_t>(FieldId::logEvery) + 1;

enum class FieldKind { wholeNumber, realNumber, flag, text };

// What a field sets: where the scramble comes from, the seed, the search's values, what may end
// a solve early, the tries, the logbook.
enum class FieldGroup { scramble, seed, search, budget, tries, logbook };

// Where a field is read: JSON requests (batch lines, the page) and the Python module's
// keywords; the command line has an option for every field.
enum FieldUse : unsigned { kInJson = 1U, kInPython = 2U };

// How a front end names a field: command-line options, JSON keys, or the Python module's
// keyword arguments (the keys in snake_case: mutation_rate).
enum class Spelling { option, key, keyword };

// A field's value: none (std::monostate), a whole number, a real number, true or false, text.
using FieldValue = std::variant<std::monostate, std::int64_t, double, bool, std::string>;

struct RequestField {
    FieldId id;
    std::string_view key;          // "mutationRate"
    std::string_view option;       // "--mutation-rate"
    std::string_view shortOption;  // "-g", or empty
    FieldKind kind;
    FieldGroup group;
    unsigned use;
    std::string_view valueName;  // "P", as help names the value
    // The range of a whole number, or of a real number with its lowest value itself allowed or
    // not. The immigrants' maximum is one fewer than the population's.
    std::int64_t wholeMinimum = 0;
    std::int64_t wholeMaximum = 0;
    double realMinimum = 0;
    double realMaximum = 0;
    bool minimumAllowed = true;
    std::string_view unit;  // "generations", "seconds", or empty
    std::string_view help;  // one line, without the range and the default
    // The value of the field in a task (std::monostate for none), and the task with a value
    // set: a value already checked against the field's range, of the field's kind.
    FieldValue (*valueIn)(const SolveTask& task);
    void (*setIn)(SolveTask& task, const FieldValue& value);

    // The field's name as a front end spells it: "--seed", "\"seed\"" or "seed".
    std::string nameIn(Spelling spelling) const;
    std::string keyword() const;
    // The program's value: the value in a task that no request has changed.
    FieldValue defaultValue() const;
    // Whether its default depends on other fields (the immigrants stay below the population).
    bool defaultFollowsOthers() const { return id == FieldId::immigrants; }
};

// Every field, in FieldId order.
const std::array<RequestField, kFieldCount>& requestFields();

const RequestField& requestField(FieldId id);

// The field of a JSON key, if any.
const RequestField* fieldOfKey(std::string_view key);

// A JSON key as a keyword argument: "mutationRate" -> "mutation_rate".
std::string keywordOf(std::string_view key);

// A value as the record writes it: null, 51, 0.05, true, "R U".
nlohmann::ordered_json jsonOf(const FieldValue& value);

// A value as help and the man page show it: 51, 0.05, true; "none" for no value.
std::string valueText(const FieldValue& value);

// A bound of a range as help and the messages write it: 0, 0.5, 1000000000.
std::string boundText(double value);

// A number's range as help shows it: "2 to 4096", "above 0, at most 1000000000", "at least 1".
std::string rangeText(const RequestField& field);

// The table as JSON, for the page and the Python module: one object a field, with its key,
// option, keyword, kind, group, minimum and maximum (numbers), the default (null for none),
// unit and help.
nlohmann::ordered_json fieldTableJson();

// The shortest decimal that reads back as the same single-precision value: 0.05, not
// 0.0500000007.
double shortestDecimal(float value);

}  // namespace cubega
