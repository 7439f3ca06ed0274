#include "cli/EphemeridesReport.h"

#include <iostream>

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto result =
        velmora::cli::runCommand(args, velmora::chartState(), velmora::swissEphemeris());
    std::cout << result.output;
    if (!result.error.empty())
        std::cerr << result.error << '\n';
    return result.exitCode;
}
