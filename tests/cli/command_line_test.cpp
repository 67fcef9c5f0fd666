// The command line in-process: its seeded runs against the dialogue's, its errors, its batches.
#include "cli/command_line.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <random>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/batch.hpp"
#include "cube/facelets.hpp"
#include "cube/notation.hpp"
#include "cube/notation_reader.hpp"
#include "dialogue/driver.hpp"
#include "request/logbook_text.hpp"
#include "request/request_fields.hpp"
#include "request/request_json.hpp"
#include "request/request_rules.hpp"
#include "request/result_json.hpp"
#include "request/solve_task.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

// The dialogue's run under clocks frozen at (0 ms, seed s): its log's solution and total.
testing::LoggedRun dialogueRun(const std::string& input, std::uint32_t seed) {
    const auto folder = testing::makeTempFolder();
    std::istringstream in(input);
    std::ostringstream out, err;
    FixedClock clock({0, seed});
    DialogueEnvironment environment{in, out, err, clock, folder / "results.txt"};
    EXPECT_EQ(holdDialogue(environment), 0) << err.str();
    testing::LoggedRun logged = testing::readResultsLog(folder / "results.txt");
    std::filesystem::remove_all(folder);
    return logged;
}

TEST(LongSolve, ASeededTaskIsTheDialoguesRunUnderClocksFrozenAtItsSeed) {
    struct Case {
        std::string dialogue;
        SolveTask task;
    };
    SolveTask builtIn, random, typed;
    builtIn.source = SolveTask::Source::builtIn;
    random.source = SolveTask::Source::random;
    random.randomLength = 9;
    typed.source = SolveTask::Source::moves;
    typed.moves = testing::movesFromText("R  U' F2 ");
    const Case cases[] = {
        {"3\n30\n0\n", builtIn}, {"1\n30\n9\n0\n", random}, {"2\n30\n3\nR\nU'\nF2\n0\n", typed}};
    for (Case c : cases) {
        c.task.settings.blockGenerations = 30;
        c.task.seed = 1765000500;
        const TaskOutcome outcome = runTask(c.task);
        const testing::LoggedRun logged = dialogueRun(c.dialogue, 1765000500);
        EXPECT_EQ(outcome.scramble.moves, logged.scramble);
        EXPECT_EQ(outcome.result.totalMoves, logged.total);
        std::vector<MoveCode> stages = outcome.result.blockMoves;
        for (const auto* more : {&outcome.result.entryMoves, &outcome.result.finishMoves}) {
            stages.insert(stages.end(), more->begin(), more->end());
        }
        EXPECT_EQ(stages, logged.solution);
        EXPECT_TRUE(outcome.result.selfCheckPassed);
        EXPECT_TRUE(isSolved(applySequence(outcome.scramble.cube, outcome.result.solution)));
    }
}

struct CommandRun {
    int status = -1;
    std::string out, err;
};

CommandRun runCommand(std::vector<std::string> arguments, const std::string& input = "",
                      SolveFunction solve = {}) {
    arguments.insert(arguments.begin(), "cube-solver");
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    std::istringstream in(input);
    std::ostringstream out, err;
    CommandLineStreams streams{in, out, err, false, std::move(solve)};
    CommandRun run;
    run.status = runCommandLine(static_cast<int>(argv.size()), argv.data(), streams);
    run.out = out.str();
    run.err = err.str();
    return run;
}

