// A text file written by the program (results.txt, a batch's records, a logbook), in binary
// mode so that every line ends with LF alone on every system, its name reaching the file
// system whole (on Windows through its wide characters, so a folder name in any script
// works). A failure to create, write or close it stops the run with the file name and the
// system's reason.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string_view>

namespace cubega {

// Writes the text to a stream (standard output) and flushes it; throws RunError ("cannot write
// the output: ...") when the stream fails.
void writeOutput(std::ostream& out, std::string_view text);

class TextFile {
  public:
    enum class Mode { create, append };

    // Creates the file (replacing any of that name) or opens it to append; throws RunError.
    TextFile(const std::filesystem::path& path, Mode mode);

    // Writes the text, flushed at once when `flush` (so a run that is killed keeps it).
    void write(std::string_view text, bool flush = true);
    void flush();
    // Closes the file; later writes are errors.
    void close();

    const std::filesystem::path& path() const { return path_; }

  private:
    [[noreturn]] void fail(const char* action, int error) const;

    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::filesystem::path path_;
    std::unique_ptr<std::FILE, FileCloser> file_;
};

}  // namespace cubega
