#pragma once

#include <QColor>
#include <QLineF>
#include <QWidget>

#include <array>

class QSettings;

namespace velmora::ui {

// One of the control's border lines, in the control's units (twips) from its top-left corner.
struct BorderLine {
    QLineF line;
    QColor colour;
    int width = 1; // pixels
    bool visible = false;
};

// Line0(0..1), Line1(0..1), Line2(0..1), Line3(0..1), LineFocus(0..3).
using BorderLines = std::array<BorderLine, 12>;

// The twelve lines of border style 0 (raised), 1 (pressed), 2 (thin sunken) or 3 (thin
// raised) for an inner size of w x h units, starting from the lines as they are: a style
// outside 0..3 leaves them unchanged.
BorderLines borderLines(BorderLines current, int style, int w, int h, const QColor& windowText);

// A surface that raises Click and draws one of four border styles chosen from outside through
// ForcerBorder. Its three properties persist under their names through Qt's property system.
class BouttonBorder final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(qint16 BackStyle READ backStyle WRITE setBackStyle NOTIFY propertyChanged)
    Q_PROPERTY(QColor BackColor READ backColor WRITE setBackColor NOTIFY propertyChanged)
    Q_PROPERTY(qint16 ForcerBorder READ forcerBorder WRITE setForcerBorder NOTIFY propertyChanged)

public:
    explicit BouttonBorder(QWidget* parent = nullptr);

    qint16 backStyle() const { return m_backStyle; }
    void setBackStyle(qint16 style);
    QColor backColor() const;
    void setBackColor(const QColor& colour);
    qint16 forcerBorder() const { return m_forcerBorder; }
    void setForcerBorder(qint16 style);

    // Draws a style with the current size without changing ForcerBorder.
    void SForcer(qint16 style);

    const BorderLines& lines() const { return m_lines; }

    // Host persistence: the three properties under their names, with their defaults.
    void writeProperties(QSettings& settings) const;
    void readProperties(const QSettings& settings);

signals:
    void Click();
    void propertyChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void resizeStep();

    qint16 m_backStyle = 0;
    qint16 m_forcerBorder = 0;
    int m_w = 0; // twips
    int m_h = 0; // twips
    BorderLines m_lines{};
};

} // namespace velmora::ui
