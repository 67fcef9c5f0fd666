#include "cli/batch_part.hpp"

#include <charconv>
#include <optional>
#include <string>

#include "run/run_error.hpp"

namespace cubega {

namespace {

std::optional<std::size_t> wholeNumberOf(std::string_view text) {
    std::size_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

BatchPart batchPartOf(std::string_view text) {
    const std::size_t slash = text.find('/');
    const auto index =
        slash == std::string_view::npos ? std::nullopt : wholeNumberOf(text.substr(0, slash));
    const auto count =
        slash == std::string_view::npos ? std::nullopt : wholeNumberOf(text.substr(slash + 1));
    if (!index || !count || *index < 1 || *index > *count) {
        throw UsageError(
            "--part must be K/N, part K of N with 1 <= K <= N (lines K, K + N, "
            "K + 2N, ... of the input), not \"" +
            std::string(text) + "\"");
    }
    return {*index, *count};
}

}  // namespace cubega
