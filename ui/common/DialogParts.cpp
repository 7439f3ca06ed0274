#include "ui/common/DialogParts.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace velmora::ui {

namespace {

class SelectAllOnFocus final : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            auto* box = static_cast<QLineEdit*>(watched);
            // A click places the cursor after the focus arrives, so select once it has done so.
            if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
                QTimer::singleShot(0, box, &QLineEdit::selectAll);
            else
                box->selectAll();
        }
        return false;
    }
};

} // namespace

void selectAllOnFocus(QLineEdit* box)
{
    box->installEventFilter(new SelectAllOnFocus(box));
}

QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons) {
        button->setAutoDefault(false);
        row->addWidget(button);
    }
    return row;
}

void keepLengthLimit(QLineEdit* box, int limit)
{
    box->setMaxLength(limit);
    QObject::connect(box, &QLineEdit::textChanged, box, [box, limit](const QString& text) {
        // Only on a change: setting the limit resets the box's undo history.
        const int wanted = std::max(limit, static_cast<int>(text.size()));
        if (box->maxLength() != wanted)
            box->setMaxLength(wanted);
    });
}

void setTextBeyondLimit(QLineEdit* box, const QString& text)
{
    // Widened first: the box would cut the text to its limit.
    box->setMaxLength(std::max(box->maxLength(), static_cast<int>(text.size())));
    box->setText(text);
}

std::string boxText(const QLineEdit* box)
{
    return box->text().toStdString();
}

} // namespace velmora::ui
