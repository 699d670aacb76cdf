#include "paragraph/paragraphtools.h"

#include "base/sharedstate.h"
#include "editor/richtextbox.h"
#include "widgets/drawnicon.h"

#include <QAction>
#include <QButtonGroup>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>

namespace {

// Button order left, centre, right; the editor's codes are 0 left, 1 right, 2 centre.
constexpr std::array<int, 3> alignmentOfButton = {0, 2, 1};

// Lines of text aligned the button's way.
QIcon alignmentIcon(int button) {
    return drawnIcon(20, [=](QPainter &painter) {
        painter.setPen(QPen(QColor(40, 40, 60), 2));
        const std::array<int, 4> lengths = {14, 9, 14, 7};
        for (int line = 0; line < 4; ++line) {
            const int length = lengths.at(line);
            const int left = button == 0 ? 3 : button == 1 ? 10 - length / 2 : 17 - length;
            const int y = 4 + 4 * line;
            painter.drawLine(left, y, left + length, y);
        }
    });
}

QIcon bulletIcon() {
    return drawnIcon(20, [=](QPainter &painter) {
        painter.setRenderHint(QPainter::Antialiasing);
        for (int line = 0; line < 3; ++line) {
            const int y = 4 + 6 * line;
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(40, 40, 60));
            painter.drawEllipse(QPointF(4, y), 2, 2);
            painter.setPen(QPen(QColor(40, 40, 60), 2));
            painter.drawLine(8, y, 18, y);
        }
    });
}

} // namespace

ParagraphTools::ParagraphTools(RichTextBox &exo, SharedState &state, QWidget *window)
    : QObject(window), m_exo(exo), m_state(state) {}

void ParagraphTools::useMenuEntries(QAction *bull2, const std::array<QAction *, 3> &q2) {
    m_bull2 = bull2;
    m_q2 = q2;
}

void ParagraphTools::addTo(QToolBar *toolBar) {
    const std::array<const char *, 3> tips = {"Aligné à gauche", "Centré", "Aligné à droite"};
    auto *group = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto *button = new QToolButton(toolBar);
        button->setObjectName(QStringLiteral("Option3(%1)").arg(i));
        button->setToolTip(QString::fromUtf8(tips.at(i)));
        button->setIcon(alignmentIcon(i));
        button->setCheckable(true);
        group->addButton(button, i);
        toolBar->addWidget(button);
        m_option3[i] = button;
        connect(button, &QToolButton::clicked, this, [this, i] { Option3_Click(i); });
    }
    m_option3[0]->setChecked(true);
    m_bull = new QToolButton(toolBar);
    m_bull->setObjectName(QStringLiteral("bull"));
    m_bull->setToolTip(QStringLiteral("Style puces"));
    m_bull->setIcon(bulletIcon());
    m_bull->setCheckable(true);
    toolBar->addWidget(m_bull);
    connect(m_bull, &QToolButton::clicked, this, &ParagraphTools::bull_Click);
}

void ParagraphTools::Option3_Click(int) {
    if (m_state.majencours == majphase::styles) return;
    const RichTextBox::UndoStep step(m_exo);
    // The buttons are read in their order, as they stand now.
    for (int i = 0; i < 3; ++i) {
        if (!m_option3[i]->isChecked()) continue;
        m_exo.setSelAlignment(alignmentOfButton.at(i));
        for (int j = 0; j < 3; ++j)
            m_q2[j]->setChecked(j == i);
    }
    if (m_state.majencours != majphase::modes) m_exo.setFocus();
}

void ParagraphTools::q2_Click(int item) {
    m_option3.at(item - 24)->setChecked(true);
    Option3_Click(item - 24);
}

void ParagraphTools::bull_Click() {
    if (m_state.majencours == majphase::styles) return;
    const bool on = m_bull->isChecked();
    m_exo.setSelBullet(on);
    m_bull2->setChecked(on);
    if (m_state.majencours != majphase::modes) {
        m_exo.refresh();
        m_exo.setFocus();
    }
}

void ParagraphTools::bull2_Click() {
    m_bull->setChecked(!m_bull->isChecked());
    bull_Click();
}

void ParagraphTools::showAlignment(int code) {
    const int button = code == 1 ? 2 : code == 2 ? 1 : 0;
    m_option3.at(button)->setChecked(true);
    for (int j = 0; j < 3; ++j)
        m_q2[j]->setChecked(j == button);
}

void ParagraphTools::showBullet(bool on) {
    m_bull->setChecked(on);
    m_bull2->setChecked(on);
}
