#include "search/finddialog.h"

#include "base/dialogs.h"
#include "base/messages.h"
#include "base/sharedstate.h"
#include "editor/richtextbox.h"
#include "search/replacedialog.h"
#include "search/searchlayout.h"
#include "search/searchoptions.h"
#include "widgets/dialogfit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Geometry in twips, as the dialog has always been laid out.
constexpr int clientWidthTwips = 5415;
constexpr int clientHeightTwips = 2205;
constexpr int buttonLeftTwips = 3900;
constexpr int buttonWidthTwips = 1335;

} // namespace

FindDialog::FindDialog(RichTextBox &exo, SharedState &state, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent), m_exo(exo), m_state(state), m_dialogs(dialogs) {
    dialogfit::setUpFixedDialog(*this, "Chercher", QStringLiteral("Rechercher"), clientWidthTwips,
                                clientHeightTwips);

    using namespace searchlayout;
    m_text1 = addFramedField(*this, "Frame1", QStringLiteral("Texte à rechercher"), "Text1", 60);
    QGroupBox *frame2 = addOptionsFrame(*this, 960);
    m_check2 = addOption(*frame2, "Check2", QStringLiteral("Rechercher mot entier"), 330);
    m_check1 =
        addOption(*frame2, "Check1", QStringLiteral("Différencier Majuscules / Minuscules"), 660);

    const auto addCommand = [this](const char *name, const QString &caption, int topTwips,
                                   void (FindDialog::*handler)()) {
        QPushButton *button =
            addButton(*this, name, caption, buttonLeftTwips, topTwips, buttonWidthTwips);
        connect(button, &QPushButton::clicked, this, handler);
        return button;
    };
    QPushButton *command1 =
        addCommand("Command1", QStringLiteral("&Rechercher"), 120, &FindDialog::Command1_Click);
    command1->setDefault(true);
    QPushButton *command2 =
        addCommand("Command2", QStringLiteral("&Annuler"), 600, &FindDialog::Command2_Click);
    QPushButton *command3 =
        addCommand("Command3", QStringLiteral("Remplacer"), 1665, &FindDialog::Command3_Click);
    QWidget *frame1 = m_text1->parentWidget();
    dialogfit::fitCaptions(*this,
                           {{{m_check1, m_check2},
                             {frame1, m_text1, frame2, m_check1, m_check2},
                             {command1, command2, command3}},
                            {{command1, command2, command3}, {command1, command2, command3}, {}}});

    m_state.remplacementencours = 0;
    showSearchOptions(m_state.optionsrecherche, *m_check1, *m_check2);
    m_text1->setText(m_exo.selLength() > 0 ? m_exo.selText() : m_state.chaine);
    m_text1->selectAll();
    m_text1->setFocus();
}

void FindDialog::Command1_Click() {
    m_state.chaine = m_text1->text();
    m_state.optionsrecherche = searchOptions(*m_check1, *m_check2);
    // No bounds: the selection if there is one, else the whole text.
    if (m_exo.find(m_state.chaine, std::nullopt, std::nullopt, m_state.optionsrecherche) < 0) {
        m_dialogs.message(messages::searchTextNotFound(m_text1->text()));
        return;
    }
    accept();
}

void FindDialog::Command2_Click() {
    m_state.chaine.clear();
    QDialog::reject();
}

void FindDialog::reject() {
    Command2_Click();
}

void FindDialog::Command3_Click() {
    hide();
    runReplaceDialog(m_exo, m_state, m_dialogs, parentWidget());
    accept();
}
