#include "editor/richtextbox.h"

#include "document/runwalker.h"
#include "document/textproperties.h"

#include <QTextCursor>

// The selection's character attributes: read as one value when the whole
// selection shares it, set run by run.

// ---------------------------------------------------- character attributes

template <typename T, typename Read>
std::optional<T> RichTextBox::commonCharValue(Read read) const {
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) return read(cursor.charFormat());
    const int start = cursor.selectionStart();
    std::optional<T> common;
    bool mixed = false;
    runwalker::forEachRun(*document(), start, cursor.selectionEnd(), runwalker::Marks::Skipped,
                          [&](const runwalker::Run &run) {
                              const T value = read(run.format());
                              if (!common)
                                  common = value;
                              else if (*common != value)
                                  mixed = true;
                              return !mixed;
                          });
    if (mixed) return std::nullopt;
    // A selection of paragraph marks only reads like the caret at its start.
    if (!common) {
        QTextCursor caret(document());
        caret.setPosition(start);
        return read(caret.charFormat());
    }
    return common;
}

void RichTextBox::mergeSelectionFormat(const QTextCharFormat &format) {
    if (!textCursor().hasSelection()) {
        mergeCurrentCharFormat(format);
        return;
    }
    // Run by run, so that text already so formatted leaves no step to undo.
    changeSelectedChars([&format](QTextCharFormat &piece) { piece.merge(format); });
}

void RichTextBox::changeSelectedChars(const std::function<void(QTextCharFormat &)> &change) {
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        QTextCharFormat typing = cursor.charFormat();
        change(typing);
        cursor.setCharFormat(typing);
        setTextCursor(cursor);
        return;
    }
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    // Collect first: changing formats splits and merges fragments under a walk.
    struct Piece {
        int from, to;
        QTextCharFormat format;
    };
    std::vector<Piece> pieces;
    runwalker::forEachRun(*document(), start, end, runwalker::Marks::Included,
                          [&pieces](const runwalker::Run &run) {
                              pieces.push_back({run.from, run.to, run.format()});
                          });
    QTextCursor editor(document());
    editor.beginEditBlock();
    for (Piece &piece : pieces) {
        const QTextCharFormat before = piece.format;
        change(piece.format);
        // A write that changes nothing would still leave a step to undo.
        if (piece.format == before) continue;
        editor.setPosition(piece.from);
        editor.setPosition(piece.to, QTextCursor::KeepAnchor);
        editor.setCharFormat(piece.format);
    }
    editor.endEditBlock();
}

namespace {

RichTextBox::CharacterSummary summaryOf(const QTextCharFormat &format, const QString &defaultFont,
                                        double defaultSize) {
    RichTextBox::CharacterSummary summary;
    summary.bold = format.fontWeight() >= QFont::Bold;
    summary.italic = format.fontItalic();
    summary.underline = format.fontUnderline();
    summary.strikeThru = format.fontStrikeOut();
    summary.isProtected = textprops::isProtected(format);
    const QString name = textprops::fontName(format);
    summary.fontName = name.isEmpty() ? defaultFont : name;
    summary.fontSize = format.fontPointSize() > 0 ? format.fontPointSize() : defaultSize;
    summary.color = format.hasProperty(QTextFormat::ForegroundBrush)
                        ? format.foreground().color().rgb() & 0xFFFFFF
                        : 0;
    summary.charOffset = textprops::offsetTwips(format);
    return summary;
}

// Keeps in common what the other summary agrees with; true while anything
// is still common.
template <typename T> bool keepCommon(std::optional<T> &common, const std::optional<T> &other) {
    if (common && common != other) common.reset();
    return common.has_value();
}

bool keepCommon(RichTextBox::CharacterSummary &common, const RichTextBox::CharacterSummary &other) {
    bool any = false;
    any |= keepCommon(common.bold, other.bold);
    any |= keepCommon(common.italic, other.italic);
    any |= keepCommon(common.underline, other.underline);
    any |= keepCommon(common.strikeThru, other.strikeThru);
    any |= keepCommon(common.isProtected, other.isProtected);
    any |= keepCommon(common.fontName, other.fontName);
    any |= keepCommon(common.fontSize, other.fontSize);
    any |= keepCommon(common.color, other.color);
    any |= keepCommon(common.charOffset, other.charOffset);
    return any;
}

} // namespace

