#include "app/selectionrefresh.h"

#include "base/sharedstate.h"
#include "editor/richtextbox.h"
#include "format/charactertools.h"
#include "format/indexexponenttools.h"
#include "paragraph/paragraphtools.h"
#include "paragraph/ruler.h"

#include <QComboBox>
#include <QScopedValueRollback>

namespace {

const QString symbolFont = QStringLiteral("Symbol");

} // namespace

SelectionRefresh::SelectionRefresh(RichTextBox &exo, SharedState &state, CharacterTools &characters,
                                   IndexExponentTools &modes, ParagraphTools &paragraphs,
                                   Ruler &ruler)
    : m_exo(exo), m_state(state), m_characters(characters), m_modes(modes),
      m_paragraphs(paragraphs), m_ruler(ruler) {}

void SelectionRefresh::maj() {
    QScopedValueRollback<int16_t> refreshing(m_state.majencours);
    m_ruler.showIndents();
    RichTextBox::CharacterSummary chars = m_exo.characterSummary();
    // A bare caret just after a symbol: typing goes on in the font the list
    // shows. This is the one write the refresh makes, and only to the typing
    // format of an empty selection, never to the text.
    if (chars.fontName == symbolFont && m_exo.selLength() == 0) {
        const QString typingFont = m_characters.shownFontName();
        m_exo.setSelFontName(typingFont);
        chars.fontName = typingFont;
    }
    m_characters.showFontName(chars.fontName);
    m_state.majencours = majphase::modes;
    m_modes.showOffset(chars.charOffset);
    m_state.majencours = majphase::styles;
    m_paragraphs.showBullet(m_exo.selBullet().value_or(false));
    m_characters.showStyles(chars.bold, chars.italic, chars.underline);
    m_state.majencours = majphase::modes;
    m_characters.showColour(chars.color);
    if (const auto alignment = m_exo.selAlignment()) m_paragraphs.showAlignment(*alignment);
    m_characters.showSize(chars.fontSize);
}
