// Mouse events go through the window system's path, as in the chart window's own tests.
#define QTEST_QPA_MOUSE_HANDLING
#include "ui/library/FrmLibrary.h"

#include "core/PositionTexts.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/chart/FrmChart.h"
#include "ui/library/LibraryAccess.h"
#include "ui/main/FrmDataTime.h"
#include "ui/main/MDIFrmMain.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableWidget>

using namespace velmora;
using namespace velmora::ui;
using namespace velmora::ui::testing;
using namespace Qt::StringLiterals;

class FrmLibraryTest final : public QObject {
    Q_OBJECT

private:
    MDIFrmMain* main = nullptr;
    QTemporaryDir folder;
    QString asked; // what the last text question proposed

    QList<FrmChart*> charts() const
    {
        QList<FrmChart*> windows;
        for (QMdiSubWindow* frame : main->mdiArea()->subWindowList())
            windows.append(qobject_cast<FrmChart*>(frame->widget()));
        return windows;
    }

    QStringList names(FrmLibrary* library) const
    {
        QStringList shown;
        for (int r = 0; r < library->GrdCharts->rowCount(); ++r)
            shown.append(library->GrdCharts->item(r, 0)->text());
        return shown;
    }

private slots:
    void initTestCase()
    {
        recordMessages();
        question() = [](QWidget*, const QString&, const QString&) { return true; };
        textAsker() = [this](QWidget*, const QString&, const QString&, const QString& initial,
                             bool) -> std::optional<QString> {
            asked = initial;
            return initial;
        };
        setClock(QDateTime(QDate(2004, 3, 3), QTime(9, 5, 40)));
        main = new MDIFrmMain;
        main->show();
    }

    void aChartSavedFromItsWindowReopensAsTheSameChart()
    {
        FrmDataTime* entry = entryFor(ChartKind::Natal);
        applyEdits(entry, u"TxtNom=سلمى TxtHeure0=8"_s);
        entry->CmdOK->click();
        QCOMPARE(charts().size(), 1);
        FrmChart* saved = charts()[0];
        QTest::mouseClick(saved->LabMenu[FrmChart::SaveChart], Qt::LeftButton);
        QCOMPARE(asked, u"سلمى"_s);

        main->CmdLibrary->click();
        FrmLibrary* library = FrmLibrary::instance();
        QVERIFY(library->isVisible());
        QCOMPARE(names(library), QStringList{u"سلمى"_s});
        library->CmdOpen->click();
        QCOMPARE(charts().size(), 2);
        const FrmChart* reopened = charts()[1];
        QCOMPARE(reopened->caption(), saved->caption());
        // The ascendant moves with the date, the time and the place alike; the rest is ChartLibraryTest's.
        QCOMPARE(reopened->chart().HouseCusps[0], saved->chart().HouseCusps[0]);

        // Both computations are in the recent list.
        library->CboFilter->setCurrentIndex(FrmLibrary::Recent);
        QCOMPARE(names(library), (QStringList{u"سلمى"_s, u"سلمى"_s}));
        QVERIFY(!library->CmdDelete->isEnabled());
        QVERIFY(messages().isEmpty());
    }

    void importSearchesAndDeletes()
    {
        const QString file = folder.filePath(u"in.aaf"_s);
        QVERIFY(writeFile(file, "#A93:Ferber,Tobias,m,27.9.1970,11:04,Kandel,D\n#B93:*,49n05,8e11,1he00,0\n"
                                "#A93:Bad,Date,m,31.2.1990,12:00,*,*\n#B93:*,10n00,10e00,1he00,0\n"
                                "#A93:\xd8\xa7\xd9\x84\xd8\xb9\xd9\x84\xd9\x8a,\xd9\x81\xd8\xa7\xd8\xb7\xd9\x85\xd8\xa9,"
                                "f,1.1.1990,12:00,*,*\n#B93:*,34n01,6e50,0he00,0\n"));
        openFileChooser() = [file](QWidget*, const QString&, const QString&, const QString&) { return file; };
        FrmLibrary* library = FrmLibrary::instance();
        library->CmdImport->click();
        QCOMPARE(messages().size(), 1);
        QVERIFY2(messages()[0].contains(u"السطر 3"_s), qPrintable(messages()[0]));
        QCOMPARE(names(library).size(), 3);

        library->TxtSearch->setText(u"فاطمه"_s); // taa marbuta typed as haa
        QCOMPARE(names(library), QStringList{u"فاطمة العلي"_s});
        library->CmdDelete->click();
        QCOMPARE(names(library), QStringList{});
        library->TxtSearch->clear();
        QCOMPARE(names(library).size(), 2);
    }

    void dataEntryFillsTheFirstRowAndPlaceFromASavedChart()
    {
        FrmDataTime* entry = fresh<FrmDataTime>();
        onNextModal<FrmLibrary>([](FrmLibrary* chooser) {
            chooser->TxtSearch->setText(u"kandel"_s);
            chooser->CmdOpen->click();
        });
        entry->CmdSaved->click();
        QCOMPARE(entry->TxtNom->text(), u"Tobias Ferber"_s);
        QCOMPARE(entry->TxtJour[0]->text() + u'.' + entry->TxtAnnee[0]->text(), u"27.1970"_s);
        QVERIFY2(entry->LabVille->text().contains(u"Kandel"_s), qPrintable(entry->LabVille->text()));
    }

    void aNameLongerThanTheDataEntryTakesIsRefused()
    {
        const TextAsker kept = textAsker();
        textAsker() = [](QWidget*, const QString&, const QString&, const QString&, bool) {
            return std::optional<QString>(QString(kLongestName + 1, u'x'));
        };
        messages().clear();
        const bool saved = saveRequestAs(nullptr, ChartRequest{}, {});
        textAsker() = kept;
        QVERIFY(!saved);
        QCOMPARE(messages().size(), 1);
    }
};

VELMORA_UI_TEST_MAIN(FrmLibraryTest)
#include "FrmLibraryTest.moc"
