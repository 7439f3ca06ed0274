#include "ui/common/DialogParts.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

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

std::string boxText(const QLineEdit* box)
{
    return box->text().toStdString();
}

} // namespace velmora::ui
