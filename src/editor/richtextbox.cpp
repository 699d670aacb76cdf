#include "editor/richtextbox.h"

#include "base/atomicfile.h"
#include "document/clipboardformats.h"
#include "document/layoutheight.h"
#include "document/layoutwork.h"
#include "document/lazypictures.h"
#include "document/offsetroom.h"
#include "document/pagedprint.h"
#include "document/rtf/rtflog.h"
#include "document/rtf/rtfreader.h"
#include "document/rtf/rtfwriter.h"
#include "document/textfilekind.h"
#include "document/textproperties.h"
#include "editor/oleobjects.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPointer>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
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

void RichTextBox::setDisplayMarks(const QTextBlock &block,
                                  const QList<QTextLayout::FormatRange> &marks) {
    setDisplayMarks(QList<DisplayMarks>{{block, marks}});
}

void RichTextBox::setDisplayMarks(const QList<DisplayMarks> &paragraphs) {
    // Paragraphs next to each other are laid out again together, the others
    // alone: a range over paragraphs left as they were would lay them out
    // too. Marking paragraphs for layout is no edit: the document tells no
    // one of a change, records no undo and stays unmodified.
    int from = -1;
    int to = -1;
    for (const DisplayMarks &paragraph : paragraphs) {
        const QTextBlock &block = paragraph.block;
        if (!block.isValid() || block.document() != document()) continue;
        // Before the next paragraph's marks are set: setting them widens the
        // range the document will lay out.
        if (block.position() != to && from >= 0) {
            document()->markContentsDirty(from, to - from);
            from = -1;
        }
        block.layout()->setFormats(paragraph.marks);
        if (from < 0) from = block.position();
        to = block.position() + block.length();
    }
    if (from >= 0) document()->markContentsDirty(from, to - from);
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

void RichTextBox::showCopyOf(const RichTextBox &source) {
    const QTextDocument *original = source.document();
    std::unique_ptr<QTextDocument> copy(original->clone(this));
    // Its photos are decoded when drawn, into the one store of both.
    lazypictures::share(*original, *copy);
    copy->setDefaultFont(original->defaultFont());
    copy->setDefaultTextOption(original->defaultTextOption());
    copy->setDocumentMargin(original->documentMargin());
    if (copy->isEmpty()) giveDefaultLook(*copy);
    copy->clearUndoRedoStacks();
    copy->setUndoRedoEnabled(true);
    copy->setModified(false);
    adoptDocument(copy.release());
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
    std::unique_ptr<QTextDocument> copy = pagedprint::paperCopy(*document());
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
    return pagedprint::print({copy.get()}, device, QPointF(logicalDpiX(), logicalDpiY())) > 0;
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
