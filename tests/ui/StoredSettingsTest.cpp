#include "tests/ui/UiTestSupport.h"
#include "ui/main/FrmDataTime.h"
#include "ui/place/FrmReperXY.h"
#include "ui/settings/ColorSwatch.h"
#include "ui/settings/FrmThemeProprietees.h"
#include "ui/settings/StoredSettings.h"

#include <QSettings>

using namespace velmora;
using namespace velmora::ui;
using namespace velmora::ui::testing;
using namespace Qt::StringLiterals;

namespace {

// Every appearance control as the settings file would keep it.
QMap<QString, QString> controls(const FrmThemeProprietees& dialog, const QString& path)
{
    QFile::remove(path);
    QSettings file(path, QSettings::IniFormat);
    storeAppearance(dialog, file);
    QMap<QString, QString> values;
    for (const QString& key : file.allKeys())
        values[key] = file.value(key).toString();
    return values;
}

} // namespace

class StoredSettingsTest final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_file = m_dir.filePath(u"velmora.ini"_s);
    QMap<QString, QString> m_start; // the start values, from a dialog that read no file

private slots:
    void initTestCase()
    {
        m_start = controls(*fresh<FrmThemeProprietees>(), m_dir.filePath(u"start.ini"_s));
        qputenv("VELMORA_SETTINGS", m_file.toUtf8());
        FrmReperXY::whenCreated() = &FrmDataTime::followPlacePicker; // as the main window does
    }

    void appearanceConfirmedByOkSurvivesARestart()
    {
        FrmThemeProprietees* dialog = fresh<FrmThemeProprietees>();
        dialog->LabColor[2]->setValue(0x123456);
        dialog->TxtAspect[4]->setText(u"3"_s);
        dialog->Planete[13]->setChecked(false);
        dialog->OptZodiacGrph[0]->setChecked(true);
        dialog->ChkSpread->setChecked(false);
        dialog->showPicture(kWorldMapImage, QImage(kWorldMapImage));
        dialog->CmdOK->click();
        const auto confirmed = controls(*dialog, m_dir.filePath(u"confirmed.ini"_s));
        QCOMPARE(controls(*fresh<FrmThemeProprietees>(), m_dir.filePath(u"again.ini"_s)),
                 confirmed);
        QVERIFY(confirmed != m_start);
    }

    // The unsound lines after a sound one, which stays.
    void anUnsoundValueGivesItsStartValueAndTheRestStays_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::newRow("negative colour") << QByteArray("color0=-1");
        QTest::newRow("colour beyond 24 bits") << QByteArray("color0=16777216");
        QTest::newRow("orb of letters") << QByteArray("orb1=ab");
        QTest::newRow("orb longer than its box") << QByteArray("orb1=123");
        QTest::newRow("flag neither true nor false") << QByteArray("pointShown3=maybe");
        QTest::newRow("picture that is gone") << QByteArray("backgroundPicture=/nonexistent.bmp");
        QTest::newRow("garbage") << QByteArray("\x00\xff[appearance\ncolor0=\x01\x02\n=\n[[", 22);
    }

    void anUnsoundValueGivesItsStartValueAndTheRestStays()
    {
        QFETCH(QByteArray, lines);
        QVERIFY(writeFile(m_file, "[appearance]\nhouses=false\n" + lines + '\n'));
        auto expected = m_start;
        expected[u"appearance/houses"_s] = u"false"_s;
        QCOMPARE(controls(*fresh<FrmThemeProprietees>(), m_dir.filePath(u"read.ini"_s)), expected);
        QVERIFY(!restoredEntry(QSettings(m_file, QSettings::IniFormat)).place);
    }

    void theLastNameAndCitySurviveARestart()
    {
        QFile::remove(m_file);
        setClock(QDateTime(QDate(2026, 12, 6), QTime(12, 0)));
        FrmDataTime* entry = fresh<FrmDataTime>();
        FrmReperXY* picker = shown(fresh<FrmReperXY>());
        pickCity(picker, u"Paris"_s);
        picker->CmdOK->click();
        entry->TxtNom->setText(u"سعاد"_s);
        recordMessages();
        entry->CmdOK->click();
        QVERIFY(messages().isEmpty());
        const QString summary = entry->LabVille->text();

        FrmDataTime::instance()->deleteLater();
        fresh<FrmReperXY>();
        deleteClosedWindows();
        QCOMPARE(FrmDataTime::instance()->TxtNom->text(), u"سعاد"_s);
        QCOMPARE(FrmDataTime::instance()->LabVille->text(), summary);
        QCOMPARE(FrmReperXY::instance()->requestPlace().atlas->timeZone, "Europe/Paris");
        // Unsound coordinates bring back no place at all.
        QSettings(m_file, QSettings::IniFormat).setValue(u"entry/latDeg"_s, u"95"_s);
        QVERIFY(!restoredEntry(QSettings(m_file, QSettings::IniFormat)).place);
    }
};

VELMORA_UI_TEST_MAIN(StoredSettingsTest)
#include "StoredSettingsTest.moc"
