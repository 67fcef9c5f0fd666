#include "request/logbook_text.hpp"

#include <cmath>
#include <cstdio>

namespace cubega {

namespace {

// Seconds to the millisecond: the clock's reading is no finer than that anyway.
double roundedSeconds(double seconds) {
    return std::round(seconds * 1000) / 1000;
}

std::string csvNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

}  // namespace

std::string logbookHeader(LogFormat format, bool withLine) {
    if (format != LogFormat::csv) {
        return "";
    }
    std::string header = withLine ? "line" : "";
    for (const std::string_view column : kLogbookColumns) {
        header.append(header.empty() ? "" : ",").append(column);
    }
    return header + "\n";
}

std::array<double, kLogbookColumns.size()> logbookRowNumbers(const LogbookRow& row) {
    return {static_cast<double>(row.stage),
            static_cast<double>(row.location),
            static_cast<double>(row.run),
            static_cast<double>(row.generation),
            static_cast<double>(row.evaluations),
            static_cast<double>(row.best),
            static_cast<double>(row.bestMoves),
            row.mean,
            static_cast<double>(row.worst),
            static_cast<double>(row.distinct),
            row.seconds};
}

nlohmann::ordered_json logbookRowJson(const LogbookRow& row, std::size_t line) {
    nlohmann::ordered_json json;
    if (line > 0) {
        json["line"] = line;
    }
    json["stage"] = stageName(row.stage);
    if (row.location >= 0) {
        json["location"] = row.location;
    }
    json["run"] = row.run;
    json["generation"] = row.generation;
    json["evaluations"] = row.evaluations;
    json["best"] = row.best;
    json["bestMoves"] = row.bestMoves;
    json["mean"] = row.mean;
    json["worst"] = row.worst;
    json["distinct"] = row.distinct;
    json["seconds"] = roundedSeconds(row.seconds);
    return json;
}

std::string logbookRowText(const LogbookRow& row, LogFormat format, std::size_t line) {
    if (format == LogFormat::csv) {
        std::string text = line > 0 ? std::to_string(line) + "," : "";
        text += std::string(stageName(row.stage)) + "," +
                (row.location >= 0 ? std::to_string(row.location) : "") + "," +
                std::to_string(row.run) + "," + std::to_string(row.generation) + "," +
                std::to_string(row.evaluations) + "," + std::to_string(row.best) + "," +
                std::to_string(row.bestMoves) + "," + csvNumber(row.mean) + "," +
                std::to_string(row.worst) + "," + std::to_string(row.distinct) + "," +
                csvNumber(roundedSeconds(row.seconds)) + "\n";
        return text;
    }
    return logbookRowJson(row, line).dump() + "\n";
}

}  // namespace cubega
