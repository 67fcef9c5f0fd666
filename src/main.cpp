// cube-solver: solves a scrambled 3x3x3 cube with a genetic search; with no argument at the
// console, with arguments from the command line.
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

#include "cli/command_line.hpp"
#include "dialogue/driver.hpp"
#include "genetic/clock.hpp"

namespace {

// The arguments in UTF-8. Windows hands main its arguments in the console's code page, which
// cannot spell every file name: they are taken from the wide command line there instead.
std::vector<std::string> utf8Arguments(int argc, char** argv) {
#ifdef _WIN32
    (void)argv;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string argument(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, argument.data(), size, nullptr, nullptr);
        arguments.push_back(std::move(argument));
    }
    LocalFree(wide);
    (void)argc;
    return arguments;
#else
    return {argv, argv + argc};
#endif
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // Lines end with LF alone, as on every other system: the output is the same bytes
    // everywhere, and a Windows console shows it as well. (Answers may end with CR LF.)
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    if (argc > 1) {
        const std::vector<std::string> arguments = utf8Arguments(argc, argv);
        std::vector<const char*> pointers;
        for (const std::string& argument : arguments) {
            pointers.push_back(argument.c_str());
        }
        cubega::CommandLineStreams streams{std::cin, std::cout, std::cerr, isatty(2) == 1, {}};
        return cubega::runCommandLine(static_cast<int>(pointers.size()), pointers.data(), streams);
    }
    cubega::SystemClock clock;
    cubega::DialogueEnvironment environment{std::cin, std::cout, std::cerr, clock};
    return cubega::holdDialogue(environment);
}
