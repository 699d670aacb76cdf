#include "editor/richtextbox.h"

#include "base/atomicfile.h"
#include "base/codepages.h"
#include "document/clipboardformats.h"
#include "document/layoutheight.h"
#include "document/layoutwork.h"
#include "document/offsetroom.h"
#include "document/rtf/rtflog.h"
#include "document/rtf/rtfreader.h"
#include "document/rtf/rtfwriter.h"
#include "document/runwalker.h"
#include "document/textfilekind.h"
#include "document/textproperties.h"
#include "editor/oleobjects.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QFocusEvent>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPointer>
#include <QScopedValueRollback>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QUrl>
#include <memory>

namespace {

// Other programs offer RTF under these names too.
const QStringList rtfMimeTypes = {QStringLiteral("text/rtf"), QStringLiteral("application/rtf"),
                                  QStringLiteral("text/richtext")};

// RichEdit's default tab distance: half an inch, 720 twips.
constexpr qreal defaultTabStopPx = 48;

constexpr auto defaultFontName = "Arial";
constexpr int defaultFontSizePt = 10;
constexpr double defaultLeftIndentPx = 19;
constexpr double defaultRightIndentPx = 12;

// An empty text starts in the look a new one has, however it became empty:
// a file that held nothing, or a text that could not be read, leaves no look
// anybody chose.
void giveDefaultLook(QTextDocument &doc) {
    const QString fontName = QString::fromLatin1(defaultFontName);
    doc.setDefaultFont(QFont(fontName, defaultFontSizePt));
    QTextBlockFormat paragraph;
    textprops::setLeftMargin(paragraph, defaultLeftIndentPx);
    paragraph.setRightMargin(defaultRightIndentPx);
    QTextCharFormat look;
    textprops::setFontName(look, fontName);
    look.setFontPointSize(defaultFontSizePt);
    textprops::refreshBaseline(look);
    look.setForeground(QColor(Qt::black));
    QTextCursor cursor(&doc);
    cursor.setBlockFormat(paragraph);
    cursor.setBlockCharFormat(look);
}

// Plain text as the user means it: one paragraph break per line end, however
// the lines end.
QString normalizedLineEnds(const QString &text) {
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

int alignmentCode(Qt::Alignment alignment) {
    if (alignment & Qt::AlignRight) return RichTextBox::AlignRight;
    if (alignment & Qt::AlignHCenter) return RichTextBox::AlignCenter;
    return RichTextBox::AlignLeft;
}

Qt::Alignment qtAlignment(int code) {
    switch (code) {
    case RichTextBox::AlignRight:
        return Qt::AlignRight;
    case RichTextBox::AlignCenter:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

bool isWordCharacter(QChar ch) {
    return ch.isLetterOrNumber() || ch == QLatin1Char('_');
}

} // namespace

void RichTextBox::showSymbolTextWithUnicodeFonts() {
    QFont::insertSubstitutions(QStringLiteral("Symbol"),
                               {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif"),
                                QStringLiteral("DejaVu Sans")});
}

RichTextBox::RichTextBox(QWidget *parent) : QTextEdit(parent), m_oleObjects(new OleObjects(*this)) {
    setAcceptRichText(true);
    setTabChangesFocus(false);
    QTextOption option = document()->defaultTextOption();
    option.setTabStopDistance(defaultTabStopPx);
    // Left to right unless a paragraph says otherwise: left to Qt, each
    // keystroke would have it look again at the direction of every
    // paragraph after the caret.
    option.setTextDirection(Qt::LeftToRight);
    document()->setDefaultTextOption(option);

    connect(this, &QTextEdit::cursorPositionChanged, this, &RichTextBox::notifySelectionChange);
    connect(this, &QTextEdit::selectionChanged, this, &RichTextBox::notifySelectionChange);
    connect(document(), &QTextDocument::contentsChange, this, [this] {
        ++m_contentChanges;
        if (!m_loading) emit contentEdited();
    });
    offsetroom::keepFitted(document());
    // Hidden buffers too: the height check counts on lines this wide at least.
    setMinimumWidth(layoutheight::narrowestLinePx);
}

void RichTextBox::applyDefaultTextFormat() {
    const UndoStep step(*this);
    const QString fontName = QString::fromLatin1(defaultFontName);
    document()->setDefaultFont(QFont(fontName, defaultFontSizePt));
    setSelIndent(defaultLeftIndentPx);
    setSelRightIndent(defaultRightIndentPx);
    setSelBold(false);
    setSelItalic(false);
    setSelUnderline(false);
    setSelAlignment(AlignLeft);
    setSelFontName(fontName);
    setSelFontSize(defaultFontSizePt);
    setSelCharOffset(0);
    setSelColor(qRgb(0, 0, 0));
}

// Qt puts the caret back where the cursor that opened the step stood when
// the step is undone: a copy of the caret's, not one at the start of the text.
RichTextBox::UndoStep::UndoStep(RichTextBox &box, Start start)
    : m_cursor(std::make_unique<QTextCursor>(box.textCursor())) {
    if (start == JoinPrevious)
        m_cursor->joinPreviousEditBlock();
    else
        m_cursor->beginEditBlock();
}

RichTextBox::UndoStep::~UndoStep() {
    end();
}

// A document deleted meanwhile (a text loaded) leaves the cursor detached, and
// closing it does nothing.
void RichTextBox::UndoStep::end() {
    if (!m_cursor) return;
    m_cursor->endEditBlock();
    m_cursor.reset();
}

void RichTextBox::undoLastStep() {
    undoOrRedo(&QTextEdit::undo);
}

void RichTextBox::redoLastStep() {
    undoOrRedo(&QTextEdit::redo);
}

void RichTextBox::undoOrRedo(void (QTextEdit::*step)()) {
    if (isReadOnly()) return;
    const QTextCursor was = textCursor();
    const int length = lastPosition();
    (this->*step)();
    // Qt moves the caret after undoing a change of format; the user's
    // selection stays, as its characters did.
    if (lastPosition() == length) {
        QTextCursor cursor = textCursor();
        cursor.setPosition(std::min(was.anchor(), length));
        cursor.setPosition(std::min(was.position(), length), QTextCursor::KeepAnchor);
        setTextCursor(cursor);
    }
    typeInTheLookBeforePictures();
    emit undoneOrRedone();
}

// One notification per real move of the caret or the selection, and none
// halfway through an edit of ours: its handlers see the edit done.
void RichTextBox::notifySelectionChange() {
    if (m_editing) return;
    const QTextCursor cursor = textCursor();
    const std::pair<int, int> now{cursor.anchor(), cursor.position()};
    if (now == m_lastSelection) return;
    m_lastSelection = now;
    typeInTheLookBeforePictures();
    emit selChange();
}

void RichTextBox::replaceSelection(const std::function<void(QTextCursor &)> &edit) {
    {
        QScopedValueRollback<bool> editing(m_editing, true);
        QTextCursor cursor = textCursor();
        // However many pieces the edit inserts, it is one step of undo.
        cursor.beginEditBlock();
        edit(cursor);
        cursor.endEditBlock();
        setTextCursor(cursor);
    }
    notifySelectionChange();
}

// ---------------------------------------------------------------- whole text

QString RichTextBox::text() const {
    return document()->toPlainText();
}

void RichTextBox::setText(const QString &text) {
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(normalizedLineEnds(text));
}

QByteArray RichTextBox::textRTF() const {
    return writeRtf(*document());
}

bool RichTextBox::setTextRTF(const QByteArray &rtf) {
    return loadText(rtf, TextOrigin::File);
}

bool RichTextBox::setOwnTextRTF(const QByteArray &rtf) {
    return loadText(rtf, TextOrigin::Own);
}

bool RichTextBox::loadText(const QByteArray &rtf, TextOrigin origin, const QString &source) {
    // Read into a document of its own, which has no layout yet: one that
    // would stand too tall is refused before Qt starts a layout it never ends.
    auto loaded = std::make_unique<QTextDocument>(this);
    const QTextDocument *shown = document();
    loaded->setDefaultFont(shown->defaultFont());
    loaded->setDefaultTextOption(shown->defaultTextOption());
    loaded->setDocumentMargin(shown->documentMargin());
    loaded->setUndoRedoEnabled(false);
    QTextCursor cursor(loaded.get());
    const bool fromFile = origin == TextOrigin::File;
    // One edit for the whole text: Qt otherwise closes one, with its
    // signals and bookkeeping, after every run of characters read.
    cursor.beginEditBlock();
    bool listsInTime = true;
    if (const qsizetype start = rtfStartOffset(rtf); start >= 0) {
        const RtfReadResult read =
            readRtf(start == 0 ? rtf : rtf.mid(start), cursor, RtfInsertMode::WholeDocument,
                    fromFile ? RtfLongLists::GiveUp : RtfLongLists::Read);
        rtflog::report(read, source.isEmpty() ? QStringLiteral("text read") : source);
        listsInTime = !read.tooLongToShow;
    } else {
        cursor.insertText(plainTextOf(rtf));
    }
    if (loaded->isEmpty()) giveDefaultLook(*loaded);
    cursor.endEditBlock();
    if (fromFile && !listsInTime) return false;
    offsetroom::fitAll(*loaded);
    if (!layoutheight::fits(*loaded)) return false;
    // A paragraph that would freeze the editor while Qt lays it out. Text
    // the editor already showed is never refused: it would be lost.
    if (fromFile && !layoutwork::fits(*loaded)) return false;
    loaded->setUndoRedoEnabled(true);
    loaded->setModified(false);
    adoptDocument(loaded.release());
    return true;
}

void RichTextBox::moveTextTo(RichTextBox &other) {
    QTextDocument *moving = document();
    auto empty = std::make_unique<QTextDocument>(this);
    empty->setDefaultFont(moving->defaultFont());
    empty->setDefaultTextOption(moving->defaultTextOption());
    empty->setDocumentMargin(moving->documentMargin());
    giveDefaultLook(*empty);
    empty->clearUndoRedoStacks();
    empty->setModified(false);
    disconnect(moving, nullptr, this, nullptr);
    // Out of this box's hands first, or showing the empty one would delete it.
    moving->setParent(&other);
    adoptDocument(empty.release());
    // As if read afresh: nothing to undo, nothing changed.
    moving->clearUndoRedoStacks();
    moving->setModified(false);
    other.adoptDocument(moving);
}

void RichTextBox::adoptDocument(QTextDocument *loaded) {
    {
        QScopedValueRollback<bool> loading(m_loading, true);
        // Qt deletes only the document it made itself; ours go here.
        const QPointer<QTextDocument> previous = document();
        setDocument(loaded);
        if (previous && previous->parent() == this) delete previous;
        connect(loaded, &QTextDocument::contentsChange, this, [this] {
            ++m_contentChanges;
            if (!m_loading) emit contentEdited();
        });
        offsetroom::keepFitted(loaded);
        setTextCursor(QTextCursor(loaded));
    }
    // The caret often stays at 0, so no selection change tells of the new
    // text; the tools learn of it from this.
    m_lastSelection = {0, 0};
    emit textShown();
}

void RichTextBox::refresh() {
    viewport()->update();
}

RichTextBox::LoadOutcome RichTextBox::loadFile(const QString &path, TextFileKind *kind) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return LoadOutcome::Unreadable;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return LoadOutcome::Unreadable;
    const TextFileKind found = textFileKindOf(bytes);
    if (kind) *kind = found;
    // A picture or a program shown as text would be saved as RTF over itself.
    if (found == TextFileKind::NotText) return LoadOutcome::NotText;
    return loadText(bytes, TextOrigin::File, path) ? LoadOutcome::Loaded : LoadOutcome::TooTall;
}

bool RichTextBox::saveFile(const QString &path, atomicfile::Failure *why) const {
    return atomicfile::write(path, textRTF(), why);
}

bool RichTextBox::selPrint(QPagedPaintDevice &device) const {
    std::unique_ptr<QTextDocument> copy(document()->clone());
    copy->setUndoRedoEnabled(false);
    // The few pixels that keep the text off the control's frame on screen
    // would push it past the page's margins on paper; the room above the
    // first line for its raised characters stays.
    copy->setDocumentMargin(0);
    QTextFrameFormat page = copy->rootFrame()->frameFormat();
    page.setTopMargin(page.intProperty(textprops::RaisedRoom));
    copy->rootFrame()->setFrameFormat(page);
    const QTextCursor selection = textCursor();
    if (selection.hasSelection()) {
        QTextCursor tail(copy.get());
        tail.setPosition(selection.selectionEnd());
        tail.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        tail.removeSelectedText();
        QTextCursor head(copy.get());
        head.setPosition(selection.selectionStart(), QTextCursor::KeepAnchor);
        head.removeSelectedText();
        // The page's top margin holds the room of the first paragraph printed.
        offsetroom::fit(*copy, 0, 0);
    }
    QPainter painter;
    if (!painter.begin(&device)) return false;
    // The copy is laid out in screen pixels, the unit of its indents, tabs and
    // pictures, on pages as large as the device's printable area, then
    // scaled to the device. Only the printer's margins frame the text.
    const QRectF areaPt = device.pageLayout().paintRect(QPageLayout::Point);
    const double dpiX = logicalDpiX(), dpiY = logicalDpiY();
    const QSizeF pagePx(areaPt.width() * dpiX / 72.0, areaPt.height() * dpiY / 72.0);
    copy->setPageSize(pagePx);
    QAbstractTextDocumentLayout *layout = copy->documentLayout();
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    const int pages = copy->pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device.newPage()) {
            painter.end();
            return false;
        }
        const QRectF view(QPointF(0, page * pagePx.height()), pagePx);
        painter.save();
        painter.scale(device.logicalDpiX() / dpiX, device.logicalDpiY() / dpiY);
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        context.clip = view;
        layout->draw(&painter, context);
        painter.restore();
    }
    return painter.end();
}

