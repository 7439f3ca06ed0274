#include "VelmoraVersion.h"
#include "picture/PictureCommand.h"

#include <QGuiApplication>

#include <iostream>

int main(int argc, char** argv)
{
    // Taken before Qt sees them: Qt would read some names (-platform, -reverse...) as its own.
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << "velmora-picture " << velmora::kVersion << '\n';
        return 0;
    }
    // Pictures need no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);

    const auto result = velmora::picture::runPicture(args, velmora::chartState(),
                                                     velmora::swissEphemeris(),
                                                     QDateTime::currentDateTime());
    std::cout << result.output;
    if (!result.error.empty())
        std::cerr << result.error << '\n';
    return result.exitCode;
}