RichTextBox::CharacterSummary RichTextBox::characterSummary() const {
    const QString defaultFont = document()->defaultFont().family();
    const double defaultSize = document()->defaultFont().pointSizeF();
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) return summaryOf(cursor.charFormat(), defaultFont, defaultSize);
    std::optional<CharacterSummary> common;
    runwalker::forEachRun(*document(), cursor.selectionStart(), cursor.selectionEnd(),
                          runwalker::Marks::Skipped, [&](const runwalker::Run &run) {
                              const CharacterSummary piece =
                                  summaryOf(run.format(), defaultFont, defaultSize);
                              if (!common) {
                                  common = piece;
                                  return true;
                              }
                              return keepCommon(*common, piece);
                          });
    if (common) return *common;
    QTextCursor caret(document());
    caret.setPosition(cursor.selectionStart());
    return summaryOf(caret.charFormat(), defaultFont, defaultSize);
}

std::optional<bool> RichTextBox::selBold() const {
    return commonCharValue<bool>(
        [](const QTextCharFormat &f) { return f.fontWeight() >= QFont::Bold; });
}

void RichTextBox::setSelBold(bool on) {
    QTextCharFormat format;
    format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeSelectionFormat(format);
}

std::optional<bool> RichTextBox::selItalic() const {
    return commonCharValue<bool>([](const QTextCharFormat &f) { return f.fontItalic(); });
}

void RichTextBox::setSelItalic(bool on) {
    QTextCharFormat format;
    format.setFontItalic(on);
    mergeSelectionFormat(format);
}

std::optional<bool> RichTextBox::selUnderline() const {
    return commonCharValue<bool>([](const QTextCharFormat &f) { return f.fontUnderline(); });
}

void RichTextBox::setSelUnderline(bool on) {
    QTextCharFormat format;
    format.setFontUnderline(on);
    mergeSelectionFormat(format);
}

std::optional<bool> RichTextBox::selStrikeThru() const {
    return commonCharValue<bool>([](const QTextCharFormat &f) { return f.fontStrikeOut(); });
}

void RichTextBox::setSelStrikeThru(bool on) {
    QTextCharFormat format;
    format.setFontStrikeOut(on);
    mergeSelectionFormat(format);
}

std::optional<QString> RichTextBox::selFontName() const {
    const QString fallback = document()->defaultFont().family();
    return commonCharValue<QString>([&fallback](const QTextCharFormat &f) {
        const QString name = textprops::fontName(f);
        return name.isEmpty() ? fallback : name;
    });
}

void RichTextBox::setSelFontName(const QString &name) {
    QTextCharFormat format;
    textprops::setFontName(format, name);
    mergeSelectionFormat(format);
}

std::optional<double> RichTextBox::selFontSize() const {
    const double fallback = document()->defaultFont().pointSizeF();
    return commonCharValue<double>([fallback](const QTextCharFormat &f) {
        const double size = f.fontPointSize();
        return size > 0 ? size : fallback;
    });
}

void RichTextBox::setSelFontSize(double points) {
    if (points <= 0) return;
    changeSelectedChars([points](QTextCharFormat &format) {
        format.setFontPointSize(points);
        textprops::refreshBaseline(format);
    });
}

std::optional<QRgb> RichTextBox::selColor() const {
    return commonCharValue<QRgb>([](const QTextCharFormat &f) -> QRgb {
        if (!f.hasProperty(QTextFormat::ForegroundBrush)) return 0;
        return f.foreground().color().rgb() & 0xFFFFFF;
    });
}

void RichTextBox::setSelColor(QRgb rgb) {
    QTextCharFormat format;
    format.setForeground(QColor(rgb | 0xFF000000u));
    mergeSelectionFormat(format);
}

std::optional<int> RichTextBox::selCharOffset() const {
    return commonCharValue<int>([](const QTextCharFormat &f) { return textprops::offsetTwips(f); });
}

void RichTextBox::setSelCharOffset(int twips) {
    changeSelectedChars(
        [twips](QTextCharFormat &format) { textprops::setOffsetTwips(format, twips); });
}

std::optional<bool> RichTextBox::selProtected() const {
    return commonCharValue<bool>(
        [](const QTextCharFormat &f) { return textprops::isProtected(f); });
}

void RichTextBox::setSelProtected(bool on) {
    changeSelectedChars([on](QTextCharFormat &format) { textprops::setProtected(format, on); });
}
