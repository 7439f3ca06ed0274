#include "VelmoraVersion.h"
#include "resources/VelmoraResources.h"
#include "ui/common/Look.h"
#include "ui/main/MDIFrmMain.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    // Answered before Qt starts, so that it needs no display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("velmora %s\n", velmora::kVersion);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    QApplication::setApplicationVersion(QString::fromLatin1(velmora::kVersion));
    QApplication::setDesktopFileName(QStringLiteral("org.velmora.Velmora"));
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QApplication::setWindowIcon(QIcon(velmora::kEmblemImage));
    velmora::ui::arabicQtDialogs();
    velmora::registerSymbolFont();

    velmora::ui::MDIFrmMain window;
    window.startUp();
    window.show();
    return QApplication::exec();
}
