#include "run/results_log.hpp"

#include <cerrno>
#include <cstring>

#include "run/run_error.hpp"

namespace cubega {

namespace {

// Binary mode: every line ends with LF alone on every system. On Windows the path's wide
// characters reach the file system whole, so a folder name in any script works.
std::FILE* openForWriting(const std::filesystem::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wb");
#else
    return std::fopen(path.c_str(), "wb");
#endif
}

}  // namespace

ResultsLog::ResultsLog(const std::filesystem::path& path)
    : path_(path), file_(openForWriting(path)) {
    if (!file_) {
        fail("create", errno);
    }
}

void ResultsLog::fail(const char* action, int error) const {
    const std::u8string name = path_.u8string();
    throw RunError(std::string("cannot ") + action + " " + std::string(name.begin(), name.end()) +
                   ": " + std::strerror(error));
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
