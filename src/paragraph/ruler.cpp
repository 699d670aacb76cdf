#include "paragraph/ruler.h"

#include "base/messages.h"

#include "base/dialogs.h"
#include "base/units.h"
#include "editor/richtextbox.h"

#include <QEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int rulerHeightTwips = 255;
constexpr double scaleFontPoints = 7;
const QColor bandColour(192, 192, 192);

// Indents convert to the ruler's centimetres by their own ratio, not by the
// drawing scale.
constexpr double cmPerIndentPixel = units::cmPerPixelNumerator / units::cmPerPixelDenominator;
// The right band starts this far past the text width.
constexpr double rightBandSlackPx = 8;
constexpr double rightBandWidthCm = 300;
// Beyond any screen, until the selection gives a right indent.
constexpr double rightBandStartCm = 1000;

// The scale runs at least this far, and on to the ruler's right end.
constexpr int shortestScaleCm = 12;
constexpr double longTickTopCm = 0.1;
constexpr double longTickBottomCm = 0.25;
constexpr double shortTickTopCm = 0.15;
constexpr double shortTickBottomCm = 0.2;
constexpr double oneDigitShiftCm = 0.15;
constexpr double twoDigitShiftCm = 0.25;

constexpr int markerSidePx = 32;
// The mark's stroke stands this far into the marker image.
constexpr double markerStrokeXPx = 16;
constexpr double markerTopCm = -0.1;
// A dropped marker's stop lies this far right of its left edge; the drag
// stops where the stop would reach the text's left edge.
constexpr double markerDropShiftCm = 0.4;
constexpr double markerLeftMinCm = -markerDropShiftCm;
constexpr double markerLeftMaxCm = 8.1;

int pixelsOf(double cm) {
    return qRound(cm * Ruler::pixelsPerCm);
}

QPointF pointOf(double xCm, double yCm) {
    return {xCm * Ruler::pixelsPerCm, yCm * Ruler::pixelsPerCm};
}

// The layout, among layout and those nested in it, that holds widget itself.
QLayout *layoutHolding(QLayout *layout, const QWidget *widget) {
    if (!layout) return nullptr;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->widget() == widget) return layout;
        if (QLayout *found = layoutHolding(item->layout(), widget)) return found;
    }
    return nullptr;
}

} // namespace

// An L-shaped tab mark the user drags along the ruler; its left edge is kept
// in centimetres so that a drop does not lose fractions of a pixel.
class Ruler::Marker : public QWidget {
public:
    Marker(int index, Ruler &ruler) : QWidget(&ruler), m_index(index), m_ruler(ruler) {
        setObjectName(QStringLiteral("tiptab(%1)").arg(index));
        resize(markerSidePx, markerSidePx);
        placeAt(0);
        hide();
    }

    double leftCm() const { return m_leftCm; }
    void placeAt(double leftCm) {
        m_leftCm = leftCm;
        move(pixelsOf(leftCm), pixelsOf(markerTopCm));
    }

protected:
    void paintEvent(QPaintEvent *) override {
        // The ruler shows the image's rows 4 to 20 px only.
        constexpr int strokeXPx = int(markerStrokeXPx);
        constexpr int strokeTopPx = 7, strokeLengthPx = 12, thicknessPx = 2, footLengthPx = 7;
        constexpr int footTopPx = strokeTopPx + strokeLengthPx - thicknessPx;
        QPainter painter(this);
        painter.fillRect(strokeXPx, strokeTopPx, thicknessPx, strokeLengthPx, Qt::black);
        painter.fillRect(strokeXPx, footTopPx, footLengthPx, thicknessPx, Qt::black);
    }
    // Taking the press keeps the click away from the ruler underneath.
    void mousePressEvent(QMouseEvent *event) override { event->accept(); }
    void mouseMoveEvent(QMouseEvent *event) override {
        if (event->buttons() != Qt::NoButton) m_ruler.dragMarker(m_index, event->position().x());
    }
    void mouseReleaseEvent(QMouseEvent *) override { m_ruler.dropMarker(m_index); }

private:
    int m_index;
    Ruler &m_ruler;
    double m_leftCm = 0;
};

Ruler::Ruler(RichTextBox &exo, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent), m_exo(exo), m_dialogs(dialogs), m_droiteLeftCm(rightBandStartCm) {
    setObjectName(QStringLiteral("regle"));
    setFixedHeight(rulerHeightTwips / units::twipsPerPixel);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    QFont small = font();
    small.setPointSizeF(scaleFontPoints);
    setFont(small);
    for (int i = 0; i < markerCount; ++i)
        m_markers[i] = new Marker(i, *this);
    // The right band follows the text's width as the window is resized.
    m_exoViewport = m_exo.viewport();
    m_exoViewport->installEventFilter(this);
}

bool Ruler::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::Resize && watched == m_exoViewport) showIndents();
    return QWidget::eventFilter(watched, event);
}

QWidget *Ruler::tiptab(int i) const {
    return i >= 0 && i < markerCount ? m_markers[i] : nullptr;
}

double Ruler::markerLeftCm(int i) const {
    return i >= 0 && i < markerCount ? m_markers[i]->leftCm() : 0;
}

