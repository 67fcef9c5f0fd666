#include "run/results_log.hpp"

#include <cerrno>
#include <cstring>

#include "run/run_error.hpp"

namespace cubega {

ResultsLog::ResultsLog(const std::filesystem::path& path)
    : path_(path), file_(std::fopen(path.c_str(), "w")) {
    if (!file_) {
        fail("create", errno);
    }
}

void ResultsLog::fail(const char* action, int error) const {
    throw RunError(std::string("cannot ") + action + " " + path_.string() + ": " +
                   std::strerror(error));
}

void ResultsLog::writeLines(std::string_view lines) {
    if (!file_) {
        fail("write", EBADF);
    }
    errno = 0;
    const std::size_t written = std::fwrite(lines.data(), 1, lines.size(), file_.get());
    if (written != lines.size() || std::fflush(file_.get()) != 0) {
        fail("write", errno != 0 ? errno : EIO);
    }
}

void ResultsLog::close() {
    std::FILE* file = file_.release();
    if (file != nullptr && std::fclose(file) != 0) {
        fail("close", errno);
    }
}

}  // namespace cubega
