#include "paragraph/marginsdialog.h"

#include "base/numbertext.h"
#include "base/units.h"
#include "editor/richtextbox.h"
#include "widgets/dialogfit.h"
#include "widgets/numerickeyfilter.h"
#include "widgets/twipsrect.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace {

constexpr double maxIndentCm = 4;

// Geometry in twips, as the dialog has always been laid out.
constexpr int clientWidthTwips = 3750;
constexpr int clientHeightTwips = 2175;
constexpr int labelHeightTwips = 255;
constexpr int fieldLeftTwips = 1920;
constexpr int fieldWidthTwips = 1455;
constexpr int fieldHeightTwips = 360;
constexpr int buttonTopTwips = 1440;
constexpr int buttonWidthTwips = 1095;
constexpr int buttonHeightTwips = 375;

bool isBlank(const QLineEdit *field) {
    return field->text().trimmed().isEmpty();
}

// A text that cannot be read counts as below the range.
void keepWithinRange(QLineEdit *field) {
    if (!isBlank(field) && numbertext::localeNumber(field->text()).value_or(-1) < 0)
        field->setText(QStringLiteral("0"));
    if (!isBlank(field) && numbertext::localeNumber(field->text()).value_or(0) > maxIndentCm)
        field->setText(QString::number(maxIndentCm));
}

void showCm(QLineEdit *field, std::optional<double> indentPx) {
    if (indentPx) field->setText(numbertext::upToTwoDecimals(*indentPx / units::pixelsPerCmClick));
}

double indentPxOf(const QLineEdit *field) {
    return numbertext::localeNumber(field->text()).value_or(0) * units::pixelsPerCmClick;
}

} // namespace

MarginsDialog::MarginsDialog(RichTextBox &exo, QWidget *parent) : QDialog(parent), m_exo(exo) {
    setObjectName(QStringLiteral("marges"));
    setWindowTitle(QStringLiteral("Les marges"));
    setWindowFlags(dialogfit::smallDialogFlags);
    setModal(true);
    setFixedSize(units::pixelsFromTwips(clientWidthTwips),
                 units::pixelsFromTwips(clientHeightTwips));
    QPalette orange = palette();
    orange.setColor(QPalette::Window, QColor(255, 224, 192));
    setPalette(orange);
    setAutoFillBackground(true);

    // Made first so that it comes first in the tab order and holds the focus.
    auto *validateButton = new QPushButton(QStringLiteral("Valider"), this);
    validateButton->setObjectName(QStringLiteral("Command1"));
    validateButton->setGeometry(
        rectFromTwips(2040, buttonTopTwips, buttonWidthTwips, buttonHeightTwips));
    validateButton->setDefault(true);
    validateButton->setFocus();
    connect(validateButton, &QPushButton::clicked, this, &MarginsDialog::validate);

    addLabel(QStringLiteral("Label1"), QStringLiteral("Marge gauche:"), 120, 300, 1695);
    m_leftCm = addField(0, 240);
    addLabel(QStringLiteral("Label2"), QStringLiteral("Marge droite:"), 240, 780, 1575);
    m_rightCm = addField(1, 720);

    auto *cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    cancel->setGeometry(rectFromTwips(480, buttonTopTwips, buttonWidthTwips, buttonHeightTwips));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    dialogfit::fitFixedDialog(*this);

    // A field stays empty where the selected paragraphs differ.
    showCm(m_leftCm, m_exo.selIndent());
    showCm(m_rightCm, m_exo.selRightIndent());
    m_shownLeftCm = m_leftCm->text();
    m_shownRightCm = m_rightCm->text();
}

void MarginsDialog::addLabel(const QString &name, const QString &caption, int leftTwips,
                             int topTwips, int widthTwips) {
    auto *label = new QLabel(caption, this);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(rectFromTwips(leftTwips, topTwips, widthTwips, labelHeightTwips));
}

QLineEdit *MarginsDialog::addField(int index, int topTwips) {
    auto *field = new QLineEdit(this);
    field->setObjectName(QStringLiteral("Text1(%1)").arg(index));
    field->setGeometry(rectFromTwips(fieldLeftTwips, topTwips, fieldWidthTwips, fieldHeightTwips));
    field->installEventFilter(this);
    return field;
}

bool MarginsDialog::eventFilter(QObject *watched, QEvent *event) {
    if ((watched == m_leftCm || watched == m_rightCm) && event->type() == QEvent::KeyPress)
        return filterFieldKey(static_cast<QLineEdit *>(watched), static_cast<QKeyEvent *>(event));
    return QDialog::eventFilter(watched, event);
}

// Returns true to discard the key. Only typed characters are filtered:
// editing, navigation and shortcut keys keep working.
bool MarginsDialog::filterFieldKey(QLineEdit *field, QKeyEvent *event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        validate();
        return true;
    }
    // A full stop, as the keypad types, writes the user's decimal separator.
    return NumericKeyFilter(QLocale().decimalPoint(), QStringLiteral(".")).filter(field, event);
}

void MarginsDialog::validate() {
    keepWithinRange(m_leftCm);
    keepWithinRange(m_rightCm);
    const RichTextBox::UndoStep step(m_exo);
    // The fields show centimetres rounded to two decimals: a margin left as
    // shown keeps its exact value instead of taking the rounded one.
    if (!isBlank(m_leftCm) && m_leftCm->text() != m_shownLeftCm)
        m_exo.setSelIndent(indentPxOf(m_leftCm));
    if (!isBlank(m_rightCm) && m_rightCm->text() != m_shownRightCm)
        m_exo.setSelRightIndent(indentPxOf(m_rightCm));
    accept();
}