// ----------------------------------------------------------------- selection

int RichTextBox::lastPosition() const {
    return document()->characterCount() - 1;
}

int RichTextBox::selStart() const {
    return textCursor().selectionStart();
}

void RichTextBox::setSelStart(int position) {
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(position, 0, lastPosition()));
    setTextCursor(cursor);
}

int RichTextBox::selLength() const {
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void RichTextBox::setSelLength(int length) {
    QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    cursor.setPosition(start);
    cursor.setPosition(std::clamp(start + length, 0, lastPosition()), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

QString RichTextBox::selText() const {
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

bool RichTextBox::setSelText(const QString &text) {
    if (touchesProtected(selStart(), selStart() + selLength())) return false;
    replaceSelection([&text](QTextCursor &cursor) {
        cursor.insertText(normalizedLineEnds(text), replacingFormat(cursor));
    });
    return true;
}

QTextCharFormat RichTextBox::replacingFormat(const QTextCursor &selection) {
    QTextCharFormat format = selection.charFormat();
    if (selection.hasSelection()) {
        QTextCursor first(selection.document());
        first.setPosition(selection.selectionStart() + 1);
        format = first.charFormat();
        // A footnote's shown number gives its look, not its being left unsaved.
        format.clearProperty(textprops::ShownOnly);
    }
    // A picture's format would make the text a picture.
    if (format.objectType() != QTextFormat::NoObject) format = QTextCharFormat();
    return format;
}

QByteArray RichTextBox::selRTF() const {
    const QTextCursor cursor = textCursor();
    return writeRtf(*document(), cursor.selectionStart(), cursor.selectionEnd());
}

bool RichTextBox::setSelRTF(const QByteArray &rtf) {
    if (touchesProtected(selStart(), selStart() + selLength())) return false;
    replaceSelection([this, &rtf](QTextCursor &cursor) { insertRtfAt(cursor, rtf); });
    return true;
}

void RichTextBox::insertRtfAt(QTextCursor &cursor, const QByteArray &rtf) {
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    // A piece of RTF needs no header: "{\\tab }" is a tab.
    if (const qsizetype start = rtfStartOffset(rtf); start > 0)
        rtflog::report(readRtf(rtf.mid(start), cursor, RtfInsertMode::Fragment),
                       QStringLiteral("text inserted"));
    else if (rtf.startsWith("{\\"))
        rtflog::report(readRtf(rtf, cursor, RtfInsertMode::Fragment),
                       QStringLiteral("text inserted"));
    else if (!rtf.isEmpty())
        cursor.insertText(plainTextOf(rtf));
    cursor.endEditBlock();
}

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

// ---------------------------------------------------- paragraph attributes

template <typename T, typename Read>
std::optional<T> RichTextBox::commonBlockValue(Read read) const {
    const QTextCursor cursor = textCursor();
    const QTextBlock last = document()->findBlock(cursor.selectionEnd());
    std::optional<T> common;
    for (QTextBlock block = document()->findBlock(cursor.selectionStart()); block.isValid();
         block = block.next()) {
        const T value = read(block);
        if (!common)
            common = value;
        else if (*common != value)
            return std::nullopt;
        if (block == last) break;
    }
    return common;
}

void RichTextBox::changeSelectedBlocks(const std::function<void(QTextBlockFormat &)> &change) {
    const QTextCursor selection = textCursor();
    const QTextBlock last = document()->findBlock(selection.selectionEnd());
    QTextCursor editor(document());
    editor.beginEditBlock();
    for (QTextBlock block = document()->findBlock(selection.selectionStart()); block.isValid();
         block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        change(format);
        // A write that changes nothing would still leave a step to undo.
        if (format != block.blockFormat()) {
            editor.setPosition(block.position());
            editor.setBlockFormat(format);
        }
        if (block == last) break;
    }
    editor.endEditBlock();
}

std::optional<int> RichTextBox::selAlignment() const {
    return commonBlockValue<int>(
        [](const QTextBlock &b) { return alignmentCode(b.blockFormat().alignment()); });
}

void RichTextBox::setSelAlignment(int alignment) {
    const Qt::Alignment wanted = qtAlignment(alignment);
    changeSelectedBlocks([wanted](QTextBlockFormat &format) { format.setAlignment(wanted); });
}

std::optional<bool> RichTextBox::selBullet() const {
    return commonBlockValue<bool>([](const QTextBlock &b) { return b.textList() != nullptr; });
}

void RichTextBox::setSelBullet(bool on) {
    QTextCursor cursor = textCursor();
    if (on) {
        if (selBullet().value_or(false)) return;
        QTextListFormat list;
        list.setStyle(QTextListFormat::ListDisc);
        list.setIndent(1);
        cursor.createList(list);
        return;
    }
    // Leaving a list keeps the paragraph's own margins: only the list goes.
    changeSelectedBlocks([](QTextBlockFormat &format) { format.setObjectIndex(-1); });
}

std::optional<double> RichTextBox::selIndent() const {
    return commonBlockValue<double>(
        [](const QTextBlock &b) { return b.blockFormat().leftMargin(); });
}

void RichTextBox::setSelIndent(double pixels) {
    changeSelectedBlocks(
        [pixels](QTextBlockFormat &format) { textprops::setLeftMargin(format, pixels); });
}

std::optional<double> RichTextBox::selRightIndent() const {
    return commonBlockValue<double>(
        [](const QTextBlock &b) { return b.blockFormat().rightMargin(); });
}

void RichTextBox::setSelRightIndent(double pixels) {
    changeSelectedBlocks([pixels](QTextBlockFormat &format) { format.setRightMargin(pixels); });
}

std::optional<int> RichTextBox::selTabCount() const {
    return commonBlockValue<int>(
        [](const QTextBlock &b) { return int(b.blockFormat().tabPositions().size()); });
}

void RichTextBox::setSelTabCount(int count) {
    count = std::max(0, count);
    changeSelectedBlocks([count](QTextBlockFormat &format) {
        QList<QTextOption::Tab> stops = textprops::tabStops(format);
        stops.resize(count);
        textprops::setTabStops(format, stops);
    });
}

std::optional<double> RichTextBox::selTabs(int index) const {
    if (index < 0) return std::nullopt;
    // A paragraph without that stop makes the value missing, like a mix.
    constexpr double noStop = -1e300;
    const auto value = commonBlockValue<double>([index](const QTextBlock &b) {
        const QList<QTextOption::Tab> stops = textprops::tabStops(b.blockFormat());
        return index < stops.size() ? stops.at(index).position : noStop;
    });
    if (!value || *value == noStop) return std::nullopt;
    return value;
}

void RichTextBox::setSelTabs(int index, double pixels) {
    if (index < 0) return;
    changeSelectedBlocks([index, pixels](QTextBlockFormat &format) {
        QList<QTextOption::Tab> stops = textprops::tabStops(format);
        if (index >= stops.size()) stops.resize(index + 1);
        stops[index] = QTextOption::Tab(pixels, QTextOption::LeftTab);
        textprops::setTabStops(format, stops);
    });
}

int RichTextBox::rightMargin() const {
    if (m_rightMarginPx > 0) return m_rightMarginPx;
    return std::max(0, viewport()->width() - 2 * int(document()->documentMargin()));
}

void RichTextBox::setRightMargin(int pixels) {
    m_rightMarginPx = std::max(0, pixels);
    if (m_rightMarginPx > 0) {
        setLineWrapMode(QTextEdit::FixedPixelWidth);
        setLineWrapColumnOrWidth(m_rightMarginPx);
    } else {
        setLineWrapMode(QTextEdit::WidgetWidth);
    }
}

// ---------------------------------------------------------------------- find

int RichTextBox::find(const QString &text, std::optional<int> start, std::optional<int> end,
                      int options) {
    int from = 0;
    int to = lastPosition();
    if (start || end) {
        from = start.value_or(0);
        if (end) to = *end;
    } else if (textCursor().hasSelection()) {
        from = selStart();
        to = from + selLength();
    }
    const int at = locate(text, from, to, options);
    if (at < 0) return -1;
    QTextCursor cursor = textCursor();
    cursor.setPosition(at);
    cursor.setPosition(at + int(text.size()), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    return at;
}

int RichTextBox::locate(const QString &text, int from, int to, int options) const {
    const int length = lastPosition();
    from = std::clamp(from, 0, length);
    to = std::clamp(to, from, length);
    if (text.isEmpty()) return -1;
    const QTextDocument *doc = document();
    const auto isWordAt = [doc, length](int position) {
        return position >= 0 && position < length && isWordCharacter(doc->characterAt(position));
    };
    // The document is searched where it is: replacing all calls this once
    // per occurrence, and a copy of the whole text each time would make it
    // quadratic. Only a text spanning paragraphs needs the plain text.
    const bool spansParagraphs = text.contains(QLatin1Char('\n'));
    const QString all = spansParagraphs ? doc->toPlainText() : QString();
    const Qt::CaseSensitivity sensitivity =
        (options & MatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QTextDocument::FindFlags flags;
    if (options & MatchCase) flags |= QTextDocument::FindCaseSensitively;
    int at = from;
    while (true) {
        if (spansParagraphs) {
            at = int(all.indexOf(text, at, sensitivity));
        } else {
            const QTextCursor found = doc->find(text, at, flags);
            at = found.isNull() ? -1 : found.selectionStart();
        }
        if (at < 0 || at + text.size() > to) return -1;
        const int after = at + int(text.size());
        if ((options & WholeWord) && (isWordAt(at - 1) || isWordAt(after))) {
            ++at;
            continue;
        }
        return at;
    }
}

// --------------------------------------------------------------- protection

namespace {

bool isUnprotected(const runwalker::Run &run) {
    return !textprops::isProtected(run.format());
}

} // namespace

bool RichTextBox::protectedAt(int position) const {
    if (position < 0 || position >= lastPosition()) return false;
    return !runwalker::forEachRun(*document(), position, position + 1, runwalker::Marks::Included,
                                  isUnprotected);
}

bool RichTextBox::touchesProtected(int from, int to) const {
    if (from > to) std::swap(from, to);
    if (from == to) return protectedAt(from - 1) && protectedAt(from);
    return !runwalker::forEachRun(*document(), from, to, runwalker::Marks::Included, isUnprotected);
}

bool RichTextBox::rangeOfKey(QKeyEvent *event, int &from, int &to) const {
    QTextCursor cursor = textCursor();
    from = cursor.selectionStart();
    to = cursor.selectionEnd();
    const bool selection = cursor.hasSelection();
    auto extend = [&](QTextCursor::MoveOperation move) {
        if (selection) return;
        QTextCursor probe = cursor;
        probe.movePosition(move, QTextCursor::KeepAnchor);
        from = probe.selectionStart();
        to = probe.selectionEnd();
    };
    if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste)) return true;
    if (event->matches(QKeySequence::Delete) || event->key() == Qt::Key_Delete) {
        extend(QTextCursor::NextCharacter);
        return true;
    }
    if (event->key() == Qt::Key_Backspace) {
        extend(QTextCursor::PreviousCharacter);
        return true;
    }
    if (event->matches(QKeySequence::DeleteStartOfWord)) {
        extend(QTextCursor::PreviousWord);
        return true;
    }
    if (event->matches(QKeySequence::DeleteEndOfWord)) {
        extend(QTextCursor::NextWord);
        return true;
    }
    if (event->matches(QKeySequence::DeleteEndOfLine)) {
        extend(QTextCursor::EndOfBlock);
        return true;
    }
    if (event->matches(QKeySequence::DeleteCompleteLine)) {
        QTextCursor probe = cursor;
        probe.select(QTextCursor::BlockUnderCursor);
        from = probe.selectionStart();
        to = probe.selectionEnd();
        return true;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Tab)
        return true;
    const QString text = event->text();
    return !text.isEmpty() && !text.at(0).isNull() && text.at(0).isPrint();
}

// ------------------------------------------------------------ notifications

void RichTextBox::focusInEvent(QFocusEvent *event) {
    QTextEdit::focusInEvent(event);
    emit gotFocus();
}

void RichTextBox::keyPressEvent(QKeyEvent *event) {
    // Tab inserts one tab, in the caret's format, and never moves the focus.
    if (event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ControlModifier) &&
        !isReadOnly()) {
        setSelText(QStringLiteral("\t"));
        event->accept();
        return;
    }
    // Ctrl+Y redoes too, whatever the desktop's own keys for it.
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    const bool redoKey =
        event->matches(QKeySequence::Redo) ||
        (event->key() == Qt::Key_Y && modifiers == Qt::ControlModifier) ||
        (event->key() == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier));
    if (!isReadOnly() && (redoKey || event->matches(QKeySequence::Undo))) {
        if (redoKey)
            redoLastStep();
        else
            undoLastStep();
        event->accept();
        return;
    }
    int from = 0;
    int to = 0;
    const bool edits = !isReadOnly() && rangeOfKey(event, from, to);
    if (edits && touchesProtected(from, to)) {
        event->accept();
        return;
    }
    if (edits) freeTypingFormat();
    // Qt records a keystroke outside any group, where the room it gives or
    // takes from raised characters could not join it: one key, one undo step.
    // Opened on a copy of the caret: undoing the key puts the caret back
    // there, not at the start of the text.
    QTextCursor step = textCursor();
    const bool grouped =
        edits && offsetroom::mayChange(*document(), from, to, textCursor().charFormat());
    if (grouped) step.beginEditBlock();
    const int changesBefore = m_contentChanges;
    const std::pair<int, int> selectionBefore = m_lastSelection;
    if (edits && event->matches(QKeySequence::InsertParagraphSeparator))
        insertParagraphInItsLook();
    else
        QTextEdit::keyPressEvent(event);
    if (grouped) step.endEditBlock();
    // A key that leaves the caret where it stood (End at the end of a line)
    // still gives it the format of the character before it.
    if (!edits) typeInTheLookBeforePictures();
    if (m_contentChanges != changesBefore && m_lastSelection == selectionBefore)
        emit editedInPlace();
}

// Return makes a paragraph like the one it ends, an empty one included:
// Qt's editor would give the paragraph after an empty line no margins, no
// tab stops and its own font. An empty bullet ends the list, its margins
// kept.
void RichTextBox::insertParagraphInItsLook() {
    QTextCursor cursor = textCursor();
    if (cursor.currentList() && !cursor.hasSelection() && cursor.block().length() == 1) {
        changeSelectedBlocks([](QTextBlockFormat &format) { format.setObjectIndex(-1); });
        return;
    }
    QTextBlockFormat paragraph = cursor.blockFormat();
    paragraph.clearProperty(QTextFormat::BlockTrailingHorizontalRulerWidth);
    cursor.insertBlock(paragraph, cursor.charFormat());
    setTextCursor(cursor);
    ensureCursorVisible();
}

void RichTextBox::mousePressEvent(QMouseEvent *event) {
    QTextEdit::mousePressEvent(event);
    // So does a click where the caret already stands.
    typeInTheLookBeforePictures();
    m_pressed = true;
    const QPoint at = event->position().toPoint();
    emit mouseDown(event->button(), event->modifiers(), at.x(), at.y());
}

void RichTextBox::mouseReleaseEvent(QMouseEvent *event) {
    QTextEdit::mouseReleaseEvent(event);
    if (m_pressed && rect().contains(event->position().toPoint())) emit clicked();
    m_pressed = false;
}

// Typing is allowed right beside protected text, whose format the caret
// may have taken: what is typed there stays free. Beside a footnote's shown
// number or text, what is typed is the user's, and is saved.
void RichTextBox::freeTypingFormat() {
    const QTextCharFormat typing = currentCharFormat();
    if (textCursor().hasSelection() ||
        !(textprops::isProtected(typing) || typing.hasProperty(textprops::ShownOnly)))
        return;
    QTextCharFormat freed = typing;
    textprops::setProtected(freed, false);
    freed.clearProperty(textprops::ShownOnly);
    setCurrentCharFormat(freed);
}

// A picture has no look of its own to type in: right after one, typing goes
// on in the look of the text before it, as after any character (or of the
// text after it when the paragraph starts with pictures). Set when the caret
// arrives, so that a look the user then chooses is kept.
void RichTextBox::typeInTheLookBeforePictures() {
    const QTextCursor caret = textCursor();
    if (caret.hasSelection() || caret.atBlockStart()) return;
    const QTextBlock block = caret.block();
    const auto isPicture = [](const QTextCharFormat &format) {
        return format.objectType() != QTextFormat::NoObject;
    };
    // The document's format before the caret, not the typing format.
    QTextCursor probe(document());
    probe.setPosition(caret.position());
    if (!isPicture(probe.charFormat())) return;
    std::optional<QTextCharFormat> before;
    std::optional<QTextCharFormat> after;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (isPicture(fragment.charFormat())) continue;
        if (fragment.position() < caret.position())
            before = fragment.charFormat();
        else
            after = fragment.charFormat();
        if (fragment.position() >= caret.position()) break;
    }
    QTextCharFormat look = before.value_or(after.value_or(block.charFormat()));
    if (isPicture(look)) look = QTextCharFormat();
    setCurrentCharFormat(look);
}

void RichTextBox::inputMethodEvent(QInputMethodEvent *event) {
    if (!event->commitString().isEmpty() || !event->preeditString().isEmpty()) {
        const QTextCursor cursor = textCursor();
        int from = cursor.selectionStart();
        int to = cursor.selectionEnd();
        if (event->replacementLength() > 0) {
            from = std::min(from, cursor.position() + event->replacementStart());
            to = std::max(to, cursor.position() + event->replacementStart() +
                                  event->replacementLength());
        }
        if (touchesProtected(from, to)) {
            event->accept();
            return;
        }
        freeTypingFormat();
    }
    QTextEdit::inputMethodEvent(event);
}

void RichTextBox::contextMenuEvent(QContextMenuEvent *event) {
    // Built from our own operations, so that cut and delete respect protection.
    QMenu menu(this);
    const QTextCursor cursor = textCursor();
    const bool selection = cursor.hasSelection();
    const bool editable = !touchesProtected(cursor.selectionStart(), cursor.selectionEnd());
    menu.addAction(tr("Annuler"), this, &RichTextBox::undoLastStep)
        ->setEnabled(document()->isUndoAvailable());
    menu.addAction(tr("Rétablir"), this, &RichTextBox::redoLastStep)
        ->setEnabled(document()->isRedoAvailable());
    menu.addSeparator();
    menu.addAction(tr("Couper"), this, &RichTextBox::cutSelection)
        ->setEnabled(selection && editable);
    menu.addAction(tr("Copier"), this, &QTextEdit::copy)->setEnabled(selection);
    menu.addAction(tr("Coller"), this, &QTextEdit::paste)->setEnabled(editable && canPaste());
    menu.addAction(tr("Supprimer"), this, [this] { setSelText(QString()); })
        ->setEnabled(selection && editable);
    menu.addSeparator();
    menu.addAction(tr("Tout sélectionner"), this, &QTextEdit::selectAll);
    menu.exec(event->globalPos());
}

void RichTextBox::cutSelection() {
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection() || touchesProtected(cursor.selectionStart(), cursor.selectionEnd()))
        return;
    cut();
}

