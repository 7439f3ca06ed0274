#include "VelmoraVersion.h"
#include "cli/EphemeridesReport.h"

#include <iostream>

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << "velmora-cli " << velmora::kVersion << '\n';
        return 0;
    }
    const auto result =
        velmora::cli::runCommand(args, velmora::chartState(), velmora::swissEphemeris(), &std::cout);
    std::cout << result.output;
    if (!result.error.empty())
        std::cerr << result.error << '\n';
    return result.exitCode;
}
