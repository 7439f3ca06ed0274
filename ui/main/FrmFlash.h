#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QTimer;

namespace velmora::ui {

// The splash shown modally at start-up: frameless, it closes on a click anywhere or when its
// one-second timer fires, whichever comes first.
class FrmFlash final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kIntervalMs = 1000;

    explicit FrmFlash(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    std::array<QLabel*, 2> Label2{}; // one text in two colours, the second over the first
    QLabel* Lab = nullptr;
    QTimer* Timer = nullptr;

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace velmora::ui
