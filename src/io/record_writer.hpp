// Record output shared by the console and results.txt, so both have one layout.
//
// Every write is one record made of items:
//   - text as it stands; one blank goes before a text that begins the record or follows a
//     number, and text after text adjoins;
//   - an integer right-justified in 12 columns;
//   - a real in 15 columns, 7 significant digits: fixed notation for magnitudes from 0.1 up
//     to below 10 000 000 (right-justified in 11 columns, then 4 blanks), otherwise (zero
//     included) the exponent form 0.dddddddE+xx right-justified in 15 columns.
// Lines hold at most 80 columns. An item that does not fit in the rest of a line starts a
// new line that begins with one blank; a text longer than a line is cut at column 80 and
// continues on the next line after one blank. A record without items is an empty line.
//
// This header depends on nothing else of the run, so the search and the stages can print
// through it without knowing the driver.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace cubega {

class RecordItem {
  public:
    enum class Kind { text, integer, real };

    RecordItem(std::string_view text) : kind_(Kind::text), text_(text) {}
    RecordItem(const char* text) : kind_(Kind::text), text_(text) {}
    RecordItem(const std::string& text) : kind_(Kind::text), text_(text) {}
    RecordItem(std::int32_t value) : kind_(Kind::integer), integer_(value) {}
    RecordItem(float value) : kind_(Kind::real), real_(value) {}

    Kind kind() const { return kind_; }
    std::string_view text() const { return text_; }
    std::int32_t integer() const { return integer_; }
    float real() const { return real_; }

  private:
    Kind kind_;
    std::string_view text_;
    std::int32_t integer_ = 0;
    float real_ = 0.0F;
};

inline constexpr std::size_t kLineWidth = 80;

std::string formatInteger(std::int32_t value);  // 12 columns
std::string formatReal(float value);            // 15 columns

// The lines of one record, each ended by '\n'.
std::string formatRecord(std::span<const RecordItem> items);

// Where records go: the console, results.txt, or a test's buffer.
class RecordWriter {
  public:
    virtual ~RecordWriter() = default;

    void write(std::initializer_list<RecordItem> items) {
        writeLines(formatRecord(std::span<const RecordItem>(items.begin(), items.size())));
    }
    void writeBlank() { writeLines("\n"); }
    // Records already formatted (another writer's text), as they stand.
    void writeFormatted(std::string_view lines) { writeLines(lines); }

    // The end of the records: a file is closed here, and says so if the close fails. Later
    // writes are errors there.
    virtual void close() {}

  protected:
    virtual void writeLines(std::string_view lines) = 0;
};

// Writes nothing: where the records of a run go that no one reads.
class DiscardingRecordWriter final : public RecordWriter {
  protected:
    void writeLines(std::string_view) override {}
};

// Keeps the records as text: a results log that is handed on rather than written to a file.
class TextRecordWriter final : public RecordWriter {
  public:
    const std::string& text() const { return text_; }

  protected:
    void writeLines(std::string_view lines) override { text_ += lines; }

  private:
    std::string text_;
};

// Writes records to a stream, flushing after each so progress shows at once.
class StreamRecordWriter final : public RecordWriter {
  public:
    explicit StreamRecordWriter(std::ostream& out) : out_(&out) {}

  protected:
    void writeLines(std::string_view lines) override;

  private:
    std::ostream* out_;
};

}  // namespace cubega
