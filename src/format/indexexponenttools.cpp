#include "format/indexexponenttools.h"

#include "widgets/designernames.h"

#include "base/dialogs.h"
#include "base/messages.h"
#include "base/sharedstate.h"
#include "editor/richtextbox.h"
#include "format/formateur.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QRadioButton>
#include <QShortcutEvent>
#include <QToolBar>
#include <cmath>

namespace {

// The offset in twips for v twentieths of a size in points.
int proportionalOffset(double sizePt, int v) {
    return int(std::lround(sizePt * v));
}

} // namespace

IndexExponentTools::IndexExponentTools(RichTextBox &exo, SharedState &state, Dialogs &dialogs,
                                       QWidget *window)
    : QObject(window), m_exo(exo), m_state(state), m_dialogs(dialogs), m_window(window) {}

void IndexExponentTools::useSmallSizeEntry(QAction *check2) {
    m_check2 = check2;
}

void IndexExponentTools::check2_Click() {
    // The mark has turned over by itself; existing text stays as it is.
    m_exo.setFocus();
}

void IndexExponentTools::addTo(QToolBar *toolBar) {
    const std::array<const char *, 3> captions = {"&Normal", "&Indice", "E&xposant"};
    const std::array<const char *, 3> tips = {"Caractère normal", "indice", "exposant"};
    auto *modes = new QWidget(toolBar);
    auto *row = new QHBoxLayout(modes);
    row->setContentsMargins(2, 0, 2, 0);
    for (int i = 0; i < 3; ++i) {
        auto *option = new QRadioButton(QString::fromUtf8(captions.at(i)), modes);
        option->setObjectName(indexedName("Option2", i));
        option->setToolTip(QString::fromUtf8(tips.at(i)));
        row->addWidget(option);
        m_option2[i] = option;
        connect(option, &QRadioButton::clicked, this, [this, i] { Option2_Click(i); });
        option->installEventFilter(this);
    }
    m_option2[0]->setChecked(true);
    toolBar->addWidget(modes);

    auto *frame = new QGroupBox(toolBar);
    frame->setObjectName(QStringLiteral("Frame1(0)"));
    frame->setFlat(true);
    auto *boxes = new QHBoxLayout(frame);
    boxes->setContentsMargins(2, 0, 2, 0);
    const std::array<const char *, 2> boxCaptions = {"exposant", "indice"};
    for (int i = 0; i < 2; ++i) {
        auto *box = new QCheckBox(QLatin1String(boxCaptions.at(i)), frame);
        box->setObjectName(indexedName("Check3", i));
        boxes->addWidget(box);
        m_check3[i] = box;
        connect(box, &QCheckBox::clicked, this, [this, i] { Check3_Click(i); });
    }
    m_decexp = new QLabel(QString::number(m_udexp), frame);
    m_decexp->setObjectName(QStringLiteral("decexp"));
    m_decexp->setToolTip(QStringLiteral("décalage exposants"));
    m_decind = new QLabel(QString::number(m_udind), frame);
    m_decind->setObjectName(QStringLiteral("decind"));
    m_decind->setToolTip(QStringLiteral("décalage indices"));
    boxes->addWidget(m_decexp);
    boxes->addWidget(m_decind);
    toolBar->addWidget(frame);
}

