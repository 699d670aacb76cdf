#pragma once

class CharacterTools;
class IndexExponentTools;
class ParagraphTools;
class Ruler;
class RichTextBox;
struct SharedState;

// Sets every formatting tool from the attributes of the editor's selection.
// It only shows: nothing it does may change the text or its formatting.
class SelectionRefresh {
public:
    SelectionRefresh(RichTextBox &exo, SharedState &state, CharacterTools &characters,
                     IndexExponentTools &modes, ParagraphTools &paragraphs, Ruler &ruler);

    void maj();

private:
    RichTextBox &m_exo;
    SharedState &m_state;
    CharacterTools &m_characters;
    IndexExponentTools &m_modes;
    ParagraphTools &m_paragraphs;
    Ruler &m_ruler;
};
