#include "run/text_file.hpp"

#include <cerrno>
#include <cstring>
#include <string>

#include "run/run_error.hpp"

namespace cubega {

namespace {

std::FILE* openFile(const std::filesystem::path& path, TextFile::Mode mode) {
    const bool append = mode == TextFile::Mode::append;
#ifdef _WIN32
    return _wfopen(path.c_str(), append ? L"ab" : L"wb");
#else
    return std::fopen(path.c_str(), append ? "ab" : "wb");
#endif
}

}  // namespace

void writeOutput(std::ostream& out, std::string_view text) {
    errno = 0;
    out << text << std::flush;
    if (!out) {
        throw RunError(std::string("cannot write the output: ") +
                       (errno != 0 ? std::strerror(errno) : "the stream failed"));
    }
}

TextFile::TextFile(const std::filesystem::path& path, Mode mode)
    : path_(path), file_(openFile(path, mode)) {
    if (!file_) {
        fail(mode == Mode::append ? "open" : "create", errno);
    }
}

void TextFile::fail(const char* action, int error) const {
    const std::u8string name = path_.u8string();
    throw RunError(std::string("cannot ") + action + " " + std::string(name.begin(), name.end()) +
                   ": " + std::strerror(error));
}

void TextFile::write(std::string_view text, bool flushNow) {
    if (!file_) {
        fail("write", EBADF);
    }
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file_.get()) != text.size()) {
        fail("write", errno != 0 ? errno : EIO);
    }
    if (flushNow) {
        flush();
    }
}

void TextFile::flush() {
    errno = 0;
    if (file_ && std::fflush(file_.get()) != 0) {
        fail("write", errno != 0 ? errno : EIO);
    }
}

void TextFile::close() {
    std::FILE* file = file_.release();
    errno = 0;
    if (file != nullptr && std::fclose(file) != 0) {
        fail("close", errno != 0 ? errno : EIO);
    }
}

}  // namespace cubega
