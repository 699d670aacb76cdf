#include "app/welcomepanel.h"
#include "app/linkpictures.h"
#include "widgets/leftclick.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <functional>

namespace {

constexpr int bodyLeftPx = 12;
constexpr int headingTopPx = 10;
constexpr int headingGapPx = 8;
constexpr int paragraphGapPx = 4;
constexpr int moduleListGapPx = 4;
constexpr int firstColumnImageLeftPx = 20;
constexpr int firstColumnLabelGapPx = 30;
constexpr int secondColumnImageLeftPx = 150;
constexpr int secondColumnLabelGapPx = 160;
constexpr int bottomMarginPx = 12;
constexpr int preferredWidthPx = 300;
// The background fades from white at the top to this much less blue at the bottom.
constexpr int backgroundBlueDrop = 40;

const QColor textColour(0, 0, 128);

QFont headingFont() {
    return QFont(QStringLiteral("Verdana"), 12, QFont::Bold);
}

QFont bodyFont() {
    return QFont(QStringLiteral("Verdana"), 8);
}

struct Step {
    QString number;
    QStringList lines;
};

const Step steps[] = {
    {QStringLiteral("1. "), {QStringLiteral("Sélectionner le simulateur.")}},
    {QStringLiteral("2. "),
     {QStringLiteral("Saisir le texte de l'énoncé et"), QStringLiteral("l'enregistrer.")}},
    {QStringLiteral("3."),
     {QStringLiteral("Depuis le simulateur concerné,"),
      QStringLiteral("enregistrer la configuration initiale"),
      QStringLiteral("(exemple : la planète pour Simulateur A).")}},
    {QStringLiteral("4."),
     {QStringLiteral("Saisir le texte de la correction et"), QStringLiteral("l'enregistrer.")}},
    {QStringLiteral("5."),
     {QStringLiteral("Depuis le simulateur, enregistrer"),
      QStringLiteral("la configuration pour la correction.")}},
    {QStringLiteral("6."),
     {QStringLiteral("Cliquer sur Paramètres pour créer"),
      QStringLiteral("le fichier Récapitulatif.")}},
};

} // namespace

// Writes text line by line like a printer head; without a painter it only
// measures, so that the children can be placed before anything is drawn.
struct WelcomePanel::TextCursor {
    TextCursor(const QPaintDevice *device, QPainter *painter) : device(device), painter(painter) {}

    const QPaintDevice *device;
    QPainter *painter;
    QFont font;
    qreal xPx = 0;
    qreal yPx = 0;

    void setFont(const QFont &newFont) {
        font = newFont;
        if (painter) painter->setFont(font);
    }
    void setBold(bool bold) {
        QFont changed = font;
        changed.setBold(bold);
        setFont(changed);
    }
    int lineHeightPx() const { return QFontMetrics(font, device).height(); }
    qreal widthPx(const QString &text) const {
        return QFontMetricsF(font, device).horizontalAdvance(text);
    }
    // Writes the text with its top at the cursor and stays on the same line.
    void print(const QString &text) {
        if (painter)
            painter->drawText(QPointF(xPx, yPx + QFontMetricsF(font, device).ascent()), text);
        xPx += widthPx(text);
    }
    void printLine(const QString &text) {
        print(text);
        newLine();
    }
    void printLineAt(qreal leftPx, const QString &text) {
        xPx = leftPx;
        printLine(text);
    }
    void printBold(const QString &text) {
        setBold(true);
        print(text);
        setBold(false);
    }
    void newLine() {
        xPx = 0;
        yPx += lineHeightPx();
    }
    void emptyLines(int count) { yPx += count * lineHeightPx(); }
};

WelcomePanel::WelcomePanel(QWidget *moduleList, QWidget *parent)
    : QWidget(parent), m_moduleList(moduleList) {
    setObjectName(QStringLiteral("Picture4"));
    if (m_moduleList) {
        m_moduleList->setParent(this);
        m_moduleList->show();
    }
    addLink(Parametres, QStringLiteral("Image2"), linkpictures::settings(),
            QStringLiteral("Paramètres"));
    addLink(Nouveau, QStringLiteral("Command14"), linkpictures::newExercise(),
            QStringLiteral("Nouveau"));
    addLink(Ouvrir, QStringLiteral("command10"), linkpictures::openFolder(),
            QStringLiteral("Ouvrir"));
    addLink(Enonce, QStringLiteral("Image3"), linkpictures::statement(), QStringLiteral("Énoncé"));
    addLink(Corrige, QStringLiteral("Image4"), linkpictures::correction(),
            QStringLiteral("Corrigé"));
    measureAndPlaceChildren();
}

void WelcomePanel::addLink(Link link, const QString &imageName, const QPixmap &picture,
                           const QString &text) {
    auto *image = new QLabel(this);
    image->setObjectName(imageName);
    image->setPixmap(picture);
    image->setFixedSize(linkpictures::sidePx, linkpictures::sidePx);

    auto *label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("Label7(%1)").arg(int(link)));
    label->setTextFormat(Qt::PlainText);
    QFont linkFont = bodyFont();
    linkFont.setUnderline(true);
    label->setFont(linkFont);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, textColour);
    label->setPalette(palette);
    label->adjustSize();

    for (QLabel *widget : {image, label}) {
        widget->setCursor(Qt::PointingHandCursor);
        onLeftClick(widget, [this, link] { emit linkActivated(link); });
    }
    m_images[link] = image;
    m_labels[link] = label;
}

