#include "format/ionformuladialog.h"

#include "base/units.h"
#include "editor/richtextbox.h"
#include "widgets/twipsrect.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <cmath>

namespace {

// The screen the layout is measured for, and how much denser the image is.
constexpr double screenDpi = 96; // 15 twips a pixel
constexpr int density = 4;       // about 400 dpi: sharp on paper
constexpr double inchesPerMetre = 1 / 0.0254;

constexpr double smallerFactor = 0.8; // index and charge beside the body
// The charge's line starts this far above the picture's top...
constexpr double chargeRiseTwips = -45;
// ...unless its ink would come nearer the top than this.
constexpr double inkClearancePx = 1;
constexpr double smallestSizePt = 10;

// Geometry in twips, as the dialog has always been laid out.
constexpr int clientWidthTwips = 6195;
constexpr int frameLeftTwips = 240;
constexpr int frameTopTwips = 360;
constexpr int frameWidthTwips = 3975;
constexpr int belowFrameTwips = 450;
constexpr int basetLeftTwips = 120;
constexpr int basetWidthTwips = 1935;
constexpr int stackLeftTwips = 2040;
constexpr int text2TopTwips = 240;
constexpr int stackWidthTwips = 1815;
const QColor boxBackground(224, 224, 224);
const QColor instructionColour(0, 0, 128);

int dotsPerMetre(double dpi) {
    return int(std::lround(dpi * inchesPerMetre));
}

QFont ionFont(const IonFormula &formula, double sizePt) {
    QFont font(formula.fontName);
    font.setPointSizeF(sizePt);
    font.setBold(formula.bold);
    font.setItalic(formula.italic);
    return font;
}

QRect twips(double left, double top, double width, double height) {
    return rectFromTwips(int(std::lround(left)), int(std::lround(top)), int(std::lround(width)),
                         int(std::lround(height)));
}

QLineEdit *formulaBox(const char *name, QWidget *parent) {
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    // The boxes are hardly taller than their text.
    box->setFrame(false);
    box->setTextMargins(0, 0, 0, 0);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, boxBackground);
    box->setPalette(palette);
    return box;
}

} // namespace

IonPicture drawIonFormula(const IonFormula &formula) {
    // Measured on a screen of 15 twips a pixel, whatever this one is.
    QImage screen(1, 1, QImage::Format_RGB32);
    screen.setDotsPerMeterX(dotsPerMetre(screenDpi));
    screen.setDotsPerMeterY(dotsPerMetre(screenDpi));
    const double s = formula.sizePt;
    const QFont bodyFont = ionFont(formula, s);
    const QFont smallFont = ionFont(formula, smallerFactor * s);
    const QFontMetricsF body(bodyFont, &screen);
    const QFontMetricsF small(smallFont, &screen);
    const double twipsPerPixel = units::twipsPerPixel;

    IonPicture picture;
    picture.bodyWidthTwips = body.horizontalAdvance(formula.body) * twipsPerPixel;
    picture.stackWidthTwips =
        std::max(small.horizontalAdvance(formula.charge), small.horizontalAdvance(formula.index)) *
        twipsPerPixel;
    picture.lineHeightTwips = body.height() * twipsPerPixel;
    const double a = picture.bodyWidthTwips;
    const QSizeF sizeTwips(a + picture.stackWidthTwips + 4, picture.lineHeightTwips + 4 * s);
    picture.shownSizePx = sizeTwips / twipsPerPixel;

    const QSize imagePx(std::max(1, int(std::ceil(picture.shownSizePx.width() * density))),
                        std::max(1, int(std::ceil(picture.shownSizePx.height() * density))));
    QImage image(imagePx, QImage::Format_RGB32);
    image.setDotsPerMeterX(dotsPerMetre(screenDpi));
    image.setDotsPerMeterY(dotsPerMetre(screenDpi));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        // Drawn in screen pixels; the scale gives the density.
        painter.scale(imagePx.width() / picture.shownSizePx.width(),
                      imagePx.height() / picture.shownSizePx.height());
        painter.setPen(QColor(formula.colour | 0xFF000000u));
        // Text positions are those of the text's top-left corner.
        const auto draw = [&](const QFont &font, const QFontMetricsF &metrics, double leftTwips,
                              double topTwips, const QString &text) {
            painter.setFont(font);
            painter.drawText(
                QPointF(leftTwips / twipsPerPixel, topTwips / twipsPerPixel + metrics.ascent()),
                text);
        };
        draw(bodyFont, body, 0, 4 * s, formula.body);
        draw(smallFont, small, a, 10 * s + 15, formula.index);
        // The charge's line starts above the picture, its blank top cut,
        // never its ink: fonts whose digits rise nearer the top of their line
        // are drawn that much lower.
        const double inkTopPx = small.ascent() + small.tightBoundingRect(formula.charge).top();
        const double chargeTopTwips =
            formula.charge.trimmed().isEmpty()
                ? chargeRiseTwips
                : std::max(chargeRiseTwips, (inkClearancePx - inkTopPx) * twipsPerPixel);
        draw(smallFont, small, a, chargeTopTwips, formula.charge);
    }
    // The image says how dense it is.
    image.setDotsPerMeterX(dotsPerMetre(screenDpi * imagePx.width() / picture.shownSizePx.width()));
    image.setDotsPerMeterY(
        dotsPerMetre(screenDpi * imagePx.height() / picture.shownSizePx.height()));
    picture.image = image;
    return picture;
}

