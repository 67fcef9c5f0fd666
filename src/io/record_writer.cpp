#include "io/record_writer.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace cubega {

namespace {

std::string rightJustified(std::string_view text, std::size_t width) {
    std::string field(text.size() < width ? width - text.size() : 0, ' ');
    field += text;
    return field;
}

}  // namespace

std::string formatInteger(std::int32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%12d", value);
    return buffer;
}

std::string formatReal(float value) {
    constexpr std::size_t kWidth = 15;
    if (std::isnan(value)) {
        return rightJustified("NaN", kWidth);
    }
    if (std::isinf(value)) {
        return rightJustified(value < 0 ? "-Infinity" : "Infinity", kWidth);
    }
    const double v = value;
    const char* sign = std::signbit(value) ? "-" : "";
    // The magnitude rounded to 7 significant digits, "d.dddddde+xx": its exponent picks
    // the notation, so 9999999.9 is written as 0.1000000E+08, not as 10000000.
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.6e", std::fabs(v));
    const int exponent = std::atoi(digits + 9);
    if (value != 0.0F && exponent >= -1 && exponent <= 6) {
        char fixed[32];
        std::snprintf(fixed, sizeof fixed, "%#11.*f", 6 - exponent, v);
        return std::string(fixed) + "    ";
    }
    // 0.ddddddd times a power of ten; two exponent digits cover every float.
    const int shownExponent = value == 0.0F ? 0 : exponent + 1;
    char scientific[32];
    std::snprintf(scientific, sizeof scientific, "%s0.%c%.6sE%c%02d", sign, digits[0], digits + 2,
                  shownExponent < 0 ? '-' : '+', std::abs(shownExponent));
    return rightJustified(scientific, kWidth);
}

std::string formatRecord(std::span<const RecordItem> items) {
    std::string lines;
    std::string line;
    bool first = true;
    bool afterNumber = false;
    for (const RecordItem& item : items) {
        const bool isText = item.kind() == RecordItem::Kind::text;
        std::string body;
        if (isText) {
            body = item.text();
        } else if (item.kind() == RecordItem::Kind::integer) {
            body = formatInteger(item.integer());
        } else {
            body = formatReal(item.real());
        }
        const std::string_view separator = isText && (first || afterNumber) ? " " : "";
        if (first || line.size() + separator.size() + body.size() <= kLineWidth) {
            line += separator;
            line += body;
        } else {
            lines += line;
            lines += '\n';
            line.assign(1, ' ');
            line += body;
        }
        while (line.size() > kLineWidth) {  // only a long text gets here
            lines.append(line, 0, kLineWidth);
            lines += '\n';
            line.erase(1, kLineWidth - 1);
            line[0] = ' ';  // the rest continues after one blank
        }
        first = false;
        afterNumber = !isText;
    }
    lines += line;
    lines += '\n';
    return lines;
}

void StreamRecordWriter::writeLines(std::string_view lines) {
    out_->write(lines.data(), static_cast<std::streamsize>(lines.size()));
    out_->flush();
}

}  // namespace cubega
