// results.txt: the scramble, the whole-cube rotations, the solution in three pieces and the
// total, in the console's record layout. Every record is flushed as it is written, so an
// interrupted run keeps what it has logged; a failure to create, write or close the file
// stops the run with the file name and the system's reason.
#pragma once

#include <filesystem>
#include <string_view>

#include "io/record_writer.hpp"
#include "run/text_file.hpp"

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
    TextFile file_;
};

}  // namespace cubega
