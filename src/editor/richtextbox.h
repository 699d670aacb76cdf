#pragma once

#include "base/atomicfile.h"

#include <QColor>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

enum class TextFileKind;
class OleObjects;
class QImage;
class QMenu;
class QPagedPaintDevice;
class QTextBlockFormat;
class QTextCharFormat;
class QTextCursor;
class QTextImageFormat;

// The rich-text control every text of the program lives in. It offers the
// operations the program relies on, in the program's units: character
// indices for positions, points for sizes, twips for the character offset,
// pixels for indents, tabs and the right margin. A read over a selection
// whose characters (or paragraphs) differ gives no value.
class RichTextBox : public QTextEdit {
    Q_OBJECT
public:
    // Every character attribute of the selection, read in one walk; a value
    // is missing where the characters differ.
    struct CharacterSummary {
        std::optional<bool> bold, italic, underline, strikeThru, isProtected;
        std::optional<QString> fontName;
        std::optional<double> fontSize; // points
        std::optional<QRgb> color;
        std::optional<int> charOffset; // twips
    };

    // While one lives, every change to the text or its format is one step of
    // undo: a command that makes several changes is undone by one Ctrl+Z.
    // Steps nest; the outermost one counts. A step may continue the last one,
    // for a dialog whose changes, made over several clicks, are one command.
    class UndoStep {
    public:
        enum Start { NewStep, JoinPrevious };
        explicit UndoStep(RichTextBox &box, Start start = NewStep);
        ~UndoStep();
        UndoStep(const UndoStep &) = delete;
        UndoStep &operator=(const UndoStep &) = delete;
        // Closes the step before the guard goes.
        void end();

    private:
        std::unique_ptr<QTextCursor> m_cursor; // on the document the step began in
    };

    enum FindOption { WholeWord = 2, MatchCase = 4 };
    enum Alignment { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };

    explicit RichTextBox(QWidget *parent = nullptr);

    // The document keeps Symbol-font text as Unicode Greek and mathematical
    // signs. Linux symbol fonts draw by 8-bit code instead, so Symbol text
    // is shown with Unicode fonts that have those characters; the name
    // stays. Once for the whole program, at start-up.
    static void showSymbolTextWithUnicodeFonts();
    // The look a text starts with, at start-up and for a new text: Arial
    // 10 pt, black, left-aligned, plain, no offset; indents of 19 px and 12 px.
    // Set at the caret, or on the selection.
    void applyDefaultTextFormat();

    // Whole text. Paragraphs are separated by "\n" in text(), so that its
    // length matches the character indices.
    QString text() const;
    void setText(const QString &text);
    QByteArray textRTF() const;
    // Replaces the whole text with a file's (RTF, or plain text when it is
    // not RTF). False, changing nothing, when the text would stand too tall
    // to lay out or take seconds to: a paragraph too long to lay out in
    // time, or a numbered list too long to build in time.
    bool setTextRTF(const QByteArray &rtf);
    // The same with text the editor showed before (a buffer's, a recovered
    // copy): refused only when too tall, however slow to lay out.
    bool setOwnTextRTF(const QByteArray &rtf);
    // Gives this box's text, formats and pictures to another, without
    // writing and reading it again; this box is left empty.
    void moveTextTo(RichTextBox &other);
    // Shows a copy of another box's text, formats and pictures, made without
    // writing and reading it again: the pictures' pixels are shared, not
    // copied. Nothing to undo, nothing changed.
    void showCopyOf(const RichTextBox &source);
    void refresh();
    enum class LoadOutcome { Loaded, Unreadable, NotText, TooTall };
    // Anything but Loaded leaves the editor as it was: the file cannot be
    // read, holds no text (a picture, a program), or stands too tall to lay
    // out. kind tells what the file holds, when it could be read.
    LoadOutcome loadFile(const QString &path, TextFileKind *kind = nullptr);
    // Writes through a temporary file renamed over the target: a failure
    // leaves the old file whole and returns false, with why when asked.
    bool saveFile(const QString &path, atomicfile::Failure *why = nullptr) const;
    // Prints the selection, or the whole text when nothing is selected, with
    // its formatting, on as many pages as it takes. False when the device
    // could not be opened or refused a page.
    bool selPrint(QPagedPaintDevice &device) const;

    // Selection.
    int selStart() const;
    void setSelStart(int position);
    int selLength() const;
    void setSelLength(int length);
    QString selText() const;
    // Replaces the selection by plain text ("\r\n", "\r" and "\n" each break
    // the paragraph) and leaves the caret after it. Returns false, changing
    // nothing, when that would change protected text.
    bool setSelText(const QString &text);
    // The look of text put in place of a selection: that of its first
    // character; with nothing selected, the typing format.
    static QTextCharFormat replacingFormat(const QTextCursor &selection);
    QByteArray selRTF() const;
    bool setSelRTF(const QByteArray &rtf);
    // The selection as the clipboard and a drag offer it to other programs:
    // RTF, plain text and HTML. The caller owns the result.
    QMimeData *selectionMimeData() const;
    // Puts a picture in place of the selection, as one undo step, shown at
    // shownSizePx: the image itself may be denser, so that it prints sharp.
    // Returns false, changing nothing, when that would change protected text.
    bool insertPictureAtCaret(const QImage &image, QSizeF shownSizePx);
    // The same with a format the caller made (an object's, which carries its
    // RTF group); the picture gets a name of its own.
    bool insertImageAtCaret(QTextImageFormat format, const QImage &image);

    // The objects embedded in the text.
    OleObjects &oleObjects() const { return *m_oleObjects; }