TEST(CommandLine, UsageErrorsSayWhatIsWrongAndWriteNoOutput) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"solve", "--frobnicate", "R"}, "cube-solver: The following argument was not expected"},
        {{"solve", "R", "X2"}, "cube-solver: character 3 of the scramble: \"X\" is not a move"},
        {{"solve", "--scramble", "R U", "F"}, "cube-solver: give one scramble only"},
        {{"solve"}, "cube-solver: give a scramble"},
        {{"solve", "R", "-g", "0"},
         "cube-solver: --generations must be a whole number from 1 to 2147483647\n"},
        {{"solve", "--random", "0"},
         "cube-solver: --random must be a whole number from 1 to 10000"},
        {{"solve", "--random", "10001"}, "cube-solver: --random must be a whole number from 1"},
        {{"solve", "R", "--seed", "-1"}, "cube-solver: --seed must be a whole number from 0 to"},
        {{"solve", "R", "--format", "xml"}, "cube-solver: --format: xml not in {text,json}"},
        {{"solve", "--facelets", "UUU"}, "cube-solver: the facelets: the state has 3 letters"},
        {{"batch", "--jobs", "0"}, "cube-solver: --jobs must be a whole number from 1 to 1024"},
        {{}, "cube-solver: A subcommand is required"},
    };
    for (const auto& [arguments, message] : cases) {
        const CommandRun run = runCommand(arguments);
        EXPECT_EQ(run.status, 2) << message;
        EXPECT_EQ(run.err.rfind(message, 0), 0u) << run.err;
        EXPECT_EQ(run.out, "") << message;
    }
}

// A solve with a fault planted: its solution does not solve the cube.
SolveResult faultySolve(const SolveRequest&, RandomSource&) {
    SolveResult result;
    result.finishMoves = {0};
    result.totalMoves = 1;
    result.selfCheckPassed = false;
    return result;
}

// A value just outside a field's range, as the command line and JSON write it; none for a
// field without a range.
std::optional<std::string> justOutOfRange(const RequestField& field) {
    if (field.kind == FieldKind::wholeNumber) {
        return std::to_string(field.wholeMinimum - 1);
    }
    if (field.kind == FieldKind::realNumber) {
        return std::to_string(field.minimumAllowed ? field.realMinimum - 0.5 : field.realMinimum);
    }
    return std::nullopt;
}

// Every field of the table: the command line (solve and batch) and a batch line refuse a value
// just out of its range with the same message, naming the option or the key, and a request
// that gives the program's value echoes it in its record's parameters.
TEST(RequestFields, EveryFrontEndRefusesAValueOutOfRangeAlikeAndEchoesTheDefault) {
    const SolveTask programs;
    for (const RequestField& field : requestFields()) {
        const std::optional<std::string> value = justOutOfRange(field);
        if (!value) {
            continue;
        }
        const bool isScramble = field.id == FieldId::random;
        const bool logbook = field.group == FieldGroup::logbook;
        for (const char* command : {"solve", "batch"}) {
            std::vector<std::string> arguments{command, std::string(field.option), *value};
            if (std::string(command) == "solve" && !isScramble) {
                arguments.push_back("R");
            }
            if (logbook) {
                arguments.insert(arguments.end(), {"--log", "x"});
            }
            if (std::string(command) == "batch" && isScramble) {
                continue;  // a batch's scrambles are its lines
            }
            const CommandRun run = runCommand(arguments);
            EXPECT_EQ(run.status, 2) << field.key;
            EXPECT_EQ(run.err,
                      "cube-solver: " + fieldMessage(field, Spelling::option, programs) + "\n");
            EXPECT_EQ(run.out, "");
        }
        if ((field.use & kInJson) == 0) {
            continue;
        }
        nlohmann::json line{{std::string(field.key), nlohmann::json::parse(*value)}};
        if (!isScramble) {
            line["scramble"] = "R";
        }
        const BatchLine parsed = parseBatchLine(line.dump(), 1, {});
        ASSERT_TRUE(std::holds_alternative<LineError>(parsed)) << field.key;
        EXPECT_EQ(std::get<LineError>(parsed).message,
                  fieldMessage(field, Spelling::key, programs));
    }
    for (const RequestField& field : requestFields()) {
        const FieldValue byDefault = field.defaultValue();
        const bool echoed = field.group == FieldGroup::search || field.group == FieldGroup::tries ||
                            field.group == FieldGroup::budget;
        if (!echoed || std::holds_alternative<std::monostate>(byDefault)) {
            continue;
        }
        nlohmann::json line{{"scramble", "R"}, {std::string(field.key), jsonOf(byDefault)}};
        const auto task = std::get<SolveTask>(parseBatchLine(line.dump(), 1, {}));
        EXPECT_EQ(requestJson(task, {})["parameters"][std::string(field.key)], jsonOf(byDefault))
            << field.key;
    }
}

