// A study split into parts (batch --part K/N) and merged, with the real binary: the parts of
// a seeded batch make the whole batch, a part resumes after SIGKILL, and merge names what is
// missing, repeated or foreign.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/test_support.hpp"

namespace cubega {
namespace {

using testing::BinaryRun;
using testing::runSolverBinary;

struct TempFolder {
    std::filesystem::path path = testing::makeTempFolder();
    ~TempFolder() { std::filesystem::remove_all(path); }
};

// The records or logbook rows of a file, each without its wall time.
std::vector<nlohmann::json> withoutSeconds(const std::filesystem::path& path) {
    std::vector<nlohmann::json> lines;
    std::istringstream text(testing::readFile(path));
    for (std::string line; std::getline(text, line);) {
        lines.push_back(nlohmann::json::parse(line));
        lines.back().erase("seconds");
    }
    return lines;
}

TEST(Binary, ThePartsOfASeededBatchOneOfThemKilledAndResumedMergeIntoTheWholeBatch) {
#ifdef _WIN32
    GTEST_SKIP() << "no SIGKILL";
#endif
    TempFolder folder;
    // Part 1 of 3 holds lines 1, 4 and 7; its line 7 takes a while, so the kill after its
    // second record finds it solving, and its resume reads past another part's task (line 3).
    std::ofstream(folder.path / "in.txt")
        << "R U2 F\n# a comment\n{\"random\": 7}\nF2 B\nR X\n\n{\"random\": 7}\n"
           "{\"scramble\": \"L D\", \"seed\": 3}\nU R2\n";
    std::ofstream(folder.path / "kill-after-second")
        << "\"$@\" & pid=$!\n"
           "while kill -0 $pid 2>/dev/null &&\n"
           "      [ \"$(cat p1.jsonl 2>/dev/null | wc -l)\" -lt 2 ]; do\n"
           "  sleep 0.005\n"
           "done\n"
           "kill -9 $pid 2>/dev/null && echo killed; wait $pid; exit 0\n";
    const std::string batch = "batch in.txt --seed 57 -g 50 --stop-at-goal --jobs 1 ";
    ASSERT_EQ(runSolverBinary(folder.path, "", "", batch + "--output whole.jsonl --log whole.log")
                  .exitStatus,
              1)
        << "line 5 is not moves";
    const std::string part1 = batch + "--part 1/3 --output p1.jsonl --log p1.log.jsonl";
    const BinaryRun killed = runSolverBinary(folder.path, "", "bash kill-after-second", part1);
    EXPECT_EQ(killed.out, "killed\n") << "part 1 was still solving";
    EXPECT_EQ(runSolverBinary(folder.path, "", "", part1 + " --resume").exitStatus, 0);
    for (const std::string k : {"2", "3"}) {
        runSolverBinary(
            folder.path, "", "",
            batch + "--part " + k + "/3 --output p" + k + ".jsonl --log p" + k + ".log.jsonl");
    }

    const BinaryRun merged =
        runSolverBinary(folder.path, "", "",
                        "merge --input in.txt --seed 57 -g 50 --stop-at-goal --output merged.jsonl "
                        "--log merged.log p3.jsonl p1.jsonl p2.jsonl");
    ASSERT_EQ(merged.exitStatus, 0) << merged.err;
    const auto whole = withoutSeconds(folder.path / "whole.jsonl");
    ASSERT_EQ(whole.size(), 7u);
    EXPECT_EQ(withoutSeconds(folder.path / "merged.jsonl"), whole);
    EXPECT_EQ(withoutSeconds(folder.path / "merged.log"),
              withoutSeconds(folder.path / "whole.log"));
}

TEST(Binary, MergeNamesTheLinesMissingRepeatedOrForeignAndWritesNothing) {
    TempFolder folder;
    std::ofstream(folder.path / "in.txt") << "R\nU\nF\nL U\n";
    const std::string batch = "batch in.txt -g 20 --stop-at-goal --jobs 1 ";
    runSolverBinary(folder.path, "", "", batch + "--seed 5 --part 1/2 --output p1.jsonl");
    runSolverBinary(folder.path, "", "", batch + "--seed 5 --part 2/2 --output p2.jsonl");
    runSolverBinary(folder.path, "", "", batch + "--seed 9 --part 2/2 --output other.jsonl");
    const std::string merge =
        "merge --input in.txt --seed 5 -g 20 --stop-at-goal --output m.jsonl ";
    const std::string notWritten =
        "cube-solver: the parts are not the whole batch of in.txt: nothing was written\n";
    const struct {
        std::string parts;
        std::string err;
    } cases[] = {
        {"p1.jsonl", "cube-solver: line 2: no record\ncube-solver: line 4: no record\n"},
        {"p1.jsonl p2.jsonl p1.jsonl",
         "cube-solver: line 1: two records, in p1.jsonl and p1.jsonl\n"
         "cube-solver: line 3: two records, in p1.jsonl and p1.jsonl\n"},
        {"p1.jsonl other.jsonl",
         "cube-solver: line 2: the record's seed is 11, the line asks 7\n"
         "cube-solver: line 4: the record's seed is 13, the line asks 9\n"},
    };
    for (const auto& [parts, err] : cases) {
        const BinaryRun run = runSolverBinary(folder.path, "", "", merge + parts);
        EXPECT_EQ(run.exitStatus, 2) << parts;
        EXPECT_EQ(run.err, err + notWritten) << parts;
        EXPECT_FALSE(std::filesystem::exists(folder.path / "m.jsonl")) << parts;
    }
    ASSERT_EQ(runSolverBinary(folder.path, "", "", merge + "p2.jsonl p1.jsonl").exitStatus, 0);

    for (const std::string part : {"0/3", "4/3", "a/b", "3"}) {
        const BinaryRun run = runSolverBinary(folder.path, "", "", batch + "--part " + part);
        EXPECT_EQ(run.exitStatus, 2) << part;
        EXPECT_EQ(run.err,
                  "cube-solver: --part must be K/N, part K of N with 1 <= K <= N (lines "
                  "K, K + N, K + 2N, ... of the input), not \"" +
                      part + "\"\n");
    }
}

}  // namespace
}  // namespace cubega
