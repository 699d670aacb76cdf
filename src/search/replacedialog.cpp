#include "search/replacedialog.h"

#include "base/dialogs.h"
#include "base/messages.h"
#include "base/sharedstate.h"
#include "editor/richtextbox.h"
#include "search/replacechoicedialog.h"
#include "search/replacement.h"
#include "search/searchlayout.h"
#include "search/searchoptions.h"
#include "widgets/dialogfit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace {

// Geometry in twips, as the dialog has always been laid out.
constexpr int clientWidthTwips = 5535;
constexpr int clientHeightTwips = 2985;
constexpr int buttonLeftTwips = 3900;
constexpr int buttonWidthTwips = 1455;
constexpr int matchClearancePx = 24;

// Below the selected match, or above it when the screen ends first, so that
// the user sees what is about to be replaced.
void placeClearOfMatch(QDialog &choice, const RichTextBox &exo) {
    const QRect match(exo.viewport()->mapToGlobal(exo.cursorRect().topLeft()),
                      exo.cursorRect().size());
    const QWidget *window = exo.window();
    const QScreen *screen = window->screen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    const QSize size = choice.frameSize().expandedTo(choice.size());
    int top = match.bottom() + matchClearancePx;
    if (top + size.height() > available.bottom())
        top = match.top() - matchClearancePx - size.height();
    const int left = window->frameGeometry().center().x() - size.width() / 2;
    choice.move(std::clamp(left, available.left(), available.right() - size.width()),
                std::clamp(top, available.top(), available.bottom() - size.height()));
}

} // namespace

ReplaceDialog::ReplaceDialog(RichTextBox &exo, SharedState &state, Dialogs &dialogs,
                             QWidget *parent)
    : QDialog(parent), m_exo(exo), m_state(state), m_dialogs(dialogs) {
    dialogfit::setUpFixedDialog(*this, "remplaceur", QStringLiteral("Remplacer"), clientWidthTwips,
                                clientHeightTwips);

    using namespace searchlayout;
    m_text1 = addFramedField(*this, "Frame1", QStringLiteral("Texte à rechercher"), "Text1", 60);
    m_text2 = addFramedField(*this, "Frame3", QStringLiteral("Remplacer par"), "Text2", 900);
    QGroupBox *frame2 = addOptionsFrame(*this, 1740);
    m_check1 =
        addOption(*frame2, "Check1", QStringLiteral("Différencier Majuscules / Minuscules"), 330);
    m_check2 = addOption(*frame2, "Check2", QStringLiteral("Mot entier"), 660);
    const QList<QWidget *> widened{m_text1->parentWidget(),
                                   m_text1,
                                   m_text2->parentWidget(),
                                   m_text2,
                                   frame2,
                                   m_check1,
                                   m_check2};

    const auto addCommand = [this](const char *name, const QString &caption, int topTwips,
                                   void (ReplaceDialog::*handler)()) {
        QPushButton *button =
            addButton(*this, name, caption, buttonLeftTwips, topTwips, buttonWidthTwips);
        connect(button, &QPushButton::clicked, this, handler);
        return button;
    };
    QPushButton *command3 =
        addCommand("Command3", QStringLiteral("&Remplacer"), 120, &ReplaceDialog::Command3_Click);
    command3->setDefault(true);
    QPushButton *command1 = addCommand("Command1", QStringLiteral("Remplacer &tout"), 600,
                                       &ReplaceDialog::Command1_Click);
    QPushButton *command2 =
        addCommand("Command2", QStringLiteral("&Annuler"), 1080, &ReplaceDialog::Command2_Click);
    const QList<QWidget *> buttons{command3, command1, command2};
    dialogfit::fitCaptions(*this,
                           {{{m_check1, m_check2}, widened, buttons}, {buttons, buttons, {}}});

    showSearchOptions(m_state.optionsrecherche, *m_check1, *m_check2);
    m_text1->setText(m_exo.selLength() > 0 ? m_exo.selText() : m_state.chaine);
    m_text2->setText(m_state.remplacant);
    m_text1->selectAll();
    m_text1->setFocus();
}

