#pragma once

#include "ui/common/SingleDialog.h"

class QTextEdit;
class QPushButton;

namespace velmora::ui {

// The information window of the chart menu: a fixed page about the program, read-only.
class FrmAnalyse final : public SingleDialog<FrmAnalyse> {
    Q_OBJECT

public:
    QTextEdit* Text1 = nullptr;
    QPushButton* CmdOK = nullptr;

private:
    friend class SingleDialog<FrmAnalyse>;
    FrmAnalyse();
};

} // namespace velmora::ui
