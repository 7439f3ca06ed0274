#include "ui/listings/FrmAnalyse.h"

#include "resources/VelmoraResources.h"
#include "ui/common/DialogParts.h"
#include "ui/common/Look.h"

#include <QFile>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>
#include <QVBoxLayout>

namespace velmora::ui {

using namespace Qt::StringLiterals;

FrmAnalyse::FrmAnalyse()
{
    setWindowTitle(QString(40, u' ') + u"تحليل الهيئة الفلكية"_s);
    setFont(dialogFont());

    Text1 = new QTextEdit(this);
    Text1->setReadOnly(true);
    // An Arabic page: every paragraph starts at the right edge, short ones too.
    QTextOption paragraphs = Text1->document()->defaultTextOption();
    paragraphs.setTextDirection(Qt::RightToLeft);
    paragraphs.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    Text1->document()->setDefaultTextOption(paragraphs);
    QFile page(kInformationText);
    if (page.open(QIODevice::ReadOnly))
        Text1->setMarkdown(QString::fromUtf8(page.readAll()));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setFont(dialogFont(10));
    Text1->setMinimumSize(520, 380);

    CmdOK = new QPushButton(u"موافق"_s, this);
    connect(CmdOK, &QPushButton::clicked, this, &QWidget::hide);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text1);
    layout->addLayout(buttonRow({CmdOK}));
}

} // namespace velmora::ui
