#pragma once

#include "base/units.h"

#include <QWidget>
#include <array>

class Dialogs;
class RichTextBox;

// The centimetre ruler above the working editor: indent bands and up to ten
// tab-stop markers. A click on the ruler adds a tab stop to the selected
// paragraphs; dragging a marker and dropping it moves its stop.
class Ruler : public QWidget {
    Q_OBJECT
public:
    static constexpr int markerCount = 10;
    // Ruler coordinates: centimetres from the ruler's left edge, which is the
    // text area's left edge.
    static constexpr double pixelsPerCm = units::pixelsPerCmDrawing;

    Ruler(RichTextBox &exo, Dialogs &dialogs, QWidget *parent = nullptr);

    // Indent bands from the selection, then the markers (called by the
    // selection refresh).
    void showIndents();
    // Places the markers from the selection's tab stops.
    void majregle();

    // The bands, for tests.
    double gaucheWidthCm() const { return m_gaucheWidthCm; }
    double droiteLeftCm() const { return m_droiteLeftCm; }
    // The marker widgets, objectName "tiptab(0)".."tiptab(9)".
    QWidget *tiptab(int i) const;
    double markerLeftCm(int i) const;
    // x in pixels of the text area's left edge within the ruler's parent row;
    // the ruler's left edge (0 cm) is moved there: by the left margin of the
    // layout holding the ruler when there is one (that layout then holds the
    // ruler alone), else by moving the ruler.
    void setTextAreaOffset(int pixels);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    class Marker;

    void paintBands(QPainter &painter);
    void paintScale(QPainter &painter);
    void addTabStopAt(double xCm);
    // Inserts a stop at positionPx among the selection's sorted stops; false
    // when a stop cannot be read back.
    bool insertTabStop(double positionPx);
    void refuseTab();
    void dragMarker(int index, double pointerXPx);
    void dropMarker(int index);

    RichTextBox &m_exo;
    Dialogs &m_dialogs;
    QWidget *m_exoViewport = nullptr; // watched for the text width
    double m_gaucheWidthCm = 0;
    double m_droiteLeftCm;
    std::array<Marker *, markerCount> m_markers{};
};
