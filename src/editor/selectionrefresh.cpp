#include "editor/selectionrefresh.h"

#include "app/sharedstate.h"
#include "editor/richtextbox.h"
#include "format/charactertools.h"
#include "format/indexexponenttools.h"
#include "paragraph/paragraphtools.h"
#include "paragraph/ruler.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <cmath>

namespace {

const QString symbolFont = QStringLiteral("Symbol");

void showFontName(QComboBox *list, const QString &name) {
    const QSignalBlocker quiet(list);
    const int index = list->findText(name);
    if (index >= 0) list->setCurrentIndex(index);
    // A font that is not installed still shows its name.
    list->setEditText(name);
}

} // namespace

SelectionRefresh::SelectionRefresh(RichTextBox &exo, SharedState &state, CharacterTools &characters,
                                   IndexExponentTools &modes, ParagraphTools &paragraphs,
                                   Ruler &ruler)
    : m_exo(exo), m_state(state), m_characters(characters), m_modes(modes),
      m_paragraphs(paragraphs), m_ruler(ruler) {}

void SelectionRefresh::maj() {
    QScopedValueRollback<int16_t> refreshing(m_state.majencours);
    CharacterTools &tools = m_characters;
    tools.majpolice = false;
    m_ruler.showIndents();

    // A bare caret just after a symbol: typing goes on in the ordinary font.
    RichTextBox::CharacterSummary chars = m_exo.characterSummary();
    if (chars.fontName == symbolFont && m_exo.selLength() == 0) {
        m_exo.setSelFontName(tools.combo1()->currentText());
        chars.fontName = tools.combo1()->currentText();
    }

    if (!chars.fontName) {
        tools.majpolice = true;
        const QSignalBlocker quiet(tools.combo1());
        tools.combo1()->setCurrentIndex(0);
        tools.combo1()->setEditText(QStringLiteral(" "));
    } else if (*chars.fontName != symbolFont) {
        showFontName(tools.combo1(), *chars.fontName);
    }
    tools.majpolice = false;

    m_state.majencours = 1;
    const std::optional<int> offset = chars.charOffset;
    if (offset) m_modes.option2(*offset == 0 ? 0 : *offset < 0 ? 1 : 2)->setChecked(true);
    m_modes.check3(1)->setChecked(offset && *offset < 0);
    m_modes.check3(0)->setChecked(offset && *offset > 0);

    m_state.majencours = 2;
    m_paragraphs.showBullet(m_exo.selBullet().value_or(false));
    const std::array<std::optional<bool>, 3> styles = {chars.bold, chars.italic, chars.underline};
    for (int i = 0; i < 3; ++i) {
        const bool on = styles.at(i).value_or(false);
        tools.check1(i + 1)->setChecked(on);
        tools.q2(i + 1)->setChecked(on);
    }

    m_state.majencours = 1;
    tools.showColour(chars.color);
    if (const auto alignment = m_exo.selAlignment()) m_paragraphs.showAlignment(*alignment);
    if (chars.color) {
        QPalette palette = tools.cotext()->palette();
        palette.setColor(QPalette::WindowText, QColor(*chars.color));
        tools.cotext()->setPalette(palette);
    }
    if (chars.fontSize) {
        const int whole = int(std::nearbyint(*chars.fontSize));
        const QSignalBlocker quiet(tools.upDown1());
        tools.upDown1()->setValue(whole);
        // Sizes beyond the arrows' range are shown as they are.
        tools.taille()->setText(QString::number(whole));
    } else {
        tools.taille()->clear();
    }
}
