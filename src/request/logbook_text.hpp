// A solve's logbook as text: a row a line, as JSON Lines (the default) or CSV with a header;
// in a batch each row carries its input line.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "stages/solve_events.hpp"

namespace cubega {

enum class LogFormat { jsonLines, csv };

// A row's columns, in the order of every form: the CSV header, the JSON object, the numbers
// the page takes.
inline constexpr std::array<std::string_view, 11> kLogbookColumns{
    "stage",     "location", "run",   "generation", "evaluations", "best",
    "bestMoves", "mean",     "worst", "distinct",   "seconds"};

// A row as numbers, column by column: the stage as 0, 1, 2 and the location -1 outside the
// block stage.
std::array<double, kLogbookColumns.size()> logbookRowNumbers(const LogbookRow& row);

// The CSV header (ended by a line break), or nothing for JSON Lines.
std::string logbookHeader(LogFormat format, bool withLine);

// One row as a JSON object, the form of a row of JSON Lines (below).
nlohmann::ordered_json logbookRowJson(const LogbookRow& row, std::size_t line = 0);

// One row and its line break: {"line": 3, "stage": "block", "location": 4, "run": 1,
// "generation": 100, "evaluations": 5100, "best": -1234, "bestMoves": 12, "mean": -1500.25,
// "worst": -3000, "distinct": 51, "seconds": 0.123}, "line" only when `line` > 0 and
// "location" only in the block stage; CSV leaves those fields empty.
std::string logbookRowText(const LogbookRow& row, LogFormat format, std::size_t line = 0);

// Keeps the rows as they are.
class KeptRows final : public Logbook {
  public:
    explicit KeptRows(std::int32_t every) : every_(every) {}
    std::int32_t every() const override { return every_; }
    void logRow(const LogbookRow& row) override { rows.push_back(row); }

    std::vector<LogbookRow> rows;

  private:
    std::int32_t every_;
};

// Keeps the rows as text, to be written together.
class TextLogbook final : public Logbook {
  public:
    TextLogbook(LogFormat format, std::int32_t every, std::size_t line = 0)
        : format_(format), every_(every), line_(line) {}

    std::int32_t every() const override { return every_; }
    void logRow(const LogbookRow& row) override { text_ += logbookRowText(row, format_, line_); }

    const std::string& text() const { return text_; }

  private:
    LogFormat format_;
    std::int32_t every_;
    std::size_t line_;
    std::string text_;
};

}  // namespace cubega
