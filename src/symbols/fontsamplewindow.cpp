#include "symbols/fontsamplewindow.h"

#include "base/codepages.h"
#include "base/sharedstate.h"
#include "base/units.h"
#include "editor/richtextbox.h"
#include "widgets/designernames.h"
#include "widgets/twipsrect.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSet>

#include <utility>

namespace {

// Geometry in twips, as the window has always been laid out.
constexpr int clientWidthTwips = 10305;
constexpr int clientHeightTwips = 4005;
constexpr int listLeftTwips = 600;
constexpr int listTopTwips = 120;
constexpr int listWidthTwips = 3375;
constexpr int closeLeftTwips = 8160;
constexpr int closeTopTwips = 120;
constexpr int closeWidthTwips = 1695;
constexpr int closeHeightTwips = 375;
constexpr int frameLeftTwips = 120;
constexpr int frameTopTwips = 480;
constexpr int frameWidthTwips = 9975;
constexpr int frameHeightTwips = 3255;
// Cells within the frame: a pitch one pixel less than their side, so that
// neighbours share their border.
constexpr int cellLeftTwips = 120;
constexpr int cellTopTwips = 240;
constexpr int cellPitchTwips = 360;
constexpr int cellSideTwips = 375;
constexpr int columnCount = 27;
constexpr double cellFontPt = 14.25;

const QColor pressedBackground(0, 0, 128);

// A white square with its character centred: dark blue with a white
// character while a mouse button holds it down; a left click released over
// it inserts the character.
class SampleCell : public QLabel {
public:
    SampleCell(std::function<void()> clicked, QWidget *parent)
        : QLabel(parent), m_clicked(std::move(clicked)) {
        setAlignment(Qt::AlignCenter);
        setAutoFillBackground(true);
        showPressed(false);
    }

protected:
    void mousePressEvent(QMouseEvent *event) override {
        showPressed(true);
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent *event) override {
        showPressed(false);
        event->accept();
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_clicked();
    }
    void paintEvent(QPaintEvent *event) override {
        QLabel::paintEvent(event);
        QPainter painter(this);
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    void showPressed(bool pressed) {
        QPalette colours = palette();
        colours.setColor(QPalette::Window, pressed ? pressedBackground : QColor(Qt::white));
        colours.setColor(QPalette::WindowText, pressed ? QColor(Qt::white) : QColor(Qt::black));
        setPalette(colours);
    }

    std::function<void()> m_clicked;
};

} // namespace

QChar sampleCharacter(unsigned char code, const QString &family) {
    // The codes 128 to 159 differ most between the two. In an ordinary font
    // Windows-1252 gives them printable characters (0x80 the euro sign, 0x99
    // the trade mark), but for its five undefined codes, which stay the C1
    // controls of the same value. Symbol has no glyph there: its table puts
    // them at U+F080 to U+F09F, as Windows does, so that a text saves them
    // back under the same code.
    if (family.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
        return codepages::fromSymbol(code);
    return codepages::fromWindows1252(code);
}

QStringList plainFamilyNames(const QStringList &families) {
    QStringList names;
    QSet<QString> seen;
    for (QString name : families) {
        if (name.endsWith(QLatin1Char(']'))) {
            const qsizetype foundry = name.lastIndexOf(QLatin1String(" ["));
            if (foundry > 0) name.truncate(foundry);
        }
        if (seen.contains(name)) continue;
        seen.insert(name);
        names << name;
    }
    return names;
}

FontSampleWindow::FontSampleWindow(RichTextBox &exo, SharedState &state,
                                   std::function<QString()> toolbarFont, QWidget *parent)
    : QDialog(parent), m_exo(exo), m_state(state), m_toolbarFont(std::move(toolbarFont)) {
    setObjectName(QStringLiteral("echanti"));
    setWindowTitle(QStringLiteral("Caractères spéciaux"));
    setModal(true);
    setFixedSize(units::pixelsFromTwips(clientWidthTwips),
                 units::pixelsFromTwips(clientHeightTwips));

    m_combo1 = new QComboBox(this);
    m_combo1->setObjectName(QStringLiteral("Combo1"));
    // Editable only so that it can show a name the system lacks ("Windings");
    // the user picks from the list.
    m_combo1->setEditable(true);
    m_combo1->setInsertPolicy(QComboBox::NoInsert);
    m_combo1->lineEdit()->setReadOnly(true);
    const QRect listPx = rectFromTwips(listLeftTwips, listTopTwips, listWidthTwips, 0);
    m_combo1->move(listPx.topLeft());
    m_combo1->setFixedWidth(listPx.width());
    connect(m_combo1, &QComboBox::activated, this, &FontSampleWindow::Combo1_Click);

    auto *close = new QPushButton(QStringLiteral("Fermer"), this);
    close->setObjectName(QStringLiteral("Command1"));
    close->setAutoDefault(false);
    close->setGeometry(
        rectFromTwips(closeLeftTwips, closeTopTwips, closeWidthTwips, closeHeightTwips));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    m_tampontext = new RichTextBox(this);
    m_tampontext->setObjectName(QStringLiteral("tampontext"));
    m_tampontext->hide();

    buildCells();
    showFont(m_state.policesymbole);
    m_combo1->addItems(plainFamilyNames(QFontDatabase::families()));
    const QString shown = m_label1[0]->font().family();
    m_combo1->setCurrentIndex(m_combo1->findText(shown));
    m_combo1->setEditText(shown);
}

void FontSampleWindow::buildCells() {
    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setGeometry(
        rectFromTwips(frameLeftTwips, frameTopTwips, frameWidthTwips, frameHeightTwips));
    for (int index = 0; index < cellCount; ++index) {
        auto *cell = new SampleCell([this, index] { Label1_Click(index); }, frame);
        cell->setObjectName(indexedName("Label1", index));
        const int row = index / columnCount;
        const int column = index % columnCount;
        cell->setGeometry(rectFromTwips(cellLeftTwips + cellPitchTwips * column,
                                        cellTopTwips + cellPitchTwips * row, cellSideTwips,
                                        cellSideTwips));
        m_label1[index] = cell;
    }
}

void FontSampleWindow::showFont(const QString &family) {
    QFont font(family);
    font.setPointSizeF(cellFontPt);
    for (int index = 0; index < cellCount; ++index) {
        m_label1[index]->setFont(font);
        m_label1[index]->setText(
            sampleCharacter(static_cast<unsigned char>(firstCode + index), family));
    }
}

QString FontSampleWindow::chosenFontName() const {
    return m_combo1->currentText();
}

void FontSampleWindow::Combo1_Click() {
    showFont(chosenFontName());
}

void FontSampleWindow::Label1_Click(int index) {
    if (index < 0 || index >= cellCount) return;
    const QString typingFont = m_toolbarFont ? m_toolbarFont() : QString();

    // What the editor's selection does not have as one value leaves the
    // buffer's previous setting.
    m_tampontext->setText(m_label1[index]->text());
    m_tampontext->setSelStart(0);
    m_tampontext->setSelLength(1);
    m_tampontext->setSelFontName(chosenFontName());
    const RichTextBox::CharacterSummary chars = m_exo.characterSummary();
    if (chars.fontSize) m_tampontext->setSelFontSize(*chars.fontSize);
    if (chars.bold) m_tampontext->setSelBold(*chars.bold);
    if (chars.underline) m_tampontext->setSelUnderline(*chars.underline);
    if (chars.italic) m_tampontext->setSelItalic(*chars.italic);
    if (chars.strikeThru) m_tampontext->setSelStrikeThru(*chars.strikeThru);
    if (chars.color) m_tampontext->setSelColor(*chars.color);
    if (chars.charOffset) m_tampontext->setSelCharOffset(*chars.charOffset);
    if (const auto alignment = m_exo.selAlignment()) m_tampontext->setSelAlignment(*alignment);
    if (const auto indentPx = m_exo.selIndent()) m_tampontext->setSelIndent(*indentPx);

    // Straight from the buffer, one undo step; the clipboard keeps what the
    // user put there. Protected text refuses it and stays as it was.
    if (!m_exo.setSelRTF(m_tampontext->selRTF())) return;

    m_exo.refresh();
    // The blank item of the toolbar's list stands for a mixture, not a font.
    if (!typingFont.trimmed().isEmpty()) m_exo.setSelFontName(typingFont);
    emit characterInserted();
}

void FontSampleWindow::done(int result) {
    m_state.policesymbole = m_label1[0]->font().family();
    QDialog::done(result);
}
