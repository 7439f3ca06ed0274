#pragma once

// What the window tests share: messages recorded, a fixed clock, the next modal dialog answered from
// inside its event loop, single-instance dialogs discarded as their frame's close does, windows shown
// and boxes edited, a main that runs as the program does, the controls and requests the tests use.
#include "core/ChartRequest.h"
#include "resources/VelmoraResources.h"
#include "ui/common/Seams.h"
#include "ui/ephemerides/FrmEphemirids.h"
#include "ui/main/FrmDataTime.h"
#include "ui/main/FrmSelectTypeChart.h"
#include "ui/place/FrmReperXY.h"
#include "wheel/CoreText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace velmora::ui::testing {

// The critical and information messages shown since the last clear, each as "title|text".
inline QStringList& messages()
{
    static QStringList shown;
    return shown;
}

inline void recordMessages()
{
    criticalMessage() = informationMessage() = [](QWidget*, const QString& title, const QString& text) {
        messages().append(title + u'|' + text);
    };
}

inline void setClock(const QDateTime& now)
{
    clock() = [now] { return now; };
}

// Runs `act` on the modal dialog that the next exec() shows, from inside its event loop, as a
// Dialog: null when the one shown is of another class.
template <typename Dialog = QWidget, typename Act>
void onNextModal(Act act)
{
    QTimer::singleShot(0, qApp, [act] { act(qobject_cast<Dialog*>(QApplication::activeModalWidget())); });
}

inline void deleteClosedWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Closes a single-instance dialog as its frame does, which discards it.
inline void discard(QWidget* dialog)
{
    dialog->close();
    deleteClosedWindows();
}

// The single-instance dialog afresh: an earlier one is shown (a hidden one gets no close event) and closed.
template <typename Dialog>
Dialog* fresh()
{
    Dialog::instance()->show();
    discard(Dialog::instance());
    return Dialog::instance();
}

// On screen (a single-instance dialog as shown(fresh<Dialog>())), for a test that watches it
// paint, and active when it types into it; a window that never shows fails the test.
template <typename Window>
Window* shown(Window* window, bool active = false)
{
    window->show();
    if (active)
        QApplication::setActiveWindow(window);
    if (!QTest::qWaitForWindowExposed(window) || (active && !QTest::qWaitForWindowActive(window)))
        QTest::qFail("the window was not shown", __FILE__, __LINE__);
    return window;
}

// The data entry afresh, the chart-type dialog's choice `kind`.
inline FrmDataTime* entryFor(ChartKind kind)
{
    FrmSelectTypeChart::instance()->OptChart[static_cast<int>(kind)]->setChecked(true);
    return fresh<FrmDataTime>();
}

// Types `name` into the picker's city search, its database view opened, letter by letter (keyClicks
// takes ASCII only); Enter then picks the first match.
inline void pickCity(FrmReperXY* picker, const QString& name, bool enter = true)
{
    if (picker->CmdStyle->text() != QStringLiteral("&الخريطة"))
        QTest::mouseClick(picker->CmdStyle, Qt::LeftButton);
    picker->TxtRecherche->clear();
    for (QChar letter : name)
        QTest::sendKeyEvent(QTest::Click, picker->TxtRecherche, Qt::Key_unknown, QString(letter), Qt::NoModifier);
    if (enter)
        QTest::keyClick(picker->TxtRecherche, Qt::Key_Return);
}

// Salma, 4 May 1990 at 08:15 in Mecca, by its coordinates: the clock is the longitude's zone.
inline ChartRequest meccaNatalRequest()
{
    ChartRequest request;
    request.name = "سلمى";
    request.first.texts = {"4", "5", "1990", "8", "15"};
    request.place.coordinates = {"39", "49", "21", "25", false, false};
    return request;
}

// A run of one table (planets 0, houses 1, aspects 2) for February at the place picker's place.
inline void runFebruary(FrmEphemirids* window, int kind, const QString& year = QStringLiteral("2024"))
{
    window->CmbMois->setCurrentIndex(1);
    window->TxtYears->setText(year);
    window->Opt[kind]->click();
    window->CmdCalculer->click();
}

// "TxtHeure0=24 TxtNom=" sets the box named TxtHeure0 to "24" and empties TxtNom; "ChkHijri0=1"
// ticks the box named ChkHijri0.
inline void applyEdits(QWidget* window, const QString& edits)
{
    for (const QString& edit : edits.split(u' ', Qt::SkipEmptyParts)) {
        const QString name = edit.section(u'=', 0, 0);
        if (auto* box = window->findChild<QCheckBox*>(name))
            box->setChecked(edit.section(u'=', 1) == QStringLiteral("1"));
        else
            window->findChild<QLineEdit*>(name)->setText(edit.section(u'=', 1));
    }
}

// How far apart two colours are, their channels' differences summed.
inline int colorDistance(const QColor& a, const QColor& b)
{
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue());
}

inline bool writeFile(const QString& path, const QByteArray& bytes = {})
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The file's bytes, none when it does not open.
inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace velmora::ui::testing

// The test's main, right to left with the symbol font, as the program runs.
#define VELMORA_UI_TEST_MAIN(TestClass)                                                          \
    int main(int argc, char** argv)                                                              \
    {                                                                                            \
        QApplication app(argc, argv);                                                            \
        QApplication::setLayoutDirection(Qt::RightToLeft);                                       \
        velmora::registerSymbolFont();                                                           \
        TestClass test;                                                                          \
        return QTest::qExec(&test, argc, argv);                                                  \
    }
