#include "spelling/spellunderliner.h"

#include "document/spellwords.h"
#include "document/textproperties.h"
#include "editor/richtextbox.h"
#include "spelling/frenchdictionary.h"

#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// The longest the window waits on the background check at a time.
constexpr qint64 sliceMs = 20;
// Paragraphs laid out again together with their new marks.
constexpr int marksPerLayout = 8;
// How long typing stops before the paragraph typed in is checked.
constexpr int typingPauseMs = 250;

QTextCharFormat underline() {
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    format.setUnderlineColor(Qt::red);
    return format;
}

// Characters whose words are never judged: protected text (the frame lines
// of answer fields) and letters of the Symbol font.
std::vector<bool> skippedCharacters(const QTextBlock &block) {
    std::vector<bool> skipped(size_t(block.length()), false);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        if (!textprops::isProtected(format) &&
            !textprops::fontName(format).contains(QLatin1String("Symbol"), Qt::CaseInsensitive))
            continue;
        const int from = fragment.position() - block.position();
        std::fill(skipped.begin() + from, skipped.begin() + from + fragment.length(), true);
    }
    return skipped;
}

} // namespace

SpellUnderliner::SpellUnderliner(RichTextBox &exo, FrenchDictionary &dictionary, QObject *parent)
    : QObject(parent), m_exo(exo), m_dictionary(dictionary) {
    m_on = m_dictionary.available();
    m_idle.setInterval(0);
    m_typing.setSingleShot(true);
    m_typing.setInterval(typingPauseMs);
    connect(&m_typing, &QTimer::timeout, this, &SpellUnderliner::checkSome);
    connect(&m_idle, &QTimer::timeout, this, &SpellUnderliner::checkSome);
    connect(&m_exo, &RichTextBox::textShown, this, &SpellUnderliner::restart);
    connect(&m_exo, &RichTextBox::contextMenuOpening, this, &SpellUnderliner::addSuggestions);
    restart();
}

void SpellUnderliner::useEntry(QAction *orthographe) {
    orthographe->setChecked(m_on);
    if (!m_dictionary.available()) {
        orthographe->setEnabled(false);
        orthographe->setToolTip(
            QStringLiteral("Dictionnaire français absent : installer le paquet ") +
            QLatin1String(FrenchDictionary::package));
        if (auto *menu = qobject_cast<QMenu *>(orthographe->parent()))
            menu->setToolTipsVisible(true);
    }
    connect(orthographe, &QAction::toggled, this, &SpellUnderliner::setOn);
}

void SpellUnderliner::setOn(bool on) {
    on = on && m_dictionary.available();
    if (on == m_on) return;
    m_on = on;
    if (m_on)
        restart();
    else
        clearAll();
}

void SpellUnderliner::changed(int from, int, int added) {
    if (!m_on) return;
    QTextDocument *document = m_exo.document();
    const int first = document->findBlock(from).blockNumber();
    const int last = document->findBlock(from + added).blockNumber();
    if (last - first < 8) {
        // Typing: the paragraphs typed in, checked once the key is done with.
        for (int number = first; number <= last; ++number)
            if (!m_typedIn.contains(number)) m_typedIn << number;
        // Once the teacher pauses: a mark redrawn at every key would cost a
        // layout of the paragraph each time. The background pass waits too,
        // or a slice of it would delay each key's paint.
        m_typing.start();
        m_idle.stop();
        return;
    } else {
        // A paste or a replacement over many paragraphs joins the background pass.
        m_next = m_next < m_end ? std::min(m_next, first) : first;
        m_end = std::max(m_end, last + 1);
    }
    m_idle.start();
}

void SpellUnderliner::restart() {
    // Each text shown comes with a document of its own.
    disconnect(m_watched);
    m_watched =
        connect(m_exo.document(), &QTextDocument::contentsChange, this, &SpellUnderliner::changed);
    m_typedIn.clear();
    m_next = 0;
    m_end = m_exo.document()->blockCount();
    // From the first paragraph, the one in view when a text is shown.
    if (m_on) m_idle.start();
}

void SpellUnderliner::checkAll() {
    m_idle.stop();
    m_typing.stop();
    if (!m_on) return;
    QList<RichTextBox::DisplayMarks> changed;
    for (QTextBlock block = m_exo.document()->begin(); block.isValid(); block = block.next())
        checkBlock(block, changed);
    m_exo.setDisplayMarks(changed);
    m_typedIn.clear();
    m_next = m_end = 0;
}