bool IndexExponentTools::eventFilter(QObject *watched, QEvent *event) {
    // A button's access key would click it a tenth of a second later, with
    // the focus on the button meanwhile: the keys typed in that time would
    // be lost. The mode is chosen at once and the editor keeps the focus.
    if (event->type() == QEvent::Shortcut && !static_cast<QShortcutEvent *>(event)->isAmbiguous()) {
        for (QRadioButton *option : m_option2) {
            if (watched != option) continue;
            if (option->isEnabled()) option->click();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

formulas::LevelLook IndexExponentTools::levelLook() const {
    static_assert(formulas::LevelLook::smallSizePt == smallSizePt);
    return {m_udexp, m_udind, m_check2 && m_check2->isChecked()};
}

void IndexExponentTools::select(int option) {
    m_option2.at(option)->setChecked(true);
    Option2_Click(option);
}

void IndexExponentTools::showOffset(std::optional<int> offsetTwips) {
    if (offsetTwips)
        m_option2.at(*offsetTwips == 0 ? 0 : *offsetTwips < 0 ? 1 : 2)->setChecked(true);
    m_check3.at(1)->setChecked(offsetTwips && *offsetTwips < 0);
    m_check3.at(0)->setChecked(offsetTwips && *offsetTwips > 0);
}

void IndexExponentTools::Option2_Click(int index) {
    if (m_state.majencours == majphase::modes) return;
    // The offset and the size change together.
    const RichTextBox::UndoStep step(m_exo);
    if (index == 0) {
        for (QCheckBox *box : m_check3)
            box->setChecked(false);
        // Before any size was saved there is nothing to give back.
        if (m_state.taillenormale > 0) m_exo.setSelFontSize(m_state.taillenormale);
        m_taillesauvee = false;
    } else if (!m_taillesauvee) {
        if (const auto size = m_exo.selFontSize())
            m_state.taillenormale = int16_t(std::lround(*size));
        m_taillesauvee = true;
    }
    const bool normal = m_option2[0]->isChecked();
    const bool lowered = m_option2[1]->isChecked();
    const bool raised = m_option2[2]->isChecked();
    if (normal) m_exo.setSelCharOffset(0);
    if (m_check2->isChecked()) {
        if (lowered) m_exo.setSelCharOffset(-10 * m_udind);
        if (raised) m_exo.setSelCharOffset(10 * m_udexp);
        if (!normal) m_exo.setSelFontSize(smallSizePt);
    } else if (const auto size = m_exo.selFontSize()) {
        if (lowered) m_exo.setSelCharOffset(-proportionalOffset(*size, m_udind));
        if (raised) m_exo.setSelCharOffset(proportionalOffset(*size, m_udexp));
    }
    m_exo.refresh();
    m_exo.setFocus();
}

void IndexExponentTools::Check3_Click(int index) {
    if (m_state.majencours == majphase::modes) return;
    QCheckBox *box = m_check3.at(index);
    if (!box->isChecked()) {
        select(0);
        return;
    }
    select(index == 0 ? 2 : 1);
    m_check3.at(1 - index)->setChecked(false);
    box->setChecked(true);
}

void IndexExponentTools::setUdexp(int value) {
    m_udexp = value;
    m_decexp->setText(QString::number(value));
    offsetValueChanged();
}

void IndexExponentTools::setUdind(int value) {
    m_udind = value;
    m_decind->setText(QString::number(value));
    offsetValueChanged();
}

void IndexExponentTools::offsetValueChanged() {
    // A new value applies at once, always in proportion to the size.
    if (m_option2[0]->isChecked()) {
        m_exo.setSelCharOffset(0);
    } else if (const auto size = m_exo.selFontSize()) {
        if (m_option2[1]->isChecked()) m_exo.setSelCharOffset(-proportionalOffset(*size, m_udind));
        if (m_option2[2]->isChecked()) m_exo.setSelCharOffset(proportionalOffset(*size, m_udexp));
    }
    m_exo.setFocus();
}

void IndexExponentTools::decaexp_Click() {
    askOffset(true);
}

void IndexExponentTools::decaind_Click() {
    askOffset(false);
}

void IndexExponentTools::askOffset(bool exponents) {
    const auto answer = m_dialogs.input(QStringLiteral("Valeur du décalage (de 1 à 20)"),
                                        exponents ? QStringLiteral("Décalage des exposants")
                                                  : QStringLiteral("Décalage des indices"),
                                        QString::number(exponents ? m_udexp : m_udind));
    if (!answer || answer->isEmpty()) return;
    bool isNumber = false;
    const double number = QLocale().toDouble(answer->trimmed(), &isNumber);
    const double whole = isNumber && std::isfinite(number) ? std::floor(number) : 0;
    if (whole < minOffsetValue || whole > maxOffsetValue) {
        m_dialogs.message(messages::offsetOutOfRange());
        return;
    }
    if (exponents)
        setUdexp(int(whole));
    else
        setUdind(int(whole));
}

void IndexExponentTools::toutexpo_Click() {
    alignAll(true);
}

void IndexExponentTools::toutindi_Click() {
    alignAll(false);
}

void IndexExponentTools::alignAll(bool exponents) {
    const OffsetKind kind = exponents ? OffsetKind::Exponents : OffsetKind::Indices;
    m_state.typedecalage = int16_t(kind);
    if (m_exo.selLength() == 0) {
        m_dialogs.message(messages::nothingSelectedToAlign(exponents));
        return;
    }
    Formateur dialog(kind, m_exo.selRTF(), exponents ? m_udexp : m_udind, m_window);
    m_dialogs.runDialog(dialog);
    if (const auto processed = dialog.result()) m_exo.setSelRTF(*processed);
}
