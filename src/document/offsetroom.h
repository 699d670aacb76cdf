#pragma once

class QTextBlock;
class QTextBlockFormat;
class QTextCharFormat;
class QTextDocument;

// Room for raised and lowered characters. Qt draws a character's baseline
// offset without making its line taller, so an exponent would print over the
// line above and an index over the line below. Each paragraph holding such
// characters is given, in its block format, the room they need: a top margin
// for its first line and that much more space after each of its lines. The
// room follows from the characters alone; files never carry it.
namespace offsetroom {

struct Room {
    int above = 0; // pixels the highest raised character rises over its line
    int below = 0; // pixels the lowest lowered character drops under it
    bool operator==(const Room &other) const {
        return above == other.above && below == other.below;
    }
    bool operator!=(const Room &other) const { return !(*this == other); }
};

// What the paragraph's characters need.
Room needed(const QTextBlock &block);
// What the paragraph has now.
Room kept(const QTextBlockFormat &format);
void setRoom(QTextBlockFormat &format, Room room);

// Gives the paragraphs touching [from, to] the room they need. The change
// joins the document's last undo step, so that undoing an edit takes its
// room back with it.
void fit(QTextDocument &document, int from, int to);
// Whether an edit of [from, to], typing in the given format, may change the
// room of a paragraph.
bool mayChange(const QTextDocument &document, int from, int to, const QTextCharFormat &typing);

// The whole document, as read from a file; returns at once when no
// character of it is raised or lowered.
void fitAll(QTextDocument &document);

// Fits the paragraphs each edit of the document touches, from now on for as
// long as it lives. Undo and redo bring back the room their step held, so
// they are left alone.
void keepFitted(QTextDocument *document);

} // namespace offsetroom