void SpellUnderliner::checkSome() {
    QElapsedTimer slice;
    slice.start();
    QTextDocument *document = m_exo.document();
    // The paragraphs typed in, then a slice of the rest. Laying out the
    // paragraphs whose marks changed costs more than checking them, so it is
    // done a few paragraphs at a time and counted in the slice.
    QList<RichTextBox::DisplayMarks> changed;
    while (!m_typedIn.isEmpty())
        checkBlock(document->findBlockByNumber(m_typedIn.takeFirst()), changed);
    m_exo.setDisplayMarks(changed);
    changed.clear();
    QTextBlock block = document->findBlockByNumber(m_next);
    while (block.isValid() && m_next < m_end && slice.elapsed() < sliceMs) {
        checkBlock(block, changed);
        if (changed.size() >= marksPerLayout) {
            m_exo.setDisplayMarks(changed);
            changed.clear();
        }
        block = block.next();
        ++m_next;
    }
    m_exo.setDisplayMarks(changed);
    if (m_next >= m_end || !block.isValid())
        m_idle.stop();
    else if (!m_idle.isActive())
        m_idle.start(); // after a pause in the typing

    m_longestSliceMs = std::max(m_longestSliceMs, double(slice.nsecsElapsed()) / 1e6);
}

void SpellUnderliner::checkBlock(const QTextBlock &block,
                                 QList<RichTextBox::DisplayMarks> &changed) {
    if (!block.isValid() || !m_on) return;
    const QString text = block.text();
    const std::vector<bool> skipped = skippedCharacters(block);
    // The word the caret ends is still being typed.
    const QTextCursor caret = m_exo.textCursor();
    const int caretAt = caret.block() == block ? caret.positionInBlock() : -1;
    QList<QTextLayout::FormatRange> marks;
    for (const spellwords::Span &span : spellwords::toCheck(text, &skipped)) {
        if (span.to == caretAt) continue;
        if (m_dictionary.isSpelt(text.mid(span.from, span.to - span.from))) continue;
        marks << QTextLayout::FormatRange{int(span.from), int(span.to - span.from), underline()};
    }
    if (marks != block.layout()->formats()) changed << RichTextBox::DisplayMarks{block, marks};
}

void SpellUnderliner::clearAll() {
    m_idle.stop();
    m_typing.stop();
    QList<RichTextBox::DisplayMarks> cleared;
    for (QTextBlock block = m_exo.document()->begin(); block.isValid(); block = block.next())
        if (!block.layout()->formats().isEmpty()) cleared << RichTextBox::DisplayMarks{block, {}};
    m_exo.setDisplayMarks(cleared);
}

void SpellUnderliner::addSuggestions(QMenu *menu, QPoint at) {
    if (!m_on) return;
    const QTextCursor place = m_exo.cursorForPosition(at);
    const QTextBlock block = place.block();
    const int offset = place.positionInBlock();
    for (const QTextLayout::FormatRange &mark : block.layout()->formats()) {
        if (offset < mark.start || offset > mark.start + mark.length) continue;
        const int from = block.position() + mark.start;
        const int length = mark.length;
        const QString word = block.text().mid(mark.start, mark.length);
        for (const QString &suggestion : m_dictionary.suggestions(word)) {
            menu->addAction(suggestion, this, [this, from, length, suggestion] {
                if (m_exo.touchesProtected(from, from + length)) return;
                QTextCursor cursor(m_exo.document());
                cursor.setPosition(from + 1);
                // In the look of the word replaced.
                const QTextCharFormat look = cursor.charFormat();
                cursor.setPosition(from);
                cursor.setPosition(from + length, QTextCursor::KeepAnchor);
                RichTextBox::UndoStep step(m_exo);
                cursor.insertText(suggestion, look);
            });
        }
        menu->addSeparator();
        menu->addAction(QStringLiteral("Ignorer"), this, [this, word] {
            m_dictionary.ignore(word);
            restart();
        });
        menu->addAction(QStringLiteral("Ajouter au dictionnaire"), this, [this, word] {
            m_dictionary.addToPersonal(word);
            restart();
        });
        return;
    }
}
