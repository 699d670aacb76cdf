#pragma once

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>

#include <algorithm>
#include <type_traits>

// The one walk over the runs of a range: the text of each fragment inside it
// and, when asked, the paragraph marks, whose format is the one the next
// block records (Qt keeps a block's mark format on the block after it).
namespace runwalker {

// A run of one format met by the walk.
struct Run {
    int from = 0;           // first position inside the walked range
    int to = 0;             // past the last one
    int position = 0;       // where the whole fragment starts; the mark's own for a mark
    QTextFragment fragment; // invalid for a paragraph mark
    QTextBlock nextBlock;   // for a paragraph mark, the block recording its format

    bool isMark() const { return !fragment.isValid(); }
    QTextCharFormat format() const {
        return isMark() ? nextBlock.charFormat() : fragment.charFormat();
    }
};

enum class Marks { Skipped, Included };

namespace detail {
// Visits may return nothing, or false to stop the walk.
template <typename Visit> bool keepWalking(Visit &visit, const Run &run) {
    if constexpr (std::is_void_v<std::invoke_result_t<Visit &, const Run &>>) {
        visit(run);
        return true;
    } else {
        return bool(visit(run));
    }
}
} // namespace detail

// Visits the fragments of one block that overlap [from, to), with their
// bounds clipped to it. Positions are summed from the block's: asking each
// fragment for its own costs a walk of the document's tree. Returns false
// when a visit stopped the walk.
template <typename Visit>
bool forEachFragment(const QTextBlock &block, int from, int to, Visit &&visit) {
    int start = block.position();
    for (auto it = block.begin(); !it.atEnd() && start < to; ++it) {
        Run run;
        run.fragment = it.fragment();
        run.position = start;
        const int end = start + run.fragment.length();
        if (end > from) {
            run.from = std::max(from, start);
            run.to = std::min(to, end);
            if (!detail::keepWalking(visit, run)) return false;
        }
        start = end;
    }
    return true;
}

// Visits the runs of [from, to) in the document's order, each paragraph's
// mark after its text when marks are included. The last paragraph's mark,
// which ends the document, is never visited. Returns false when a visit
// stopped the walk.
template <typename Visit>
bool forEachRun(const QTextDocument &document, int from, int to, Marks marks, Visit &&visit) {
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        if (!forEachFragment(block, from, to, visit)) return false;
        const QTextBlock next = block.next();
        const int mark = block.position() + block.length() - 1;
        if (marks == Marks::Skipped || !next.isValid() || mark < from || mark >= to) continue;
        Run run;
        run.from = mark;
        run.to = mark + 1;
        run.position = mark;
        run.nextBlock = next;
        if (!detail::keepWalking(visit, run)) return false;
    }
    return true;
}

} // namespace runwalker
