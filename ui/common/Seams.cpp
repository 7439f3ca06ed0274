#include "ui/common/Seams.h"

#include "ui/common/BidiText.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QUrl>

namespace velmora::ui {

CriticalMessage& criticalMessage()
{
    static CriticalMessage show = [](QWidget* parent, const QString& title, const QString& text) {
        QMessageBox::critical(parent, title, isolateRuns(text), QMessageBox::Ok);
    };
    return show;
}

InformationMessage& informationMessage()
{
    static InformationMessage show = [](QWidget* parent, const QString& title,
                                        const QString& text) {
        QMessageBox::information(parent, title, isolateRuns(text), QMessageBox::Ok);
    };
    return show;
}

Question& question()
{
    static Question ask = [](QWidget* parent, const QString& title, const QString& text) {
        return QMessageBox::question(parent, title, isolateRuns(text),
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    };
    return ask;
}

TextAsker& textAsker()
{
    static TextAsker ask = [](QWidget* parent, const QString& title, const QString& label,
                              const QString& initial, bool lines) -> std::optional<QString> {
        QInputDialog dialog(parent);
        dialog.setWindowTitle(title);
        dialog.setLabelText(label);
        dialog.setOption(QInputDialog::UsePlainTextEditForTextInput, lines);
        dialog.setTextValue(initial);
        // Qt's plain text box lays its lines out left to right whatever the window's direction.
        for (QPlainTextEdit* box : dialog.findChildren<QPlainTextEdit*>()) {
            QTextOption option = box->document()->defaultTextOption();
            option.setTextDirection(Qt::RightToLeft);
            option.setAlignment(Qt::AlignRight);
            box->document()->setDefaultTextOption(option);
        }
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.textValue();
    };
    return ask;
}

Clock& clock()
{
    static Clock now = [] { return QDateTime::currentDateTime(); };
    return now;
}

ColorChooser& colorChooser()
{
    static ColorChooser choose = [](QWidget* parent, const QColor& initial) {
        return QColorDialog::getColor(initial, parent);
    };
    return choose;
}

namespace {

// Qt's Arabic captions put the shortcut's mark inside a word, which breaks the joined letters
// of "احفظ" and cuts "إلغاء": the buttons are named without one.
void nameButtons(QFileDialog& dialog, const char* accept)
{
    dialog.setLabelText(QFileDialog::Accept, QString::fromUtf8(accept));
    dialog.setLabelText(QFileDialog::Reject, QString::fromUtf8("إلغاء"));
}

} // namespace

OpenFileChooser& openFileChooser()
{
    static OpenFileChooser choose = [](QWidget* parent, const QString& caption,
                                       const QString& folder, const QString& filters) {
        QFileDialog dialog(parent, caption, folder, filters);
        dialog.setFileMode(QFileDialog::ExistingFile);
        nameButtons(dialog, "فتح");
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    };
    return choose;
}

SaveFileChooser& saveFileChooser()
{
    static SaveFileChooser choose = [](QWidget* parent, const QString& caption,
                                       const QString& folder, const QString& filters) {
        QFileDialog dialog(parent, caption, folder, filters);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        nameButtons(dialog, "حفظ");
        // A name typed without a suffix takes the chosen filter's before the dialog asks
        // about overwriting, so that the question is about the file that will be written.
        auto takeSuffix = [&dialog](const QString& filter) {
            const QRegularExpressionMatch pattern =
                QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
            dialog.setDefaultSuffix(pattern.hasMatch() ? pattern.captured(1).toLower() : QString());
        };
        takeSuffix(dialog.selectedNameFilter());
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, takeSuffix);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return SaveChoice{};
        return SaveChoice{dialog.selectedFiles().constFirst(), dialog.selectedNameFilter()};
    };
    return choose;
}

LinkOpener& linkOpener()
{
    static LinkOpener open = [](const QUrl& link) { return QDesktopServices::openUrl(link); };
    return open;
}

PrintPreview& printPreview()
{
    static PrintPreview show = [](QWidget* parent, const QString& document,
                                  const std::function<void(QPrinter&)>& paint) {
        QPrinter printer(QPrinter::HighResolution);
        // The print dialog offers the job's name as a file's: a date's slashes would name folders.
        printer.setDocName(QString(document).replace(u'/', u'-'));
        // Its print button opens the print dialog, then paints again onto the printer chosen.
        QPrintPreviewDialog preview(&printer, parent);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                         [&paint](QPrinter* shown) { paint(*shown); });
        preview.exec();
    };
    return show;
}

} // namespace velmora::ui
