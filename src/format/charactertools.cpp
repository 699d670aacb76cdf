#include "format/charactertools.h"

#include "base/dialogs.h"
#include "widgets/designernames.h"
#include "widgets/drawnicon.h"
#include "widgets/leftclick.h"

#include "base/sharedstate.h"
#include "editor/richtextbox.h"
#include "format/colourpalette.h"
#include "widgets/updownbuttons.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace {

const QString symbolFontName = QStringLiteral("Symbol");

struct ColourOption {
    const char *caption;
    const char *tip;
    QRgb letter;
};

constexpr std::array<ColourOption, 4> colourOptions = {{
    {"B", "Ecrire en bleu", qRgb(0, 0, 128)},
    {"N", "Ecrire en noir", qRgb(0, 0, 0)},
    {"R", "Ecrire en rouge", qRgb(192, 0, 0)},
    {"V", "Ecrire en vert", qRgb(0, 128, 0)},
}};

// A small palette of four colour spots, for the palette button.
QIcon paletteIcon() {
    return drawnIcon(20, [](QPainter &painter) {
        painter.setPen(QPen(QColor(90, 60, 30), 1.2));
        painter.setBrush(QColor(235, 210, 160));
        painter.drawEllipse(QRectF(1.5, 2.5, 17, 15));
        const std::array<QColor, 4> spots = {QColor(200, 0, 0), QColor(0, 0, 200),
                                             QColor(0, 150, 10), QColor(230, 200, 0)};
        const std::array<QPointF, 4> places = {QPointF(6, 7), QPointF(11, 6), QPointF(14, 10),
                                               QPointF(8, 12.5)};
        painter.setPen(Qt::NoPen);
        for (int i = 0; i < 4; ++i) {
            painter.setBrush(spots.at(i));
            painter.drawEllipse(places.at(i), 2.2, 2.2);
        }
    });
}

} // namespace

CharacterTools::CharacterTools(RichTextBox &exo, SharedState &state, Dialogs &dialogs,
                               QWidget *window)
    : QObject(window), m_exo(exo), m_state(state), m_dialogs(dialogs), m_window(window) {}

void CharacterTools::useStyleEntries(const std::array<QAction *, 3> &q2) {
    m_q2 = q2;
}

