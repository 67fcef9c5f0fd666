// The rules of a solve request, written once for every front end: the command line's options,
// a batch line's JSON, the web page and the Python module give the values of the fields they
// read, and one function checks them and makes the task, refusing a value with the same
// message everywhere: UsageError naming the field as its front end spells it (an option
// "--seed", a JSON key "\"seed\"", a keyword argument "seed") and the range it must lie in.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "cube/cube_state.hpp"
#include "cube/moves.hpp"
#include "cube/notation_reader.hpp"
#include "request/request_fields.hpp"

namespace cubega {

struct SolveTask;

// The values a front end was given, by field, before any is checked; std::monostate where a
// field was not given.
class RequestValues {
  public:
    const FieldValue& operator[](FieldId id) const { return values_[index(id)]; }
    bool has(FieldId id) const { return !std::holds_alternative<std::monostate>((*this)[id]); }
    void set(FieldId id, FieldValue value) { values_[index(id)] = std::move(value); }

    // These values, with those of `over` in place where it gives them.
    RequestValues overlaidWith(const RequestValues& over) const;

    // How many of the fields that name a scramble are given.
    int scrambleSources() const;

  private:
    static std::size_t index(FieldId id) { return static_cast<std::size_t>(id); }
    std::array<FieldValue, kFieldCount> values_;
};

// A whole number's limits, for a value that is no request's field (the command line's jobs).
struct WholeNumberRule {
    std::string_view name;  // "--jobs", or "jobs" as a keyword
    std::int64_t minimum = 0;
    std::int64_t maximum = 0;
};

inline constexpr WholeNumberRule kJobsOption{"--jobs", 1, 1024};
inline constexpr WholeNumberRule kJobsKeyword{"jobs", 1, 1024};

// "--jobs must be a whole number from 1 to 1024"; the value when it lies in the range.
std::int64_t checkedWholeNumber(const WholeNumberRule& rule, std::int64_t value);

// The message of a field's value that breaks its rule: "--seed must be a whole number from 0
// to 4294967295", "\"mutationRate\" must be a number from 0 to 1", "stop_at_goal must be true or
// false", "\"scramble\" must be a string". `task` gives the immigrants' maximum.
std::string fieldMessage(const RequestField& field, Spelling spelling, const SolveTask& task);

// Throws UsageError with the field's message and key.
[[noreturn]] void refuse(const RequestField& field, Spelling spelling, const SolveTask& task);

// Gives the task every value given, in the table's order, each checked by its field's rule:
// its scramble (when one is given), seed, settings, budget, tries and logbook. What is not
// given keeps the program's value, but for the immigrants, which stay below a smaller
// population. The logbook's rules: log_every needs the logbook, and the logbook keeps one try.
void applyValues(SolveTask& task, const RequestValues& values, Spelling spelling);

// A request names exactly one scramble: `given` is how many sources it named.
void checkOneScramble(int given, Spelling spelling);

// A JSON value as a field's value, checked for its kind only (a whole number, any number, true
// or false, a string); a whole number beyond 64 bits is read as the largest, above every
// range. Throws UsageError with the field's message.
FieldValue fieldValueOfJson(const RequestField& field, const nlohmann::json& value,
                            Spelling spelling);

// A scramble's text in the full notation (face turns, wide turns, slices, rotations, groups,
// commutators and conjugates), expanding to at most kMaxScrambleLength face turns: its face
// turns for the cube as held at its end, that cube, and whether the text was face turns alone.
MoveText checkedMoveText(std::string_view text);

// The face turns of checkedMoveText.
std::vector<MoveCode> checkedScramble(std::string_view text);

// The cube of a 54-letter facelet text, if face turns can reach it.
CubeState checkedFacelets(std::string_view text);

}  // namespace cubega
