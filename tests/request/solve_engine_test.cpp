// The engine of solves: results in the order asked, alike on threads and on the caller's
// thread, and a stop that leaves no thread behind.
#include "request/solve_engine.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <thread>

#include "request/request_json.hpp"

namespace cubega {
namespace {

SolveTask seededTask(const std::string& json) {
    return taskFromJsonText(json);
}

// The solutions (or refusals) an engine of `threads` threads gives, in the order taken.
std::vector<std::string> answersOf(std::size_t threads) {
    SolveEngine engine(threads);
    const char* tasks[] = {
        R"({"scramble": "R U F'", "seed": 3, "generations": 20, "stopAtGoal": true})",
        R"({"scramble": "R", "seed": 4, "generations": 5, "stopAtGoal": true, "tries": 3})",
        R"({"random": 3, "seed": 5, "generations": 20, "stopAtGoal": true})"};
    std::size_t tag = 0;
    for (const char* task : tasks) {
        engine.add({seededTask(task), ++tag, nullptr, false, {}});
        engine.addRefusal({++tag, "refused " + std::to_string(tag)});
    }
    engine.closeInput();
    std::vector<std::string> answers;
    while (const auto taken = engine.takeNext()) {
        if (const auto* refused = std::get_if<EngineRefusal>(&*taken)) {
            answers.push_back(std::to_string(refused->tag) + " " + refused->message);
        } else {
            const EngineResult& result = std::get<EngineResult>(*taken);
            answers.push_back(std::to_string(result.tag) + " " +
                              movesToText(result.outcome.result.solution) + " " +
                              std::to_string(result.outcome.tries.size()));
        }
    }
    return answers;
}

TEST(SolveEngine, GivesTheResultsInTheOrderAskedOnThreadsAsOnTheCallersThread) {
    const std::vector<std::string> inline_ = answersOf(0);
    ASSERT_EQ(inline_.size(), 6u);
    for (std::size_t k = 0; k < inline_.size(); ++k) {
        EXPECT_EQ(inline_[k].substr(0, inline_[k].find(' ')), std::to_string(k + 1));
    }
    EXPECT_EQ(inline_[2].substr(inline_[2].size() - 2), " 3") << "the three tries' summary";
#ifndef __EMSCRIPTEN__  // a WebAssembly build runs its solves on the caller's thread only
    EXPECT_EQ(answersOf(2), inline_);
#endif
}

#ifdef __linux__
int threadsOfThisProcess() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Threads:", 0) == 0) {
            return std::stoi(line.substr(8));
        }
    }
    return -1;
}

TEST(SolveEngine, AStopDuringTriesLeavesNoThreadRunning) {
    const int before = threadsOfThisProcess();
    {
        SolveEngine engine(2);
        engine.add({seededTask(R"({"scramble": "R U2 F", "generations": 100000000, "tries": 4})"),
                    1,
                    nullptr,
                    false,
                    {}});
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(threadsOfThisProcess(), before + 2);
        engine.stop();
        // A joined thread may linger a moment in the count (under qemu, say).
        for (int wait = 0; wait < 100 && threadsOfThisProcess() != before; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        EXPECT_EQ(threadsOfThisProcess(), before);
        EXPECT_FALSE(engine.takeNext(std::chrono::milliseconds(1)));
    }
}
#endif

}  // namespace
}  // namespace cubega
