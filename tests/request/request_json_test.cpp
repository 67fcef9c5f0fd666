// A request as JSON: every rule of a batch line, with its message.
#include "request/request_json.hpp"

#include <gtest/gtest.h>

namespace cubega {
namespace {

TEST(RequestJson, EachBrokenRuleIsRefusedWithItsMessage) {
    const std::pair<std::string, std::string> cases[] = {
        {R"({"scramble": "R", "colour": 3})",
         "unknown key \"colour\" (the keys are scramble, facelets, random, seed, population, "
         "length, immigrants, mutationRate, crossoverRate, selectionPressure, generations, "
         "entryGenerations, finishGenerations, stopAtGoal, tries, first, maxGenerations, "
         "timeLimit)"},
        {R"({"scramble": "R", "population": 10, "immigrants": 10})",
         "\"immigrants\" must be a whole number from 0 to 9"},
        {R"({"scramble": "R", "mutationRate": 1.5})",
         "\"mutationRate\" must be a number from 0 to 1"},
        {R"({"scramble": "R", "selectionPressure": 0.5})",
         "\"selectionPressure\" must be a number from 1 to 2"},
        {R"({"scramble": "R", "timeLimit": 0})",
         "\"timeLimit\" must be a number above 0 and at most 1000000000"},
        {R"({"scramble": "R", "stopAtGoal": 1})", "\"stopAtGoal\" must be true or false"},
        {R"({"scramble": "R", "generations": 1.5})",
         "\"generations\" must be a whole number from 1 to 2147483647"},
        {R"({"scramble": "R", "generations": "500"})",
         "\"generations\" must be a whole number from 1 to 2147483647"},
        {R"({"scramble": "R", "generations": 0})",
         "\"generations\" must be a whole number from 1 to 2147483647"},
        {R"({"scramble": "R", "seed": 4294967296})",
         "\"seed\" must be a whole number from 0 to 4294967295"},
        {R"({"scramble": "R", "seed": 18446744073709551615})",
         "\"seed\" must be a whole number from 0 to 4294967295"},
        {R"({"scramble": "R", "seed": -1})",
         "\"seed\" must be a whole number from 0 to 4294967295"},
        {R"({"generations": 5})", "give a scramble: \"scramble\", \"facelets\" or \"random\""},
        {R"({"scramble": "R", "facelets": "UUU"})",
         "give one scramble only: \"scramble\", \"facelets\" or \"random\""},
        {R"({"scramble": 7})", "\"scramble\" must be a string"},
        {R"({"facelets": ["U"]})", "\"facelets\" must be a string"},
        {R"({"random": 0})", "\"random\" must be a whole number from 1 to 10000"},
        {R"({"scramble": "R Q"})",
         "character 3 of the scramble: \"Q\" is not a move (a face F U R B D L, a wide turn Rw or "
         "r, a slice M E S, a rotation x y z, or \"(\" \"[\")"},
        {R"({"scramble": "R", "tries": 0})", "\"tries\" must be a whole number from 1 to 1000"},
        {R"({"facelets": "UUU"})",
         "the facelets: the state has 3 letters; it needs 54, nine for each face (U R F D L B)"},
        {R"({"scramble": "R")", "the line is neither moves nor a JSON object"},
    };
    for (const auto& [line, message] : cases) {
        const BatchLine parsed = parseBatchLine(line, 4, BatchDefaults{});
        const auto* error = std::get_if<LineError>(&parsed);
        ASSERT_NE(error, nullptr) << line;
        EXPECT_EQ(error->message, message) << line;
    }
}

TEST(RequestJson, ALineTakesTheBatchDefaultsItDoesNotOverride) {
    BatchDefaults defaults;
    defaults.values.set(FieldId::generations, std::int64_t{40});
    defaults.seed = 4294967295;
    const auto task = std::get<SolveTask>(parseBatchLine(R"({"random": 12})", 3, defaults));
    EXPECT_EQ(task.source, SolveTask::Source::random);
    EXPECT_EQ(task.randomLength, 12);
    EXPECT_EQ(task.settings.blockGenerations, 40);
    EXPECT_EQ(task.seed, 2u) << "the seed plus the line number, wrapped past 2^32";
    const auto own =
        std::get<SolveTask>(parseBatchLine(R"({"scramble": "R2", "seed": 9})", 3, defaults));
    EXPECT_EQ(own.seed, 9u);
    EXPECT_EQ(own.moves, std::vector<MoveCode>{8});
    EXPECT_TRUE(std::holds_alternative<NoTask>(parseBatchLine("  # a comment", 1, defaults)));
    defaults.values.set(FieldId::log, true);  // a batch with --log
    const auto tries =
        std::get<LineError>(parseBatchLine(R"({"random": 3, "tries": 2})", 3, defaults));
    EXPECT_EQ(tries.message, "the logbook keeps one try: give \"tries\": 1 (or none)");
}

}  // namespace
}  // namespace cubega