bool ReplaceDialog::takeTexts() {
    m_state.chaine = m_text1->text();
    if (m_state.chaine.isEmpty()) {
        m_dialogs.message(messages::nothingToReplace());
        return false;
    }
    m_state.remplacant = m_text2->text();
    return true;
}

void ReplaceDialog::commun() {
    m_state.optionsrecherche = searchOptions(*m_check1, *m_check2);
    // No bounds: the selection if there is one, else the whole text.
    if (m_exo.find(m_state.chaine, std::nullopt, std::nullopt, m_state.optionsrecherche) < 0) {
        m_dialogs.message(messages::searchTextNotFound(m_text1->text()));
        m_state.remplacementencours = 1;
        return;
    }
    // Out of the way of the matches and of the confirmations.
    hide();
}

void ReplaceDialog::Command3_Click() {
    if (!takeTexts()) return;
    commun();
    confirmEach();
    accept();
}

void ReplaceDialog::confirmEach() {
    const QString &text = m_state.chaine;
    const QString &replacing = m_state.remplacant;
    const int options = m_state.optionsrecherche;
    m_state.positionrecherche = 0;
    int from = 0;
    int shown = 0;
    replacement::Outcome outcome;
    while (true) {
        const int at = m_exo.find(text, from, std::nullopt, options);
        if (at < 0) break;
        // Protected text cannot change: no use asking about it.
        if (m_exo.touchesProtected(at, at + int(text.size()))) {
            ++outcome.protectedLeft;
            from = at + int(text.size());
            continue;
        }
        m_state.positionrecherche = at + 1;
        ++shown;
        ReplaceChoiceDialog choice(parentWidget());
        placeClearOfMatch(choice, m_exo);
        m_dialogs.runDialog(choice);
        switch (choice.choice()) {
        case ReplaceChoiceDialog::Replace:
            m_exo.setSelText(replacing);
            ++outcome.replaced;
            // Behind the inserted text: a replacement containing the text
            // is not offered again.
            from = at + int(replacing.size());
            break;
        case ReplaceChoiceDialog::Skip:
            from = at + 1;
            break;
        case ReplaceChoiceDialog::Cancel:
            m_state.positionrecherche = 0;
            return;
        case ReplaceChoiceDialog::ReplaceAll:
            m_state.positionrecherche = 0;
            reportEnd(replacement::replaceAll(m_exo, text, replacing, options));
            return;
        }
    }
    if (shown > 0) {
        m_dialogs.message(messages::replaceFinished(text, replacing));
        m_state.remplacementencours = 1;
    } else {
        reportEnd(outcome);
    }
}

void ReplaceDialog::Command1_Click() {
    if (!takeTexts()) return;
    commun();
    reportEnd(replacement::replaceAll(m_exo, m_state.chaine, m_state.remplacant,
                                      m_state.optionsrecherche));
    accept();
}

// The end of a replacement that made the replacements it could: "terminé"
// only when something was replaced, and a word of why when protected text
// stopped every one.
void ReplaceDialog::reportEnd(const replacement::Outcome &outcome) {
    if (outcome.replaced > 0) {
        m_dialogs.message(messages::replaceFinished(m_state.chaine, m_state.remplacant));
        m_state.remplacementencours = 1;
    } else if (outcome.protectedLeft > 0) {
        m_dialogs.message(messages::replacedNothingProtected(m_state.chaine));
        m_state.remplacementencours = 1;
    }
}

void ReplaceDialog::Command2_Click() {
    m_state.chaine.clear();
    QDialog::reject();
}

void ReplaceDialog::reject() {
    Command2_Click();
}

void runReplaceDialog(RichTextBox &exo, SharedState &state, Dialogs &dialogs, QWidget *parent) {
    ReplaceDialog dialog(exo, state, dialogs, parent);
    dialogs.runDialog(dialog);
    exo.setSelLength(0);
}
