#pragma once

#include "base/units.h"
#include "document/rtf/rtfkeywords.h"
#include "document/rtf/rtflists.h"

#include <QHash>
#include <QList>
#include <QTextOption>
#include <algorithm>
#include <optional>

// What a group of RTF sets for the characters and paragraphs inside it; each
// group starts with its parent's.
namespace rtfread {

constexpr int minSizeHalfPt = 2; // 1 pt

enum class SuperSub : unsigned char { None, Super, Sub };

struct CharState {
    int fontIndex = -1; // -1: the \deff font
    int sizeHalfPt = defaultSizeHalfPt;
    int colorIndex = 0;
    int explicitOffsetTwips = 0;
    bool hasExplicitOffset = false;
    SuperSub superSub = SuperSub::None;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool protect = false;
    bool caps = false;
    bool smallCaps = false;
    bool hidden = false;
    bool shownOnly = false; // a footnote's number or text, kept in its group

    bool operator==(const CharState &) const = default;

    // \super and \sub print at two thirds of the size, rounded to the half point.
    int shownSizeHalfPt() const {
        if (superSub == SuperSub::None) return sizeHalfPt;
        return std::max(minSizeHalfPt, (sizeHalfPt * 2 + 1) / 3);
    }

    int offsetTwips() const {
        if (hasExplicitOffset) return explicitOffsetTwips;
        switch (superSub) {
        case SuperSub::Super:
            return (sizeHalfPt * units::twipsPerHalfPoint + 1) / 3;
        case SuperSub::Sub:
            return -(sizeHalfPt * units::twipsPerHalfPoint) / 5;
        case SuperSub::None:
            break;
        }
        return 0;
    }
};

inline size_t qHash(const CharState &state, size_t hashSeed = 0) {
    return qHashMulti(hashSeed, state.fontIndex, state.sizeHalfPt, state.colorIndex,
                      state.explicitOffsetTwips, int(state.superSub),
                      (state.bold ? 1 : 0) | (state.italic ? 2 : 0) | (state.underline ? 4 : 0) |
                          (state.strike ? 8 : 0) | (state.protect ? 16 : 0) |
                          (state.hasExplicitOffset ? 32 : 0) | (state.caps ? 64 : 0) |
                          (state.smallCaps ? 128 : 0) | (state.hidden ? 256 : 0) |
                          (state.shownOnly ? 512 : 0));
}

struct ParaState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftTwips = 0;
    int rightTwips = 0;
    int firstLineTwips = 0;
    QList<QTextOption::Tab> tabs;
    QTextOption::TabType nextTabType = QTextOption::LeftTab;
    int listOverride = 0;                        // \ls: a list of the list table
    int listLevel = 0;                           // \ilvl
    std::optional<rtflists::ListLook> numbering; // from \pn
    bool textLabel = false; // the \listtext label is a number, not a bullet sign

    bool operator==(const ParaState &) const = default;
};

struct GroupState {
    CharState chars;
    ParaState para;
    Dest dest = Dest::Body;
    bool ownsDest = false;      // this group (not a parent) entered dest
    int unicodeSkip = 1;        // \ucN
    Dest uprOuter = Dest::Body; // where the Unicode branch of an \upr goes
};

} // namespace rtfread