void WelcomePanel::setLinkVisible(Link link, bool visible) {
    m_images[link]->setVisible(visible);
    m_labels[link]->setVisible(visible);
}

bool WelcomePanel::isLinkVisible(Link link) const {
    return !m_images[link]->isHidden();
}

QSize WelcomePanel::sizeHint() const {
    TextCursor cursor(this, nullptr);
    return QSize(preferredWidthPx, writeContent(cursor).bottomPx + bottomMarginPx);
}

void WelcomePanel::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    paintBackground(painter);
    TextCursor cursor(this, &painter);
    placeChildren(writeContent(cursor));
}

void WelcomePanel::resizeEvent(QResizeEvent *) {
    measureAndPlaceChildren();
}

void WelcomePanel::paintBackground(QPainter &painter) const {
    const int heightPx = height();
    for (int y = 0; y <= heightPx; ++y) {
        const double drop = heightPx > 0 ? double(backgroundBlueDrop) * y / heightPx : 0.0;
        painter.setPen(QColor(255, 255, qRound(255 - drop)));
        painter.drawLine(0, y, width(), y);
    }
}

WelcomePanel::Placement WelcomePanel::writeContent(TextCursor &cursor) const {
    Placement placement;
    if (cursor.painter) cursor.painter->setPen(textColour);

    cursor.xPx = 0;
    cursor.yPx = headingTopPx;
    cursor.setFont(headingFont());
    for (const QString &line :
         {QStringLiteral("L'éditeur d'exercices"), QStringLiteral("pour les simulateurs")})
        cursor.printLineAt((width() - cursor.widthPx(line)) / 2, line);

    cursor.setFont(bodyFont());
    cursor.yPx += headingGapPx;
    for (const QString &line : {QStringLiteral("Rédigo permet de créer un fichier"),
                                QStringLiteral("Récapitulatif qui recense toutes les"),
                                QStringLiteral("caractéristiques de votre exercice.")})
        cursor.printLineAt(bodyLeftPx, line);
    cursor.yPx += paragraphGapPx;
    cursor.printLineAt(bodyLeftPx, QStringLiteral("Procédure :"));

    // A number ending with a blank is followed by its text on the same line,
    // and where that text starts is the column of all the following lines.
    int textColumnPx = bodyLeftPx;
    for (const Step &step : steps) {
        cursor.yPx += paragraphGapPx;
        cursor.xPx = bodyLeftPx;
        cursor.printBold(step.number);
        if (step.number.endsWith(QLatin1Char(' ')))
            textColumnPx = qRound(cursor.xPx);
        else
            cursor.xPx = textColumnPx;
        cursor.printLine(step.lines.first());
        for (qsizetype i = 1; i < step.lines.size(); ++i)
            cursor.printLineAt(textColumnPx, step.lines[i]);
    }

    cursor.emptyLines(2);
    cursor.xPx = bodyLeftPx;
    cursor.printBold(QStringLiteral("Simulateur : "));
    placement.moduleListPx =
        QPoint(qRound(cursor.xPx + moduleListGapPx), qRound(cursor.yPx - moduleListGapPx));
    if (m_moduleList)
        placement.bottomPx = placement.moduleListPx.y() + m_moduleList->sizeHint().height();

    cursor.emptyLines(3);
    const qreal linksTopPx = cursor.yPx;
    placeLinkColumn(cursor, {Parametres, Nouveau, Ouvrir}, firstColumnImageLeftPx,
                    firstColumnLabelGapPx, placement);
    cursor.yPx = linksTopPx;
    placeLinkColumn(cursor, {Enonce, Corrige}, secondColumnImageLeftPx, secondColumnLabelGapPx,
                    placement);
    return placement;
}

void WelcomePanel::placeLinkColumn(TextCursor &cursor, std::initializer_list<Link> links,
                                   int imageLeftPx, int labelGapPx, Placement &placement) const {
    const int labelLeftPx = m_images[Parametres]->width() + labelGapPx;
    for (const Link link : links) {
        const int topPx = qRound(cursor.yPx);
        placement.imagesPx[link] = QPoint(imageLeftPx, topPx);
        placement.labelsPx[link] = QPoint(labelLeftPx, topPx);
        const int rowHeightPx = qMax(m_images[link]->height(), m_labels[link]->height());
        placement.bottomPx = qMax(placement.bottomPx, topPx + rowHeightPx);
        cursor.emptyLines(2);
    }
}

void WelcomePanel::placeChildren(const Placement &placement) {
    if (m_moduleList) m_moduleList->move(placement.moduleListPx);
    for (int link = 0; link < linkCount; ++link) {
        m_images[link]->move(placement.imagesPx[link]);
        m_labels[link]->move(placement.labelsPx[link]);
    }
}

void WelcomePanel::measureAndPlaceChildren() {
    TextCursor cursor(this, nullptr);
    placeChildren(writeContent(cursor));
}
