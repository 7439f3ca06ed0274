#pragma once

#include <QCloseEvent>
#include <QDialog>

namespace velmora::ui {

// A dialog that exists at most once: instance() builds it on first use, its buttons and Esc only
// hide it so it keeps its fields (a dialog without a cancel button makes Esc do nothing), and a
// close by the window frame discards it, so that the next instance() starts again from the
// initial values. Callers never keep the pointer across a modal run, which may discard it.
template <typename Dialog>
class SingleDialog : public QDialog {
public:
    static Dialog* instance()
    {
        if (!s_instance)
            s_instance = new Dialog();
        return s_instance;
    }

    // The instance if one exists, without building it.
    static Dialog* existing() { return s_instance; }

protected:
    explicit SingleDialog(Qt::WindowFlags flags = {})
        : QDialog(nullptr, flags)
    {
    }

    ~SingleDialog() override
    {
        if (s_instance == this)
            s_instance = nullptr;
    }

    void closeEvent(QCloseEvent* event) override
    {
        if (s_instance == this)
            s_instance = nullptr;
        event->accept();
        deleteLater();
    }

private:
    static inline Dialog* s_instance = nullptr;
};

} // namespace velmora::ui