    // Character attributes of the selection, or of the caret's typing format.
    std::optional<bool> selBold() const;
    void setSelBold(bool on);
    std::optional<bool> selItalic() const;
    void setSelItalic(bool on);
    std::optional<bool> selUnderline() const;
    void setSelUnderline(bool on);
    std::optional<bool> selStrikeThru() const;
    void setSelStrikeThru(bool on);
    std::optional<QString> selFontName() const;
    void setSelFontName(const QString &name);
    std::optional<double> selFontSize() const; // points
    void setSelFontSize(double points);
    std::optional<QRgb> selColor() const; // 24-bit RGB, 0xRRGGBB
    void setSelColor(QRgb rgb);
    std::optional<int> selCharOffset() const; // twips, positive raises
    void setSelCharOffset(int twips);
    std::optional<bool> selProtected() const;
    void setSelProtected(bool on);

    CharacterSummary characterSummary() const;

    // Paragraph attributes of the paragraphs the selection touches.
    std::optional<int> selAlignment() const; // Alignment codes
    void setSelAlignment(int alignment);
    std::optional<bool> selBullet() const;
    void setSelBullet(bool on);
    std::optional<double> selIndent() const; // pixels
    void setSelIndent(double pixels);
    std::optional<double> selRightIndent() const; // pixels
    void setSelRightIndent(double pixels);
    std::optional<int> selTabCount() const;
    void setSelTabCount(int count);
    // Pixels from the left edge of the text area, whatever the indent.
    std::optional<double> selTabs(int index) const;
    void setSelTabs(int index, double pixels);

    // Width of the text in pixels: the one set, or the window's text width
    // when none is set (0).
    int rightMargin() const;
    void setRightMargin(int pixels);

    // Finds text, selects the match and returns its index, or -1. With start
    // and no end it searches from start to the end; with neither it searches
    // the selection if there is one, else the whole text. Never wraps.
    int find(const QString &text, std::optional<int> start = std::nullopt,
             std::optional<int> end = std::nullopt, int options = 0);
    // The index of the first match within [from, to), or -1, selecting
    // nothing: for going through many matches without moving the caret.
    int locate(const QString &text, int from, int to, int options = 0) const;

    // Marks drawn over a paragraph's text (spelling underlines) that are no
    // part of it: they never reach the files, the undo history, the
    // modified state, the clipboard nor the printed pages.
    void setDisplayMarks(const QTextBlock &block, const QList<QTextLayout::FormatRange> &marks);
    struct DisplayMarks {
        QTextBlock block;
        QList<QTextLayout::FormatRange> marks;
    };
    // Several paragraphs at once, laid out again together.
    void setDisplayMarks(const QList<DisplayMarks> &paragraphs);

    // The control's own undo and redo, announced by undoneOrRedone(): the
    // selection may stay where it is while its attributes change.
    void undoLastStep();
    void redoLastStep();

    // True when replacing [from, to) (an insertion when from == to) would
    // change protected characters.
    bool touchesProtected(int from, int to) const;

signals:
    void gotFocus();
    void clicked();
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void selChange();
    // The text or its formatting changed, by any means but loading a whole text.
    void contentEdited();
    // An undo or a redo ran, by key, menu or button.
    void undoneOrRedone();
    // A key changed the text or its format and left the selection where it
    // was (Backspace taking a paragraph out of its list): the paragraph
    // under the caret may look otherwise now.
    void editedInPlace();
    // A key put `text` at the caret ("\t" for Tab, "\n" for Return), after
    // its own step of undo.
    void typed(const QString &text);
    // The context menu is about to show for a click at `at` (viewport
    // coordinates): its first entries may be added here.
    void contextMenuOpening(QMenu *menu, QPoint at);
    // A whole text took the place of the one shown (loaded, moved in), the
    // caret at its start.
    void textShown();
    // Files were dropped on the control from outside: they are to be
    // opened, not typed in as their paths.
    void filesDropped(const QStringList &paths);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    QMimeData *createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    int lastPosition() const;
    void undoOrRedo(void (QTextEdit::*step)());
    void notifySelectionChange();
    // Runs an edit on a copy of the caret, then gives the caret its result.
    void replaceSelection(const std::function<void(QTextCursor &)> &edit);
    bool protectedAt(int position) const;
    // The characters a key would change, for the protection check; false
    // when the key changes nothing.
    bool rangeOfKey(QKeyEvent *event, int &from, int &to) const;
    bool movesProtectedSelection(const QDropEvent *event) const;
    // Takes the protection and the shown-only mark off what is typed next.
    void freeTypingFormat();
    void typeInTheLookBeforePictures();
    void insertParagraphInItsLook();
    void cutSelection();
    void insertRtfAt(QTextCursor &cursor, const QByteArray &rtf);
    enum class TextOrigin { File, Own };
    // source names the text in the reader's log.
    bool loadText(const QByteArray &rtf, TextOrigin origin, const QString &source = QString());
    // Shows a document read apart, with its layout still to do.
    void adoptDocument(QTextDocument *loaded);
    void insertPicture(QTextCursor &cursor, const QImage &image, QSizeF shownSizePx = {});

    void mergeSelectionFormat(const QTextCharFormat &format);
    void changeSelectedChars(const std::function<void(QTextCharFormat &)> &change);
    void changeSelectedBlocks(const std::function<void(QTextBlockFormat &)> &change);
    template <typename T, typename Read> std::optional<T> commonCharValue(Read read) const;
    template <typename T, typename Read> std::optional<T> commonBlockValue(Read read) const;

    OleObjects *m_oleObjects;
    int m_rightMarginPx = 0;
    bool m_pressed = false;
    std::pair<int, int> m_lastSelection{0, 0}; // anchor, position
    bool m_loading = false;
    bool m_editing = false;
    int m_contentChanges = 0; // counted, to tell whether a key changed anything
};
