#pragma once

class CharacterTools;
class IndexExponentTools;
class ParagraphTools;
class Ruler;
class RichTextBox;
struct SharedState;

// Hands every formatting tool what the editor's selection has, in a fixed
// order, each tool showing it itself. It never changes the text; the one
// thing it may write is the typing font of a bare caret after a symbol.
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
