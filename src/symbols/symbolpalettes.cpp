#include "symbols/symbolpalettes.h"

#include "base/sharedstate.h"
#include "base/units.h"
#include "document/equilibriumsign.h"
#include "document/textproperties.h"
#include "editor/editcommands.h"
#include "editor/richtextbox.h"
#include "symbols/palettebuttons.h"
#include "widgets/designernames.h"
#include "widgets/drawnicon.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QTabBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>

namespace {

using units::pixelsFromTwips;
using namespace palettebuttons;

constexpr int buttonFontSizePt = 12;
// des01 stands in the fourth row of "Math II", 1695 x 345 twips.
constexpr int signButtonLeftTwips = 240;
constexpr int signButtonTopTwips = 2220;
constexpr int signButtonWidthTwips = 1695;
constexpr int signButtonHeightTwips = 345;
const QSize signIconPx(55, 13);

// A palette's background: a vertical gradient from 190 at the top to 100 at
// the bottom in the two components the palette does not hold at 193.
QColor backgroundAt(int palette, int c) {
    constexpr int held = 193;
    switch (palette) {
    case Grec:
        return QColor(held, c, c);
    case MathI:
        return QColor(c, held, held);
    default:
        return QColor(c, c, held);
    }
}

class PaletteBox : public QWidget {
public:
    PaletteBox(int palette, QWidget *parent = nullptr) : QWidget(parent), m_palette(palette) {
        setFixedSize(sizeHint());
    }
    QSize sizeHint() const override {
        return {pixelsFromTwips(boxWidthTwips), pixelsFromTwips(boxHeightTwips)};
    }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        const int heightPx = height();
        for (int y = 0; y <= heightPx; ++y) {
            const int c = qRound(double(heightPx - y) / heightPx * 90 + 100);
            painter.setPen(backgroundAt(m_palette, c));
            painter.drawLine(0, y, width(), y);
        }
    }

private:
    int m_palette;
};

// The sign in thin black strokes, on whole pixels.
QIcon signIcon() {
    return drawnIcon(signIconPx, [](QPainter &painter) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        equilibriumsign::draw(painter, signIconPx, 1, Qt::black);
    });
}

} // namespace

SymbolPalettes::SymbolPalettes(RichTextBox &exo, SharedState &state, EditCommands &edit,
                               std::function<int()> fontSizeSpinnerPt, QWidget *parent)
    : QTabWidget(parent), m_exo(exo), m_state(state), m_edit(edit),
      m_fontSizeSpinnerPt(std::move(fontSizeSpinnerPt)) {
    setObjectName(QStringLiteral("SSTab1"));
    // The palettes never take the focus from the text.
    setFocusPolicy(Qt::NoFocus);
    addTab(buildBox(Grec), QStringLiteral("Grec"));
    addTab(buildBox(MathI), QStringLiteral("Math I"));
    addTab(buildBox(MathII), QStringLiteral("Math II"));
    setCurrentIndex(Grec);
    // Three tabs in one row over a palette 146 px wide: small captions.
    QFont captions = tabBar()->font();
    captions.setPointSizeF(captions.pointSizeF() - 1);
    tabBar()->setFont(captions);
    tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 6px; }"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QWidget *SymbolPalettes::buildBox(int palette) {
    auto *box = new PaletteBox(palette);
    box->setObjectName(QStringLiteral("Picture%1").arg(palette + 1));
    for (const Button &entry : buttons()) {
        if (entry.palette != palette) continue;
        auto *button = new QToolButton(box);
        button->setObjectName(indexedName("Command1", entry.index));
        button->setFocusPolicy(Qt::NoFocus);
        button->setText(QString(entry.character()));
        button->setToolTip(QString::fromUtf8(entry.tip));
        QFont look(entry.fontName());
        look.setPointSize(buttonFontSizePt);
        button->setFont(look);
        const int sidePx = pixelsFromTwips(buttonSideTwips);
        button->setFixedSize(sidePx, sidePx);
        const int leftTwips =
            entry.inGrid() ? columnLeftTwips.at(entry.column - 1) : outOfSightLeftTwips;
        const int topTwips =
            entry.inGrid() ? firstRowTopTwips + (entry.row - 1) * pitchTwips : firstRowTopTwips;
        button->move(pixelsFromTwips(leftTwips), pixelsFromTwips(topTwips));
        button->setHidden(entry.hidden);
        const int index = entry.index;
        connect(button, &QToolButton::clicked, this, [this, index] { Command1_Click(index); });
    }
    if (palette == MathII) {
        auto *des01 = new QToolButton(box);
        des01->setObjectName(QStringLiteral("des01"));
        des01->setFocusPolicy(Qt::NoFocus);
        des01->setToolTip(QStringLiteral("équilibre chimique"));
        des01->setIcon(signIcon());
        des01->setIconSize(signIconPx);
        des01->setGeometry(
            pixelsFromTwips(signButtonLeftTwips), pixelsFromTwips(signButtonTopTwips),
            pixelsFromTwips(signButtonWidthTwips), pixelsFromTwips(signButtonHeightTwips));
        connect(des01, &QToolButton::clicked, this, &SymbolPalettes::des01_Click);
        // Where the sign is drawn, beyond the palette's right edge.
        m_prepades = new QLabel(box);
        m_prepades->setObjectName(QStringLiteral("prepades"));
        m_prepades->move(pixelsFromTwips(outOfSightLeftTwips), 0);
    }
    return box;
}

void SymbolPalettes::Command1_Click(int index) {
    const Button &entry = buttons().at(index);
    const int start = m_exo.selStart();
    if (!m_exo.isReadOnly() && !m_exo.touchesProtected(start, start + m_exo.selLength())) {
        QTextCursor cursor = m_exo.textCursor();
        QTextCharFormat format = RichTextBox::replacingFormat(cursor);
        // Typing goes on in the font the text had; over several fonts, in
        // that of the character replaced first.
        QString kept = m_exo.selFontName().value_or(textprops::fontName(format));
        if (kept.isEmpty()) kept = m_exo.document()->defaultFont().family();
        textprops::setFontName(format, entry.fontName());
        RichTextBox::UndoStep step(m_exo);
        cursor.removeSelectedText();
        cursor.insertText(QString(entry.character()), format);
        step.end();
        m_exo.setTextCursor(cursor);
        m_exo.refresh();
        m_exo.setSelFontName(kept);
    }
    m_exo.refresh();
    m_exo.setFocus();
}

void SymbolPalettes::des01_Click() {
    m_state.insertionencours = 1;
    m_edit.memoriser();
    const int heightPx = m_fontSizeSpinnerPt();
    const QRgb colour = m_exo.selColor().value_or(qRgb(0, 0, 0));
    const equilibriumsign::Picture sign =
        equilibriumsign::forText(heightPx, QColor::fromRgb(colour), m_exo.selBold() == true);
    QPixmap shown = QPixmap::fromImage(sign.image);
    shown.setDevicePixelRatio(equilibriumsign::density);
    m_prepades->setPixmap(shown);
    m_prepades->resize(sign.shownPx.toSize());
    // The caret's attributes come back as the picture goes in: one undo
    // step takes both away.
    RichTextBox::UndoStep step(m_exo);
    const bool inserted = m_exo.insertPictureAtCaret(sign.image, sign.shownPx);
    step.end();
    if (!inserted) m_state.insertionencours = 0;
    m_exo.refresh();
    m_exo.setFocus();
}
