#include "format/formateur.h"

#include "base/units.h"
#include "document/runwalker.h"
#include "document/textproperties.h"
#include "editor/richtextbox.h"
#include "widgets/dialogfit.h"
#include "widgets/twipsrect.h"
#include "widgets/updownbuttons.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

namespace {

constexpr int minSizePt = 8;
constexpr int maxSizePt = 40;
constexpr int sizeStepPt = 2;
constexpr int minOffsetValue = 1;
constexpr int maxOffsetValue = 50;

// Geometry in twips, as the dialog has always been laid out.
constexpr int clientWidthTwips = 2010;
constexpr int clientHeightTwips = 1425;
constexpr int labelLeftTwips = 120;
constexpr int labelWidthTwips = 930;
constexpr int boxLeftTwips = 1080;
constexpr int boxWidthTwips = 450;
constexpr int rowHeightTwips = 285;
constexpr int sizeRowTopTwips = 120;
constexpr int offsetRowTopTwips = 540;
constexpr int buttonLeftTwips = 450;
constexpr int buttonTopTwips = 960;
constexpr int buttonWidthTwips = 1095;
constexpr int buttonHeightTwips = 315;

QSpinBox *arrows(int minimum, int maximum, int step, QWidget *parent) {
    auto *box = new UpDownButtons(parent);
    box->setRange(minimum, maximum);
    box->setSingleStep(step);
    return box;
}

// The busy cursor for as long as it lives.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

bool concerns(OffsetKind kind, const QTextCharFormat &format) {
    const int offsetTwips = textprops::offsetTwips(format);
    return kind == OffsetKind::Exponents ? offsetTwips > 0 : offsetTwips < 0;
}

struct Range {
    int from, to;
    QTextCharFormat format;
};

// The runs of one format to change, paragraph marks included, found in one
// walk over the whole text.
std::vector<Range> rangesToChange(const QTextDocument &document, OffsetKind kind) {
    std::vector<Range> ranges;
    runwalker::forEachRun(document, 0, document.characterCount(), runwalker::Marks::Included,
                          [&](const runwalker::Run &run) {
                              QTextCharFormat format = run.format();
                              if (concerns(kind, format))
                                  ranges.push_back({run.from, run.to, std::move(format)});
                          });
    return ranges;
}

void showValue(QLineEdit *box, int value) {
    box->setText(QString::number(value));
}

} // namespace

Formateur::Formateur(OffsetKind kind, const QByteArray &selectionRtf, int offsetValue,
                     QWidget *parent)
    : QDialog(parent), m_kind(kind) {
    setObjectName(QStringLiteral("Formateur"));
    setWindowTitle(kind == OffsetKind::Exponents ? QStringLiteral("Modifier les exposants")
                                                 : QStringLiteral("Modifier les indices"));
    setWindowFlags(dialogfit::smallDialogFlags);
    setModal(true);
    setFixedSize(units::pixelsFromTwips(clientWidthTwips),
                 units::pixelsFromTwips(clientHeightTwips));

    auto addRow = [this](const QString &caption, const QString &labelName, const QString &boxName,
                         int topTwips, QSpinBox *arrows) {
        auto *label = new QLabel(caption, this);
        label->setObjectName(labelName);
        label->setGeometry(
            rectFromTwips(labelLeftTwips, topTwips, labelWidthTwips, rowHeightTwips));
        auto *box = new QLineEdit(this);
        box->setObjectName(boxName);
        box->setReadOnly(true);
        const QRect boxRect = rectFromTwips(boxLeftTwips, topTwips, boxWidthTwips, rowHeightTwips);
        box->setGeometry(boxRect);
        arrows->setGeometry(boxRect.right() + 1, boxRect.top(), arrows->width(), boxRect.height());
        connect(arrows, &QSpinBox::valueChanged, box, [box](int value) { showValue(box, value); });
        showValue(box, arrows->value());
    };

    m_sizeArrows = arrows(minSizePt, maxSizePt, sizeStepPt, this);
    m_sizeArrows->setObjectName(QStringLiteral("UpDown1"));
    m_sizeArrows->setValue(minSizePt);
    addRow(QStringLiteral("Taille"), QStringLiteral("Label1"), QStringLiteral("Text1"),
           sizeRowTopTwips, m_sizeArrows);

    m_offsetArrows = arrows(minOffsetValue, maxOffsetValue, 1, this);
    m_offsetArrows->setObjectName(QStringLiteral("UpDown2"));
    m_offsetArrows->setValue(offsetValue);
    addRow(QStringLiteral("Décalage:"), QStringLiteral("Label2"), QStringLiteral("Text2"),
           offsetRowTopTwips, m_offsetArrows);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setGeometry(
        rectFromTwips(buttonLeftTwips, buttonTopTwips, buttonWidthTwips, buttonHeightTwips));
    connect(ok, &QPushButton::clicked, this, &Formateur::applyAndClose);

    // The selection is worked on out of sight, then handed back whole.
    m_copy = new RichTextBox(this);
    m_copy->setObjectName(QStringLiteral("iertf"));
    m_copy->hide();
    m_copy->setOwnTextRTF(selectionRtf);
    dialogfit::fitFixedDialog(*this);
}

void Formateur::applyAndClose() {
    {
        const BusyCursor busy;
        alignOffsets(*m_copy, m_kind, m_sizeArrows->value(), m_offsetArrows->value());
        m_result = m_copy->textRTF();
    }
    accept();
}

void Formateur::alignOffsets(RichTextBox &copy, OffsetKind kind, int sizePt, int offsetValue) {
    QTextDocument *document = copy.document();
    const bool hadUndo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);

    const int offsetTwips = (kind == OffsetKind::Exponents ? 1 : -1) * sizePt * offsetValue;
    std::vector<Range> ranges = rangesToChange(*document, kind);
    // All characters of a run share its format, so one write per run does
    // what a write per character would.
    QTextCursor cursor(document);
    RichTextBox::UndoStep step(copy);
    for (Range &range : ranges) {
        range.format.setFontPointSize(sizePt);
        textprops::setOffsetTwips(range.format, offsetTwips);
        cursor.setPosition(range.from);
        cursor.setPosition(range.to, QTextCursor::KeepAnchor);
        cursor.setCharFormat(range.format);
    }
    step.end();

    document->setUndoRedoEnabled(hadUndo);
}
