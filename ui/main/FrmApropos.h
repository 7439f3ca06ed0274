#pragma once

#include "ui/common/SingleDialog.h"

#include <array>

class QLabel;
class QPushButton;

namespace velmora::ui {

// The about box: version, credits and the contact link, which hands a mail address to the
// desktop's mail program.
class FrmApropos final : public SingleDialog<FrmApropos> {
    Q_OBJECT

public:
    static const QString kContactAddress;

    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    std::array<QLabel*, 2> LabTitle{}; // one text in two colours, the second over the first
    QLabel* LabVersion = nullptr;
    QLabel* LabActiveURL = nullptr;
    QPushButton* CmdOK = nullptr;

    // Opens the contact address; says so when no mail program could be started.
    void openContact();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class SingleDialog<FrmApropos>;
    FrmApropos();
};

} // namespace velmora::ui
