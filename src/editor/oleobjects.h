#pragma once

#include "document/rtf/rtfobject.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QSizeF>
#include <functional>
#include <memory>
#include <optional>

class QTemporaryDir;
class QUrl;
class RichTextBox;

// A picture as the text shows it: image may be denser than sizePx, so that
// it prints sharp.
struct ShownPicture {
    QImage image;
    QSizeF sizePx;
};

// What stands for a file that shows no picture of its own: a page with the
// file's kind on it, and its name below.
ShownPicture iconPicture(const QString &fileName);
// The picture an image file holds (any kind Qt reads, SVG included), at its
// own size; nothing when the bytes are not a picture.
std::optional<ShownPicture> contentPicture(const QByteArray &bytes);

// The files embedded in a control's text, in the order they stand. Each is a
// package object: it keeps the file's bytes, travels in the RTF as an
// \object group that other programs show by its picture, and opens in the
// desktop's application for its kind on a double click.
class OleObjects : public QObject {
    Q_OBJECT
public:
    enum DisplayType { Content = 0, Icon = 1 };
    enum Verb { Open = -2 };
    enum class AddOutcome { Added, Unreadable, TooLarge, Protected };
    // Beyond this the text would carry twice as much in hexadecimal at every
    // save: such files are better linked by name.
    static constexpr qint64 maxEmbeddedBytes = 16 * 1024 * 1024;

    explicit OleObjects(RichTextBox &box);
    ~OleObjects() override;

    // Embeds the file in place of the selection, as one undo step, shown as
    // asked: as its content (its picture for an image file, its icon
    // otherwise) or as its icon.
    AddOutcome add(const QString &source, DisplayType shownAs = Content);
    int count() const;
    // Read from a text, an object shows as it was saved; its type reads Icon.
    std::optional<DisplayType> displayType(int index) const;
    void setDisplayType(int index, DisplayType type);
    // Open (-2) gives a copy of the file to the desktop's application for
    // its kind. False for another verb, another kind of object, or when the
    // copy cannot be written or opened.
    bool doVerb(int index, int verb);
    std::optional<rtfobject::EmbeddedFile> file(int index) const;
    // The index of the object at that character position, or -1.
    int indexAt(int position) const;

    // Tests open nothing on the desktop.
    void setOpener(std::function<bool(const QUrl &)> opener) { m_opener = std::move(opener); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<int> positions() const;

    RichTextBox &m_box;
    std::function<bool(const QUrl &)> m_opener;
    std::unique_ptr<QTemporaryDir> m_copies; // the copies opened, gone at exit
    int m_copiesMade = 0;
};