void RichTextBox::dragMoveEvent(QDragMoveEvent *event) {
    QTextEdit::dragMoveEvent(event);
    const int at = cursorForPosition(event->position().toPoint()).position();
    if (touchesProtected(at, at) || (event->source() == this && movesProtectedSelection(event)))
        event->ignore();
}

void RichTextBox::dropEvent(QDropEvent *event) {
    const int at = cursorForPosition(event->position().toPoint()).position();
    if (touchesProtected(at, at) || (event->source() == this && movesProtectedSelection(event))) {
        event->ignore();
        return;
    }
    QTextEdit::dropEvent(event);
}

bool RichTextBox::movesProtectedSelection(const QDropEvent *event) const {
    if (event->dropAction() != Qt::MoveAction && event->proposedAction() != Qt::MoveAction)
        return false;
    const QTextCursor cursor = textCursor();
    return touchesProtected(cursor.selectionStart(), cursor.selectionEnd());
}

// ----------------------------------------------------------------- clipboard

bool RichTextBox::canInsertFromMimeData(const QMimeData *source) const {
    for (const QString &type : rtfMimeTypes) {
        if (source->hasFormat(type)) return true;
    }
    return source->hasImage() || source->hasText();
}

QMimeData *RichTextBox::createMimeDataFromSelection() const {
    return selectionMimeData();
}