void CharacterTools::addTo(QToolBar *toolBar) {
    auto *fontLabel = new QLabel(QStringLiteral("Police:"), toolBar);
    fontLabel->setObjectName(QStringLiteral("Label4"));
    toolBar->addWidget(fontLabel);
    m_combo1 = new QComboBox(toolBar);
    m_combo1->setObjectName(QStringLiteral("Combo1"));
    // The list shows a name even where no such font is installed.
    m_combo1->setEditable(true);
    m_combo1->setInsertPolicy(QComboBox::NoInsert);
    m_combo1->setMinimumContentsLength(12);
    toolBar->addWidget(m_combo1);
    connect(m_combo1, &QComboBox::activated, this, &CharacterTools::Combo1_Click);
    connect(m_combo1->lineEdit(), &QLineEdit::editingFinished, this,
            &CharacterTools::fontNameTyped);

    auto *sizeLabel = new QLabel(QStringLiteral("Taille:"), toolBar);
    sizeLabel->setObjectName(QStringLiteral("Label1"));
    toolBar->addWidget(sizeLabel);
    m_taille = new QLineEdit(toolBar);
    m_taille->setObjectName(QStringLiteral("taille"));
    m_taille->setReadOnly(true);
    m_taille->setFixedWidth(32);
    m_taille->setAccessibleName(QStringLiteral("Taille des caractères"));
    toolBar->addWidget(m_taille);
    m_upDown1 = new UpDownButtons(toolBar);
    m_upDown1->setObjectName(QStringLiteral("UpDown1"));
    m_upDown1->setRange(8, 72);
    m_upDown1->setSingleStep(2);
    m_upDown1->setValue(10);
    m_upDown1->setAccessibleName(QStringLiteral("Augmenter ou diminuer la taille"));
    toolBar->addWidget(m_upDown1);
    connect(m_upDown1, &QSpinBox::valueChanged, this, &CharacterTools::UpDown1_Change);
    toolBar->addSeparator();

    const std::array<const char *, 3> letters = {"G", "I", "S"};
    const std::array<const char *, 3> tips = {"Gras", "Italique", "Souligné"};
    for (int i = 0; i < 3; ++i) {
        auto *box = new QToolButton(toolBar);
        box->setObjectName(indexedName("Check1", i + 1));
        box->setCheckable(true);
        box->setText(QLatin1String(letters.at(i)));
        box->setToolTip(QString::fromUtf8(tips.at(i)));
        QFont look = box->font();
        look.setBold(i == 0);
        look.setItalic(i == 1);
        look.setUnderline(i == 2);
        box->setFont(look);
        toolBar->addWidget(box);
        m_check1[i] = box;
        connect(box, &QToolButton::clicked, this, [this, i] { Check1_Click(i + 1); });
    }
    toolBar->addSeparator();

    auto *frame2 = new QGroupBox(toolBar);
    frame2->setObjectName(QStringLiteral("Frame2"));
    frame2->setFlat(true);
    auto *row = new QHBoxLayout(frame2);
    row->setContentsMargins(2, 0, 2, 0);
    m_colours = new QButtonGroup(frame2);
    for (int i = 0; i < 4; ++i) {
        const ColourOption &option = colourOptions.at(i);
        auto *button = new QRadioButton(QLatin1String(option.caption), frame2);
        button->setObjectName(indexedName("optcoul", i));
        button->setToolTip(QLatin1String(option.tip));
        QPalette palette = button->palette();
        palette.setColor(QPalette::WindowText, QColor(option.letter));
        palette.setColor(QPalette::ButtonText, QColor(option.letter));
        button->setPalette(palette);
        QFont bold = button->font();
        bold.setBold(true);
        button->setFont(bold);
        m_colours->addButton(button, i);
        row->addWidget(button);
        m_optcoul[i] = button;
        connect(button, &QRadioButton::clicked, this, [this, i] { optcoul_Click(i); });
    }
    toolBar->addWidget(frame2);

    m_cotext = new QLabel(QStringLiteral("Couleur"), toolBar);
    m_cotext->setObjectName(QStringLiteral("cotext"));
    m_cotext->setCursor(Qt::PointingHandCursor);
    // Inside a tool strip a label would draw in the strip's button-text
    // colour; it is drawn in the colour it is given instead.
    m_cotext->setForegroundRole(QPalette::WindowText);
    // Clicking the "Couleur" label opens the palette.
    onLeftClick(m_cotext, [this] { cotext_Click(); });
    toolBar->addWidget(m_cotext);
    auto *command12 = new QToolButton(toolBar);
    command12->setObjectName(QStringLiteral("Command12"));
    command12->setToolTip(QStringLiteral("Choisir une couleur d'écriture"));
    command12->setIcon(paletteIcon());
    toolBar->addWidget(command12);
    connect(command12, &QToolButton::clicked, this, &CharacterTools::cotext_Click);
    auto *command15 = new QToolButton(toolBar);
    command15->setObjectName(QStringLiteral("Command15"));
    command15->setText(QStringLiteral("I"));
    command15->setAccessibleName(QStringLiteral("Arial italique"));
    toolBar->addWidget(command15);
    connect(command15, &QToolButton::clicked, this, &CharacterTools::Command15_Click);
}

void CharacterTools::giveFocusBack() {
    m_exo.refresh();
    m_exo.setFocus();
}

void CharacterTools::Check1_Click(int) {
    if (m_state.majencours == majphase::styles) return;
    // All three attributes are written, whichever box was clicked.
    const bool bold = m_check1[0]->isChecked();
    const bool italic = m_check1[1]->isChecked();
    const bool underline = m_check1[2]->isChecked();
    const RichTextBox::UndoStep step(m_exo);
    m_exo.setSelBold(bold);
    m_q2[0]->setChecked(bold);
    m_exo.setSelItalic(italic);
    m_q2[1]->setChecked(italic);
    m_exo.setSelUnderline(underline);
    m_q2[2]->setChecked(underline);
    if (m_state.majencours != majphase::modes) giveFocusBack();
}

void CharacterTools::q2_Click(int item) {
    QToolButton *box = m_check1.at(item - 21);
    box->setChecked(!box->isChecked());
    Check1_Click(item - 20);
}

QString CharacterTools::familyName(const QString &listedFamily) {
    // "C059 [urw]": a family that several foundries make is listed once per
    // foundry. Other programs know it by its name alone.
    static const QRegularExpression foundry(QStringLiteral(" \\[[^\\[\\]]*\\]$"));
    QString name = listedFamily;
    name.remove(foundry);
    return name;
}

