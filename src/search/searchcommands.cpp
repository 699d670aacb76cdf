#include "search/searchcommands.h"

#include "base/dialogs.h"
#include "base/messages.h"
#include "base/sharedstate.h"
#include "editor/richtextbox.h"
#include "search/finddialog.h"
#include "search/replacedialog.h"
#include "widgets/drawnicon.h"

#include <QPainter>
#include <QToolBar>
#include <QToolButton>

namespace {

QIcon magnifier() {
    return drawnIcon(20, [](QPainter &painter) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(90, 60, 30), 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(12.5, 12.5), QPointF(18, 18));
        painter.setPen(QPen(QColor(60, 60, 70), 1.6));
        painter.setBrush(QColor(200, 225, 250));
        painter.drawEllipse(QPointF(8, 8), 5.5, 5.5);
    });
}

} // namespace

SearchCommands::SearchCommands(RichTextBox &exo, SharedState &state, Dialogs &dialogs,
                               QWidget *window)
    : QObject(window), m_exo(exo), m_state(state), m_dialogs(dialogs), m_window(window) {}

void SearchCommands::addTo(QToolBar *toolBar) {
    auto *command13 = new QToolButton(toolBar);
    command13->setObjectName(QStringLiteral("Command13"));
    command13->setToolTip(QStringLiteral("Rechercher"));
    command13->setIcon(magnifier());
    toolBar->addWidget(command13);
    connect(command13, &QToolButton::clicked, this, &SearchCommands::rechercher_Click);
}

void SearchCommands::rechercher_Click() {
    {
        FindDialog chercher(m_exo, m_state, m_dialogs, m_window);
        m_dialogs.runDialog(chercher);
    }
    // A replacement that has reported its end has nothing left to find.
    if (!m_state.chaine.isEmpty() && m_state.remplacementencours == 0) contrech_Click();
    m_exo.setFocus();
}

void SearchCommands::contrech_Click() {
    const int from = m_state.positionrecherche + 1;
    m_state.positionrecherche =
        m_exo.find(m_state.chaine, from, std::nullopt, m_state.optionsrecherche);
    if (m_state.positionrecherche >= 0) return;
    // Once round to the start, unless the search began there.
    if (from != 0) {
        m_state.positionrecherche =
            m_exo.find(m_state.chaine, 0, std::nullopt, m_state.optionsrecherche);
        if (m_state.positionrecherche >= 0) return;
    }
    m_dialogs.message(messages::searchTextNotFound(m_state.chaine));
}

void SearchCommands::remplace_Click() {
    runReplaceDialog(m_exo, m_state, m_dialogs, m_window);
    m_exo.setFocus();
}
