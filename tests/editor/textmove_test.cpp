#include "editor/richtextbox.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

class TextMoveTest : public QObject {
    Q_OBJECT

private slots:
    void movedTextKeepsFormatsAndPicturesAndLeavesNothingBehind();
    void eachBoxHearsOnlyItsOwnEdits();
    void typedTextRunsLeftToRight();
};

void TextMoveTest::movedTextKeepsFormatsAndPicturesAndLeavesNothingBehind() {
    RichTextBox from;
    RichTextBox to;
    to.setText(QStringLiteral("old text"));
    from.setText(QStringLiteral("bold then picture "));
    QTextCursor cursor(from.document());
    cursor.setPosition(0);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.mergeCharFormat(bold);
    QImage image(10, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    from.document()->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("pic")), image);
    QTextImageFormat picture;
    picture.setName(QStringLiteral("pic"));
    cursor.movePosition(QTextCursor::End);
    cursor.insertImage(picture);

    from.moveTextTo(to);

    QCOMPARE(to.text(), QStringLiteral("bold then picture \uFFFC"));
    QTextCursor moved(to.document());
    moved.setPosition(2);
    QCOMPARE(moved.charFormat().fontWeight(), int(QFont::Bold));
    QCOMPARE(to.document()->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("pic"))),
             QVariant(image));
    // Moved as if just read: the edits made before cannot be undone in the other box.
    QVERIFY(!to.document()->isUndoAvailable());
    QVERIFY(!to.document()->isModified());
    QCOMPARE(from.text(), QString());
    from.setText(QStringLiteral("new"));
    QCOMPARE(to.text(), QStringLiteral("bold then picture \uFFFC"));
}

void TextMoveTest::eachBoxHearsOnlyItsOwnEdits() {
    RichTextBox from;
    RichTextBox to;
    from.setText(QStringLiteral("texte"));
    from.moveTextTo(to);
    QSignalSpy fromEdits(&from, &RichTextBox::contentEdited);
    QSignalSpy toEdits(&to, &RichTextBox::contentEdited);
    to.show();
    QVERIFY(QTest::qWaitForWindowExposed(&to));
    to.setFocus();
    QTest::keyClick(&to, Qt::Key_X);
    QCOMPARE(to.text(), QStringLiteral("xtexte"));
    QCOMPARE(toEdits.count(), 1);
    QCOMPARE(fromEdits.count(), 0);
    // Undo goes back to the text as moved, no further.
    to.undo();
    QCOMPARE(to.text(), QStringLiteral("texte"));
}

void TextMoveTest::typedTextRunsLeftToRight() {
    RichTextBox box;
    QVERIFY(box.setTextRTF("{\\rtf1 premier\\par second\\par}"));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_A);
    QCOMPARE(box.text().left(8), QStringLiteral("apremier"));
    // Qt would otherwise look again at the direction of every following
    // paragraph on each keystroke.
    QCOMPARE(box.document()->defaultTextOption().textDirection(), Qt::LeftToRight);
    QCOMPARE(box.document()->lastBlock().textDirection(), Qt::LeftToRight);
}

QTEST_MAIN(TextMoveTest)
#include "textmove_test.moc"
