#include "support/test_support.hpp"

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "cube/notation_reader.hpp"
#include "cube/rotations.hpp"

namespace cubega::testing {

CubeState randomCube(std::mt19937& rng, int moves) {
    return applySequence(solvedCube(), randomMoves(rng, moves));
}

CubeState randomTwoFaceCube(std::mt19937& rng, int moves) {
    std::vector<MoveCode> sequence = randomMoves(rng, moves);
    for (MoveCode& m : sequence) {
        m = foldOntoTwoFaces(m);  // the F or U turn of the same kind
    }
    return applySequence(solvedCube(), sequence);
}

std::vector<MoveCode> randomMoves(std::mt19937& rng, int count) {
    std::uniform_int_distribution<MoveCode> move(0, kMoveCount - 1);
    std::vector<MoveCode> moves(static_cast<std::size_t>(count));
    for (MoveCode& m : moves) {
        m = move(rng);
    }
    return moves;
}

CubeState distinctFacelets() {
    CubeState cube;
    for (int i = 0; i < kFaceletCount; ++i) {
        cube[i] = i;
    }
    return cube;
}

std::vector<MoveCode> movesOfNotation(std::string_view text) {
    const MoveText read = readMoveText(text, 10000);
    if (read.error) {
        throw std::runtime_error("not moves: " + std::string(text));
    }
    return read.moves;
}

std::vector<MoveCode> movesFromText(std::string_view text) {
    std::optional<std::vector<MoveCode>> moves = cubega::movesFromText(text);
    if (!moves) {
        throw std::runtime_error("not a move text: " + std::string(text));
    }
    return *std::move(moves);
}

std::filesystem::path makeTempFolder() {
    static std::mt19937_64 names(std::random_device{}());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto folder = std::filesystem::temp_directory_path() /
                            ("cubega-" + std::to_string(names() % 1000000000));
        if (std::filesystem::create_directory(folder)) {  // false when it was there already
            return folder;
        }
    }
    throw std::runtime_error("no temporary folder could be made");
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

namespace {

#ifdef _WIN32
std::wstring wideOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
}

// cmd.exe runs the command; the outer quotes keep it from stripping the inner ones, and the
// wide form keeps folder names in any script.
int runCommand(const std::filesystem::path& folder, const std::string& launcher,
               const std::string& arguments, const std::filesystem::path& in,
               const std::filesystem::path& out, const std::filesystem::path& err) {
    const auto quoted = [](const std::filesystem::path& path) {
        return L"\"" + path.wstring() + L"\"";
    };
    const std::wstring command = L"\"cd /d " + quoted(folder) + L" && " + wideOf(launcher) + L" " +
                                 quoted(CUBE_SOLVER_BINARY) + L" " + wideOf(arguments) + L" < " +
                                 quoted(in) + L" > " + quoted(out) + L" 2> " + quoted(err) + L"\"";
    return _wsystem(command.c_str());  // the program's exit status
}
#else
int runCommand(const std::filesystem::path& folder, const std::string& launcher,
               const std::string& arguments, const std::filesystem::path& in,
               const std::filesystem::path& out, const std::filesystem::path& err) {
    const std::string command = "cd '" + folder.string() + "' && " + launcher +
                                " '" CUBE_SOLVER_BINARY "' " + arguments + " < '" + in.string() +
                                "' > '" + out.string() + "' 2> '" + err.string() + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

}  // namespace

BinaryRun runSolverBinary(const std::filesystem::path& folder, std::string_view input,
                          const std::string& launcher, const std::string& arguments) {
    // The console files live beside the folder, so a read-only folder stays read-only.
    auto beside = [&folder](const char* suffix) {
        std::filesystem::path path = folder;
        return path += suffix;
    };
    const auto inputPath = beside(".in");
    std::ofstream(inputPath, std::ios::binary) << input;
    const auto outPath = beside(".out");
    const auto errPath = beside(".err");
    BinaryRun run;
    run.exitStatus = runCommand(folder, launcher, arguments, inputPath, outPath, errPath);
    run.out = readFile(outPath);
    run.err = readFile(errPath);
    std::filesystem::remove(inputPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return run;
}

namespace {

// A record's text: every line of it without its leading blank column.
std::string withoutLeadingBlank(const std::string& line) {
    return line.empty() ? line : line.substr(1);
}

}  // namespace

LoggedRun readResultsLog(const std::filesystem::path& path) {
    std::istringstream lines(readFile(path));
    std::string line;
    enum class Section { start, scramble, solution, done } section = Section::start;
    std::string scrambleText;
    std::string solutionText;
    LoggedRun run;
    while (std::getline(lines, line)) {
        if (line == " Scramble : ") {
            section = Section::scramble;
        } else if (line.rfind(" whole cube", 0) == 0) {
            run.rotationLines.push_back(line.substr(1));
        } else if (line == " Solution : ") {
            section = Section::solution;
        } else if (line.rfind(" total moves # : ", 0) == 0) {
            run.total = std::stoi(line.substr(17));
            section = Section::done;
        } else if (section == Section::scramble) {
            scrambleText += withoutLeadingBlank(line);
        } else if (section == Section::solution) {
            solutionText += withoutLeadingBlank(line);
        } else {
            throw std::runtime_error("unexpected line in results.txt: " + line);
        }
    }
    run.scramble = movesFromText(scrambleText);
    run.solution = movesFromText(solutionText);
    return run;
}

CubeState replayLoggedRun(const LoggedRun& run) {
    CubeState cube = applySequence(solvedCube(), run.scramble);
    for (const std::string& rotation : run.rotationLines) {
        if (rotation == "whole cube clockwise rotation around Oz (= y)") {
            cube = rotateY(cube);
        } else if (rotation == "whole cube rotation around FUR corner (=xy)") {
            cube = rotateXY(cube);
        } else if (rotation == "whole cube rotation around LR horizontal axis (=x)") {
            cube = rotateX(cube);
        } else {
            throw std::runtime_error("unknown rotation line: " + rotation);
        }
    }
    return applySequence(cube, run.solution);
}

}  // namespace cubega::testing