TEST(CommandLine, SearchValuesThatDependOnOthersAreCheckedTogether) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--population", "8", "--immigrants", "8"},
         "--immigrants must be a whole number from 0 to 7"},
        {{"--log-every", "5"}, "--log-every needs --log FILE"},
        {{"--log", "x", "--tries", "2"}, "the logbook keeps one try: give --tries 1 (or none)"},
    };
    for (const auto& [options, message] : cases) {
        for (const char* command : {"solve", "batch"}) {
            std::vector<std::string> arguments{command};
            if (arguments[0] == "solve") {
                arguments.push_back("R");
            }
            arguments.insert(arguments.end(), options.begin(), options.end());
            const CommandRun run = runCommand(arguments);
            EXPECT_EQ(run.status, 2) << message;
            EXPECT_EQ(run.err, "cube-solver: " + message + "\n");
            EXPECT_EQ(run.out, "");
        }
    }
}

TEST(CommandLine, ABudgetEndsASolveWhoseSequencesAreTooShortToFinish) {
    const CommandRun run = runCommand({"solve", "R", "U2", "F", "--length", "3", "--seed", "1",
                                       "--max-generations", "2000", "--format", "json"});
    EXPECT_EQ(run.status, 4);
    EXPECT_EQ(run.err,
              "cube-solver: not solved: the budget ended the search in the block stage, "
              "location 4, pass 1, after 0 generations\n");
    const nlohmann::json record = nlohmann::json::parse(run.out);
    EXPECT_EQ(record["solved"], false);
    EXPECT_EQ(record["stoppedAt"], nlohmann::json::parse(R"({"stage": "block", "location": 4,
                                                             "run": 1, "generation": 0})"));
    EXPECT_EQ(record["evaluations"], 2000 * 51);
    EXPECT_EQ(record["stages"]["block"],
              nlohmann::json::parse(R"({"runs": 1, "generations": 2000})"));
    EXPECT_FALSE(record.contains("location"));
    EXPECT_FALSE(record.contains("selfCheck"));
}

TEST(CommandLine, ASolvedCubeIsAnsweredAtOnceWithNoMoves) {
    const auto folder = testing::makeTempFolder();
    const std::string log = (folder / "log.txt").string();
    for (const std::vector<std::string>& given :
         {std::vector<std::string>{"--scramble", "R R' (U2)2 x y'"},
          std::vector<std::string>{"--facelets", faceletText(solvedCube())}}) {
        std::vector<std::string> arguments{"solve", "--format", "json", "--results", log};
        arguments.insert(arguments.end(), given.begin(), given.end());
        const CommandRun run = runCommand(arguments, "", faultySolve);  // never called
        ASSERT_EQ(run.status, 0) << run.err;
        const nlohmann::json record = nlohmann::json::parse(run.out);
        EXPECT_EQ(record["alreadySolved"], true);
        EXPECT_EQ(record["solutionMoves"], 0);
        EXPECT_EQ(record["solution"], "");
        EXPECT_EQ(record["evaluations"], 0);
        EXPECT_EQ(record["selfCheck"], true);
        EXPECT_TRUE(testing::readFile(log).ends_with(
            " Solution : \n \n \n \n total moves # :            0\n"));
    }
    std::filesystem::remove_all(folder);
}