QMimeData *RichTextBox::selectionMimeData() const {
    const QTextCursor cursor = textCursor();
    return clipboardformats::mimeData(*document(), cursor.selectionStart(), cursor.selectionEnd());
}

void RichTextBox::insertFromMimeData(const QMimeData *source) {
    if (isReadOnly() || touchesProtected(selStart(), selStart() + selLength())) return;
    replaceSelection([this, source](QTextCursor &cursor) {
        for (const QString &type : rtfMimeTypes) {
            if (source->hasFormat(type)) {
                insertRtfAt(cursor, source->data(type));
                return;
            }
        }
        if (source->hasImage())
            insertPicture(cursor, qvariant_cast<QImage>(source->imageData()));
        else if (source->hasText())
            cursor.insertText(normalizedLineEnds(source->text()));
    });
}

void RichTextBox::insertPicture(QTextCursor &cursor, const QImage &image, QSizeF shownSizePx) {
    if (image.isNull()) return;
    if (shownSizePx.isEmpty()) shownSizePx = image.size();
    const QString name = textprops::newImageName();
    document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(shownSizePx.width());
    format.setHeight(shownSizePx.height());
    cursor.insertImage(format);
}

bool RichTextBox::insertPictureAtCaret(const QImage &image, QSizeF shownSizePx) {
    if (image.isNull() || touchesProtected(selStart(), selStart() + selLength())) return false;
    replaceSelection([&](QTextCursor &cursor) {
        cursor.beginEditBlock();
        cursor.removeSelectedText();
        insertPicture(cursor, image, shownSizePx);
        cursor.endEditBlock();
    });
    return true;
}

bool RichTextBox::insertImageAtCaret(QTextImageFormat format, const QImage &image) {
    if (image.isNull() || touchesProtected(selStart(), selStart() + selLength())) return false;
    replaceSelection([&](QTextCursor &cursor) {
        cursor.beginEditBlock();
        cursor.removeSelectedText();
        format.setName(textprops::newImageName());
        document()->addResource(QTextDocument::ImageResource, QUrl(format.name()), image);
        cursor.insertImage(format);
        cursor.endEditBlock();
    });
    return true;
}
