#include "cli/progress_bar.hpp"

#include <algorithm>
#include <cstdio>

namespace cubega {

namespace {

constexpr std::size_t kBarWidth = 20;

std::string bar(std::int32_t done, std::int32_t of) {
    const std::int64_t width = static_cast<std::int64_t>(kBarWidth);
    const std::int64_t part = of > 0 ? std::clamp<std::int64_t>(done * width / of, 0, width) : 0;
    const auto filled = static_cast<std::size_t>(part);
    std::string text(kBarWidth + 2, '-');
    text.front() = '[';
    text.back() = ']';
    std::fill_n(text.begin() + 1, filled, '#');
    return text;
}

}  // namespace

ProgressBar::ProgressBar(std::ostream& terminal)
    : terminal_(&terminal), start_(std::chrono::steady_clock::now()) {}

ProgressBar::~ProgressBar() {
    if (drawn_) {
        *terminal_ << "\r\033[K" << std::flush;
    }
}

std::string ProgressBar::line(const StageProgress& progress, double seconds) {
    // The stage's name padded to one width, so the rest of the line stays in place.
    std::string where(stageName(progress.stage));
    where.resize(6, ' ');
    where += progress.stage == Stage::block ? " location " + std::to_string(progress.location + 1) +
                                                  "/12, pass " + std::to_string(progress.run)
                                            : " run " + std::to_string(progress.run);
    char counts[96];
    std::snprintf(counts, sizeof counts, " %d/%d generations, %.1f s", progress.generationsDone,
                  progress.generationsOfRun, seconds);
    where += ' ';
    where += bar(progress.generationsDone, progress.generationsOfRun);
    where += counts;
    return where;
}

void ProgressBar::stageProgress(const StageProgress& progress) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    *terminal_ << "\r\033[K" << line(progress, seconds) << std::flush;
    drawn_ = true;
}

}  // namespace cubega
