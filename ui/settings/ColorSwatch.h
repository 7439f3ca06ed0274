#pragma once

#include "core/ChartState.h"

#include <QLabel>

namespace velmora::ui {

// A small label that shows a stored colour as its background and reports clicks. It keeps the
// colour as the stored 0x00BBGGRR value, so reading it back never goes through a conversion.
class ColorSwatch final : public QLabel {
    Q_OBJECT

public:
    explicit ColorSwatch(ColorValue value, QWidget* parent = nullptr);

    ColorValue value() const { return m_value; }
    void setValue(ColorValue value);

signals:
    void clicked();
    void valueChanged(ColorValue value);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ColorValue m_value = 0;
};

} // namespace velmora::ui
