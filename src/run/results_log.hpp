// results.txt: the scramble, the whole-cube rotations, the solution in three pieces and the
// total, in the console's record layout. Every record is flushed as it is written, so an
// interrupted run keeps what it has logged; a failure to create, write or close the file
// stops the run with the file name and the system's reason.
#pragma once

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>

#include "io/record_writer.hpp"

namespace cubega {

inline constexpr const char* kResultsFileName = "results.txt";

class ResultsLog final : public RecordWriter {
  public:
    // Creates the file, replacing any file of that name; throws RunError if it cannot.
    explicit ResultsLog(const std::filesystem::path& path);

    // Closes the file; throws RunError if the close fails. Later writes are errors.
    void close() override;

  protected:
    void writeLines(std::string_view lines) override;

  private:
    [[noreturn]] void fail(const char* action, int error) const;

    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::filesystem::path path_;
    std::unique_ptr<std::FILE, FileCloser> file_;
};

}  // namespace cubega