IonFormulaDialog::IonFormulaDialog(RichTextBox &exo, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("polyion"));
    setWindowTitle(QStringLiteral("Insertion de la formule d'un ion polyatomique"));
    setModal(true);

    auto *instruction =
        new QLabel(QStringLiteral("Ecrire la formule et appuyer sur OK ou annuler"), this);
    instruction->setObjectName(QStringLiteral("Label1"));
    instruction->setAlignment(Qt::AlignCenter);
    QPalette palette = instruction->palette();
    palette.setColor(QPalette::WindowText, instructionColour);
    instruction->setPalette(palette);
    instruction->setGeometry(rectFromTwips(240, 120, 3375, 255));
    // Drawn for a small dialog font: a larger one is brought down to fit.
    QFont small = instruction->font();
    while (small.pointSizeF() > 6 &&
           QFontMetricsF(small).horizontalAdvance(instruction->text()) > instruction->width())
        small.setPointSizeF(small.pointSizeF() - 0.5);
    instruction->setFont(small);

    m_frame = new QGroupBox(QStringLiteral("Formule"), this);
    m_frame->setObjectName(QStringLiteral("Frame1"));
    m_baset = formulaBox("baset", m_frame);
    m_baset->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_text2 = formulaBox("Text2", m_frame);
    m_text3 = formulaBox("Text3", m_frame);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command3"));
    ok->setGeometry(rectFromTwips(4440, 600, 1575, 375));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &IonFormulaDialog::compose);
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    cancel->setGeometry(rectFromTwips(4440, 120, 1575, 375));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    takeEditorFormat(exo);
    layOut();
    m_baset->setFocus();
}

void IonFormulaDialog::takeEditorFormat(RichTextBox &exo) {
    const std::optional<double> size = exo.selFontSize();
    if (size && *size < smallestSizePt) exo.setSelFontSize(smallestSizePt);
    // A selection mixing sizes, fonts or colours leaves the boxes their own.
    m_sizePt = size ? std::max(*size, smallestSizePt) : smallestSizePt;
    QFont font = m_baset->font();
    if (const auto name = exo.selFontName()) font.setFamily(*name);
    if (const auto bold = exo.selBold()) font.setBold(*bold);
    if (const auto italic = exo.selItalic()) font.setItalic(*italic);
    if (const auto colour = exo.selColor()) m_colour = *colour;
    font.setPointSizeF(m_sizePt);
    m_baset->setFont(font);
    font.setPointSizeF(smallerFactor * m_sizePt);
    for (QLineEdit *box : {m_baset, m_text2, m_text3}) {
        box->clear();
        QPalette palette = box->palette();
        palette.setColor(QPalette::Text, QColor(m_colour | 0xFF000000u));
        box->setPalette(palette);
        if (box != m_baset) box->setFont(font);
    }
}

void IonFormulaDialog::layOut() {
    // Everything grows with the size of the text to type.
    const double s = m_sizePt;
    const double frameHeight = 15 * (5 * s + 20);
    const double stackHeight = 15 * 1.5 * smallerFactor * s;
    const double basetHeight = 15 * 2 * s;
    const double basetTop = text2TopTwips + 2.0 / 3.0 * stackHeight;
    const double text3Top = basetTop + basetHeight / 2;
    m_frame->setGeometry(twips(frameLeftTwips, frameTopTwips, frameWidthTwips, frameHeight));
    m_text2->setGeometry(twips(stackLeftTwips, text2TopTwips, stackWidthTwips, stackHeight));
    m_baset->setGeometry(twips(basetLeftTwips, basetTop, basetWidthTwips, basetHeight));
    m_text3->setGeometry(twips(stackLeftTwips, text3Top, stackWidthTwips, stackHeight));
    setFixedSize(
        units::pixelsFromTwips(clientWidthTwips),
        units::pixelsFromTwips(int(std::lround(frameTopTwips + frameHeight + belowFrameTwips))));
}

void IonFormulaDialog::compose() {
    const QFont font = m_baset->font();
    m_picture = drawIonFormula({m_baset->text(), m_text3->text(), m_text2->text(), font.family(),
                                m_sizePt, font.bold(), font.italic(), m_colour});
    accept();
}
