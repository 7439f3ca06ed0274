#include "resources/VelmoraResources.h"
#include "ui/common/Look.h"
#include "ui/main/MDIFrmMain.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QApplication::setWindowIcon(QIcon(velmora::kEmblemImage));
    velmora::ui::arabicQtDialogs();
    velmora::registerSymbolFont();

    velmora::ui::MDIFrmMain window;
    window.startUp();
    window.show();
    return QApplication::exec();
}