void CharacterTools::setFontList(const QStringList &families, const QString &shown) {
    QStringList names;
    names.reserve(families.size());
    for (const QString &family : families)
        names << familyName(family);
    names.removeDuplicates();
    m_combo1->clear();
    m_combo1->addItems(names);
    m_combo1->setCurrentIndex(std::max(0, m_combo1->findText(shown)));
    m_combo1->setEditText(shown);
}

QString CharacterTools::shownFontName() const {
    return m_combo1->currentText();
}

int CharacterTools::showArrowsSizePt() {
    m_taille->setText(QString::number(m_upDown1->value()));
    return m_upDown1->value();
}

void CharacterTools::Combo1_Click() {
    if (m_combo1->currentIndex() == 0 || majpolice) return;
    m_exo.setSelFontName(m_combo1->currentText());
    m_exo.setFocus();
}

void CharacterTools::fontNameTyped() {
    // A name typed that no font of the list has is never applied: the box
    // goes back to the selection's font rather than show it as if it were.
    if (m_combo1->findText(m_combo1->currentText(), Qt::MatchFixedString) >= 0) return;
    const QSignalBlocker quiet(m_combo1);
    m_combo1->setEditText(m_exo.selFontName().value_or(QStringLiteral(" ")));
}

void CharacterTools::UpDown1_Change() {
    m_taille->setText(QString::number(m_upDown1->value()));
    // Nothing is written while the tools follow the selection: merely
    // selecting text must never change it.
    if (m_state.majencours != majphase::idle) return;
    m_exo.setSelFontSize(m_upDown1->value());
    giveFocusBack();
}

void CharacterTools::optcoul_Click(int index) {
    if (m_state.majencours != majphase::idle) return;
    m_exo.setSelColor(writingColours.at(index));
    // The caret need not move, nor the focus come back, for the label to
    // take the colour: shown at once.
    showColour(writingColours.at(index) & 0xFFFFFF);
    giveFocusBack();
}

void CharacterTools::cotext_Click() {
    ColourPalette palette(m_window);
    if (m_dialogs.runDialog(palette) == QDialog::Accepted) {
        if (const auto colour = palette.chosenColour()) {
            m_exo.setSelColor(*colour);
            showColour(*colour & 0xFFFFFF);
            m_exo.refresh();
        }
    }
    m_exo.setFocus();
}

void CharacterTools::Command15_Click() {
    const RichTextBox::UndoStep step(m_exo);
    m_exo.setSelFontName(QStringLiteral("Arial"));
    m_exo.setSelItalic(true);
    m_exo.setFocus();
}

void CharacterTools::showFontName(const std::optional<QString> &name) {
    majpolice = false;
    if (!name) {
        majpolice = true;
        const QSignalBlocker quiet(m_combo1);
        m_combo1->setCurrentIndex(0);
        m_combo1->setEditText(QStringLiteral(" "));
        majpolice = false;
        return;
    }
    // Symbol text keeps the font list on the font typing goes on in.
    if (*name == symbolFontName) return;
    const QSignalBlocker quiet(m_combo1);
    const int index = m_combo1->findText(*name);
    if (index >= 0) m_combo1->setCurrentIndex(index);
    // A font that is not installed still shows its name.
    m_combo1->setEditText(*name);
}

void CharacterTools::showStyles(std::optional<bool> bold, std::optional<bool> italic,
                                std::optional<bool> underline) {
    const std::array<std::optional<bool>, 3> styles = {bold, italic, underline};
    for (int i = 0; i < 3; ++i) {
        const bool on = styles.at(i).value_or(false);
        m_check1.at(i)->setChecked(on);
        m_q2.at(i)->setChecked(on);
    }
}

void CharacterTools::showColour(std::optional<QRgb> colour) {
    m_colours->setExclusive(false);
    for (QRadioButton *option : m_optcoul)
        option->setChecked(false);
    m_colours->setExclusive(true);
    if (!colour) return;
    for (int i = 0; i < 4; ++i) {
        if ((writingColours.at(i) & 0xFFFFFF) == *colour) m_optcoul[i]->setChecked(true);
    }
    QPalette palette = m_cotext->palette();
    palette.setColor(QPalette::WindowText, QColor(*colour));
    m_cotext->setPalette(palette);
}

void CharacterTools::showSize(std::optional<double> sizePt) {
    if (!sizePt) {
        m_taille->clear();
        return;
    }
    const int whole = int(std::nearbyint(*sizePt));
    const QSignalBlocker quiet(m_upDown1);
    m_upDown1->setValue(whole);
    // Sizes beyond the arrows' range are shown as they are.
    m_taille->setText(QString::number(whole));
}
