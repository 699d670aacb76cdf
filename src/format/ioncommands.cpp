#include "format/ioncommands.h"

#include "base/dialogs.h"
#include "base/messages.h"
#include "base/sharedstate.h"
#include "document/runwalker.h"
#include "document/textproperties.h"
#include "editor/editcommands.h"
#include "editor/richtextbox.h"
#include "format/ionformuladialog.h"

#include <QAction>
#include <QPainter>
#include <QPixmap>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <cmath>
#include <vector>

namespace {

// SO4 2-, as the button's picture.
QIcon ionIcon() {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(QColor(0, 0, 128));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 6, 15, 14), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("SO"));
    font.setPixelSize(8);
    painter.setFont(font);
    painter.drawText(QRect(15, 0, 9, 10), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("2-"));
    painter.drawText(QRect(15, 14, 9, 10), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("4"));
    painter.end();
    return QIcon(pixmap);
}

} // namespace

IonCommands::IonCommands(RichTextBox &exo, SharedState &state, Dialogs &dialogs, EditCommands &edit,
                         QWidget *window)
    : QObject(window), m_exo(exo), m_state(state), m_dialogs(dialogs), m_edit(edit),
      m_window(window) {}

void IonCommands::useSmallSizeEntry(QAction *check2) {
    m_check2 = check2;
}

void IonCommands::addTo(QToolBar *toolBar) {
    auto *button = new QToolButton(toolBar);
    button->setObjectName(QStringLiteral("Command9"));
    button->setToolTip(QStringLiteral("Insertion formule ion polyatomique"));
    button->setIcon(ionIcon());
    toolBar->addWidget(button);
    connect(button, &QToolButton::clicked, this, &IonCommands::ionpoly_Click);
}

void IonCommands::ionpoly_Click() {
    // The caret gets its format back at the next selection change, whether
    // an ion comes or not.
    m_state.insertionencours = 1;
    m_edit.memoriser();
    m_state.ionvalide = 0;
    IonFormulaDialog dialog(m_exo, m_window);
    m_dialogs.runDialog(dialog);
    if (!dialog.picture()) return;
    m_state.ionvalide = 1;
    m_exo.setFocus();
    // Straight into the text: whatever the clipboard holds stays there. The
    // caret's format comes back inside the same undo step.
    RichTextBox::UndoStep step(m_exo);
    m_exo.insertPictureAtCaret(dialog.picture()->image, dialog.picture()->shownSizePx);
    step.end();
    m_exo.setFocus();
    m_exo.refresh();
}

void IonCommands::decabiz_Click() {
    if (m_exo.selLength() == 0) {
        m_dialogs.message(messages::nothingSelectedToFormat());
        return;
    }
    if (m_check2) m_check2->setChecked(false);
    QTextDocument *document = m_exo.document();
    const double defaultSizePt = document->defaultFont().pointSizeF();
    struct Piece {
        int from, to;
        QTextCharFormat format;
    };
    // Collected first: changing formats splits and merges runs under a walk.
    std::vector<Piece> pieces;
    const int start = m_exo.selStart();
    runwalker::forEachRun(*document, start, start + m_exo.selLength(), runwalker::Marks::Skipped,
                          [&pieces](const runwalker::Run &run) {
                              QTextCharFormat format = run.format();
                              // Pictures (ions among them) stay on the line.
                              if (!format.isImageFormat() && textprops::offsetTwips(format) == 0)
                                  pieces.push_back({run.from, run.to, std::move(format)});
                          });
    QTextCursor editor(document);
    RichTextBox::UndoStep step(m_exo);
    for (Piece &piece : pieces) {
        const double sizePt =
            piece.format.fontPointSize() > 0 ? piece.format.fontPointSize() : defaultSizePt;
        textprops::setOffsetTwips(piece.format, int(std::lround(levelOffsetPerPoint * sizePt)));
        editor.setPosition(piece.from);
        editor.setPosition(piece.to, QTextCursor::KeepAnchor);
        editor.setCharFormat(piece.format);
    }
    step.end();
    if (m_check2) m_check2->setChecked(true);
    emit formatChanged();
}