TEST(CommandLine, ATextInTheFullNotationIsSolvedFromTheCubeItLeavesAsHeld) {
    // Its face turns, as the cube is held at the end, leave the cube the text leaves, colours
    // read by the centres, as the facelets read it.
    std::mt19937 rng(5);
    const char* pieces[] = {"R",      "U'",          "F2",      "Rw", "r'", "M",
                            "E2",     "S'",          "x",       "y2", "z'", "(R U)2",
                            "[R, U]", "[F: R U R']", "(M' U)'", "D3", "b2"};
    for (int trial = 0; trial < 40; ++trial) {
        std::string text;
        for (int k = 0; k < 8; ++k) {
            text += pieces[rng() % std::size(pieces)];
            text += rng() % 2 == 0 ? " " : "";
        }
        SolveTask task;
        setScrambleText(task, text);
        const MoveText read = readMoveText(text, 10000);
        ASSERT_FALSE(read.error) << text;
        FixedClock clock({0, 1});
        RandomSource random(clock);
        EXPECT_EQ(scrambleOf(task, random).cube, read.cube) << text;
        EXPECT_EQ(cubeFromFaceletText(faceletText(read.cube)).cube, read.cube) << text;
    }
    const CommandRun run = runCommand({"solve", "--scramble", "Rw U2 x' M [R: U] y", "--seed", "3",
                                       "-g", "200", "--stop-at-goal", "--format", "json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json record = nlohmann::json::parse(run.out);
    EXPECT_EQ(record["notation"], "Rw U2 x' M [R: U] y");
    const CubeState held = readMoveText("Rw U2 x' M [R: U] y", 10000).cube;
    EXPECT_TRUE(
        isSolved(applySequence(held, checkedScramble(record["solution"].get<std::string>()))));
}

TEST(LongCommandLine, TheShortestOfSeveralTriesAnswersAndTheFirstStopsTheOthers) {
    const std::vector<std::string> seeded{"solve",          "R U2 F' L D2 B", "-g",  "100",
                                          "--stop-at-goal", "--format",       "json"};
    const auto withOptions = [&](std::vector<std::string> options) {
        std::vector<std::string> arguments = seeded;
        arguments.insert(arguments.end(), options.begin(), options.end());
        const CommandRun run = runCommand(arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        return nlohmann::json::parse(run.out);
    };
    std::size_t shortest = 1000;
    std::string answer;
    for (int k = 0; k < 4; ++k) {
        const nlohmann::json single = withOptions({"--seed", std::to_string(20 + k)});
        if (single["solutionMoves"].get<std::size_t>() < shortest) {
            shortest = single["solutionMoves"];
            answer = single["solution"];
        }
    }
    const nlohmann::json tries = withOptions({"--seed", "20", "--tries", "4", "--jobs", "2"});
    EXPECT_EQ(tries["solution"], answer);
    EXPECT_EQ(tries["solutionMoves"], shortest);
    ASSERT_EQ(tries["tries"].size(), 4u);
    EXPECT_EQ(tries["tries"][3]["seed"], 23);

    const nlohmann::json first =
        withOptions({"--seed", "20", "--tries", "4", "--jobs", "4", "--first"});
    std::size_t answering = 0;
    for (const nlohmann::json& one : first["tries"]) {
        if (one.value("answers", false)) {
            ++answering;
            const nlohmann::json single = withOptions({"--seed", one["seed"].dump()});
            EXPECT_EQ(first["solution"], single["solution"]);
        }
    }
    EXPECT_EQ(answering, 1u);
}

TEST(CommandLine, ASolutionThatFailsItsOwnCheckIsStatusThree) {
    const CommandRun solve = runCommand({"solve", "R", "--format", "json"}, "", faultySolve);
    EXPECT_EQ(solve.status, 3);
    EXPECT_EQ(solve.err,
              "cube-solver: internal fault: the solution does not solve the scrambled cube\n");
    EXPECT_EQ(nlohmann::json::parse(solve.out)["selfCheck"], false) << "the record says so";

    const auto folder = testing::makeTempFolder();
    const std::string log = (folder / "log.txt").string();
    const CommandRun logged = runCommand({"solve", "R", "--results", log}, "", faultySolve);
    EXPECT_EQ(logged.status, 3);
    EXPECT_EQ(logged.out, "");
    EXPECT_NE(testing::readFile(log).find("does not solve the scrambled cube"), std::string::npos);
    std::filesystem::remove_all(folder);

    const CommandRun batch = runCommand({"batch", "--jobs", "2"}, "R\nU\n", faultySolve);
    EXPECT_EQ(batch.status, 3);
    EXPECT_EQ(batch.err, "cube-solver: internal fault: a solution does not solve its cube\n");
}

TEST(CommandLine, FilesThatCannotBeOpenedAreAnOrderlyStop) {
    const auto folder = testing::makeTempFolder();
    const std::string missing = (folder / "no such file").string();
    const CommandRun batch = runCommand({"batch", missing});
    EXPECT_EQ(batch.status, 1);
    EXPECT_EQ(batch.err, "cube-solver: cannot open " + missing + ": No such file or directory\n");
    const std::string inFolder = (folder / "no folder" / "log.txt").string();
    const CommandRun solve = runCommand({"solve", "R", "--results", inFolder});
    EXPECT_EQ(solve.status, 1);
    EXPECT_EQ(solve.err,
              "cube-solver: cannot create " + inFolder + ": No such file or directory\n");
    EXPECT_EQ(solve.out, "");
    std::filesystem::remove_all(folder);
}

TEST(LongCommandLine, TheProgramsValuesGivenAsOptionsGiveTheSameRun) {
    const std::vector<std::string> seeded{"solve", "R",        "U2",   "F'", "--seed",
                                          "4",     "--format", "json", "-g", "20"};
    std::vector<std::string> explicitly = seeded;
    for (const char* option :
         {"--population", "51", "--length", "30", "--immigrants", "5", "--mutation-rate", "0.05",
          "--crossover-rate", "0.8", "--selection-pressure", "1.5", "--entry-generations", "10000",
          "--finish-generations", "200000"}) {
        explicitly.push_back(option);
    }
    const CommandRun plain = runCommand(seeded);
    const CommandRun given = runCommand(explicitly);
    ASSERT_EQ(plain.status, 0) << plain.err;
    nlohmann::json a = nlohmann::json::parse(plain.out);
    nlohmann::json b = nlohmann::json::parse(given.out);
    a.erase("seconds");
    b.erase("seconds");
    EXPECT_EQ(a, b);
}

// The dialogue's progress lines of a run: generation, best objective, its moves, truncated mean.
std::vector<std::array<double, 4>> progressLines(const std::string& console) {
    std::vector<std::array<double, 4>> lines;
    std::istringstream text(console);
    for (std::string line; std::getline(text, line);) {
        if (line.rfind(" Generation / elite/ moy. ", 0) == 0) {
            std::istringstream items(line.substr(26));
            std::array<double, 4> values{};
            items >> values[0] >> values[1] >> values[2] >> values[3];
            lines.push_back(values);
        }
    }
    return lines;
}

TEST(LongCommandLine, TheLogbookHoldsTheDialoguesProgressLinesAndItsBestNeverFalls) {
    constexpr std::uint32_t kSeed = 1765000500;
    const auto folder = testing::makeTempFolder();
    std::istringstream in("3\n20\n0\n");
    std::ostringstream out, err;
    FixedClock clock({0, kSeed});
    DialogueEnvironment environment{in, out, err, clock, folder / "results.txt"};
    ASSERT_EQ(holdDialogue(environment), 0) << err.str();
    std::filesystem::remove_all(folder);
    const auto dialogue = progressLines(out.str());
    ASSERT_FALSE(dialogue.empty());

    SolveTask task;
    task.source = SolveTask::Source::builtIn;
    task.settings.blockGenerations = 20;
    task.seed = kSeed;
    TextLogbook logbook(LogFormat::jsonLines, 0);
    TaskServices services;
    services.listener = &logbook;
    runTask(task, services);
    const std::int32_t intervals[] = {100000, 5000, 10000};  // block, entry, finish
    std::vector<std::array<double, 4>> logged;
    std::string run;
    std::int64_t lastGeneration = 0, lastBest = 0, lastEvaluations = 0;
    std::istringstream rows(logbook.text());
    for (std::string text; std::getline(rows, text);) {
        const nlohmann::json row = nlohmann::json::parse(text);
        const std::string stage = row["stage"];
        const std::int64_t generation = row["generation"];
        const std::int64_t best = row["best"];
        const std::string thisRun =
            stage + std::to_string(row.value("location", -1)) + row["run"].dump();
        if (thisRun == run) {
            EXPECT_GT(generation, lastGeneration) << text;
            EXPECT_GE(best, lastBest) << "the elite is kept: " << text;
        }
        EXPECT_GE(row["evaluations"].get<std::int64_t>(), lastEvaluations);
        run = thisRun;
        lastGeneration = generation;
        lastBest = best;
        lastEvaluations = row["evaluations"];
        const std::int32_t interval = intervals[stage == "block" ? 0 : stage == "entry" ? 1 : 2];
        if (generation % interval == 0) {
            logged.push_back({static_cast<double>(generation), static_cast<double>(best),
                              row["bestMoves"].get<double>(),
                              std::trunc(row["mean"].get<double>())});
        }
    }
    EXPECT_EQ(logged, dialogue);
}

TEST(LongCommandLine, FaceletsOfAScrambledCubeSolveAsTheScrambleDoes) {
    const std::string scramble = "R U2 F' L D2 B";
    const std::string facelets =
        faceletText(applySequence(solvedCube(), testing::movesOfNotation(scramble)));
    const CommandRun byMoves = runCommand(
        {"solve", "--scramble", scramble, "-g", "20", "--seed", "11", "--format", "json"});
    const CommandRun byFacelets = runCommand(
        {"solve", "--facelets", facelets, "-g", "20", "--seed", "11", "--format", "json"});
    ASSERT_EQ(byMoves.status, 0) << byMoves.err;
    ASSERT_EQ(byFacelets.status, 0) << byFacelets.err;
    nlohmann::json moves = nlohmann::json::parse(byMoves.out);
    nlohmann::json fromFacelets = nlohmann::json::parse(byFacelets.out);
    EXPECT_EQ(fromFacelets["facelets"], facelets);
    for (const char* key : {"scramble", "facelets", "seconds"}) {
        moves.erase(key);
        fromFacelets.erase(key);
    }
    EXPECT_EQ(moves, fromFacelets);
    EXPECT_EQ(moves["selfCheck"], true);
}

// The records of a batch, each without its wall time (which no two runs share).
std::vector<nlohmann::json> recordsOf(const std::string& lines) {
    std::vector<nlohmann::json> records;
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);) {
        records.push_back(nlohmann::json::parse(line));
        records.back().erase("seconds");
    }
    return records;
}

TEST(LongBatch, TwoJobsWriteWhatOneWritesAndABadLineOnlyItsError) {
    const std::string input =
        "# two cubes and one mistake\n"
        "R U2 F'\n"
        "\n"
        "{\"facelets\": \"LRUBUUDRRBLBDRLFULFDDFFFUBRBDUBDBLLDULRULRBRRLUFFBFFDD\", "
        "\"generations\": 12, \"seed\": 9}\n"
        "R X\n";
    BatchOptions options;
    options.defaults.values.set(FieldId::generations, std::int64_t{15});
    options.defaults.seed = 100;
    std::string outputs[2];
    for (std::size_t jobs : {1u, 2u}) {
        options.jobs = jobs;
        std::istringstream in(input);
        std::ostringstream out, err;
        EXPECT_EQ(runBatch(in, out, err, options), 1) << "a line failed";
        EXPECT_EQ(err.str(), "");
        outputs[jobs - 1] = out.str();
    }
    const std::vector<nlohmann::json> records = recordsOf(outputs[0]);
    EXPECT_EQ(records, recordsOf(outputs[1]));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0]["seed"], 102) << "line 2: the seed plus its line number";
    EXPECT_EQ(records[0]["generations"], 15);
    EXPECT_EQ(records[1]["seed"], 9) << "a line's own seed";
    EXPECT_EQ(records[1]["generations"], 12);
    EXPECT_EQ(records[2]["line"], 5);
    EXPECT_EQ(records[2]["error"].get<std::string>().rfind(
                  "character 3 of the scramble: \"X\" is not a move", 0),
              0u);
    for (const std::size_t solved : {0u, 1u}) {
        EXPECT_EQ(records[solved]["selfCheck"], true);
    }
}

TEST(Batch, AnOutputThatCannotBeWrittenStopsWithStatusOne) {
#ifdef _WIN32
    GTEST_SKIP() << "no /dev/full";
#endif
    std::ofstream full("/dev/full");
    std::istringstream in("R X\nR U\nU2\n");  // the first record, an error, fails at once
    std::ostringstream err;
    BatchOptions options;
    options.defaults.values.set(FieldId::generations, std::int64_t{5});
    options.jobs = 2;
    EXPECT_EQ(runBatch(in, full, err, options), 1);
    EXPECT_EQ(err.str(), "cube-solver: cannot write the output: No space left on device\n");
}

}  // namespace
}  // namespace cubega
