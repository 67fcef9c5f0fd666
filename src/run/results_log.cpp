#include "run/results_log.hpp"

namespace cubega {

ResultsLog::ResultsLog(const std::filesystem::path& path) : file_(path, TextFile::Mode::create) {}

void ResultsLog::writeLines(std::string_view lines) {
    file_.write(lines);
}

void ResultsLog::close() {
    file_.close();
}

}  // namespace cubega