void Ruler::setTextAreaOffset(int pixels) {
    QWidget *row = parentWidget();
    if (!row) return;
    if (QLayout *layout = layoutHolding(row->layout(), this)) {
        QMargins margins = layout->contentsMargins();
        margins.setLeft(pixels);
        layout->setContentsMargins(margins);
    } else {
        move(pixels, y());
    }
}

void Ruler::showIndents() {
    // A mix of paragraphs leaves a band where it was.
    if (const auto indentPx = m_exo.selIndent()) m_gaucheWidthCm = *indentPx * cmPerIndentPixel;
    if (const auto rightIndentPx = m_exo.selRightIndent())
        m_droiteLeftCm =
            (m_exo.rightMargin() + rightBandSlackPx - *rightIndentPx) * cmPerIndentPixel;
    update();
    majregle();
}

void Ruler::majregle() {
    const std::optional<int> count = m_exo.selTabCount();
    if (!count) return;
    const int shown = std::clamp(*count, 0, markerCount);
    for (int i = 0; i < shown; ++i) {
        const std::optional<double> stopPx = m_exo.selTabs(i);
        if (!stopPx) continue;
        m_markers[i]->placeAt((*stopPx - markerStrokeXPx) / pixelsPerCm);
        m_markers[i]->show();
    }
    for (int j = shown; j < markerCount; ++j)
        m_markers[j]->hide();
}

void Ruler::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    paintBands(painter);
    paintScale(painter);
}

void Ruler::paintBands(QPainter &painter) {
    const double heightPx = height();
    painter.fillRect(QRectF(0, 0, m_gaucheWidthCm * pixelsPerCm, heightPx), bandColour);
    painter.fillRect(
        QRectF(m_droiteLeftCm * pixelsPerCm, 0, rightBandWidthCm * pixelsPerCm, heightPx),
        bandColour);
}

void Ruler::paintScale(QPainter &painter) {
    painter.setPen(Qt::black);
    const int scaleLengthCm = std::max(shortestScaleCm, int(std::ceil(width() / pixelsPerCm)) + 1);
    for (int n = 0; n < scaleLengthCm; ++n) {
        const double xCm = n + 0.5;
        painter.drawLine(pointOf(xCm, longTickTopCm), pointOf(xCm, longTickBottomCm));
    }
    for (int k = 0; k < 2 * scaleLengthCm; ++k) {
        const double xCm = 0.25 + 0.5 * k;
        painter.drawLine(pointOf(xCm, shortTickTopCm), pointOf(xCm, shortTickBottomCm));
    }
    const QFontMetrics metrics(font());
    for (int n = 1; n < scaleLengthCm; ++n) {
        const double xCm = n - (n < 10 ? oneDigitShiftCm : twoDigitShiftCm);
        const QString label = QString::number(n);
        painter.drawText(
            QRectF(pointOf(xCm, 0), QSizeF(metrics.horizontalAdvance(label) + 1, metrics.height())),
            Qt::AlignLeft | Qt::AlignTop, label);
    }
}

void Ruler::mousePressEvent(QMouseEvent *event) {
    // Taken so that the release comes back here.
    event->accept();
}

void Ruler::mouseReleaseEvent(QMouseEvent *event) {
    if (!rect().contains(event->position().toPoint())) return;
    addTabStopAt(event->position().x() / pixelsPerCm);
}

void Ruler::addTabStopAt(double xCm) {
    bool added = false;
    {
        // The stops shift one by one to make room: one step for the click.
        const RichTextBox::UndoStep step(m_exo);
        added = m_exo.selTabCount() && insertTabStop(std::nearbyint(xCm * pixelsPerCm));
    }
    if (!added) {
        refuseTab();
        return;
    }
    majregle();
    m_exo.setFocus();
}

bool Ruler::insertTabStop(double positionPx) {
    const std::optional<int> count = m_exo.selTabCount();
    if (!count) return false;
    const int n = *count + 1;
    m_exo.setSelTabCount(n);
    int k = 0;
    for (int i = 0; i <= n - 2; ++i) {
        const std::optional<double> stopPx = m_exo.selTabs(i);
        if (!stopPx) return false;
        if (positionPx >= *stopPx) k = i + 1;
    }
    for (int i = n - 1; i >= k + 1; --i) {
        const std::optional<double> previousPx = m_exo.selTabs(i - 1);
        if (!previousPx) return false;
        m_exo.setSelTabs(i, *previousPx);
    }
    m_exo.setSelTabs(k, positionPx);
    return true;
}

void Ruler::refuseTab() {
    m_dialogs.message(messages::tabRefusal());
    m_exo.setFocus();
}

void Ruler::dragMarker(int index, double pointerXPx) {
    Marker &marker = *m_markers[index];
    const double pointerTwips = pointerXPx * units::twipsPerPixel;
    const double leftCm =
        marker.leftCm() + (pointerTwips - units::markerGripTwips) / double(units::twipsPerCm);
    marker.placeAt(std::clamp(leftCm, markerLeftMinCm, markerLeftMaxCm));
}

void Ruler::dropMarker(int index) {
    m_exo.setSelTabs(index, (m_markers[index]->leftCm() + markerDropShiftCm) * pixelsPerCm);
    majregle();
}
