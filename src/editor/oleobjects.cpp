#include "editor/oleobjects.h"

#include "base/atomicfile.h"
#include "document/picturefile.h"
#include "document/textproperties.h"
#include "editor/richtextbox.h"

#include <QAbstractTextDocumentLayout>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

namespace {

// Kept on an object's format for as long as the text is open; a text read
// from a file does not carry it.
constexpr int displayTypeProperty = QTextFormat::UserProperty + 40;

// Icons are drawn twice as dense as shown, to print sharp.
constexpr qreal iconScale = 2;
constexpr qreal pageWidthPx = 32;
constexpr qreal pageHeightPx = 40;
constexpr qreal cornerPx = 10;
constexpr qreal nameGapPx = 3;
constexpr qreal widestNamePx = 160;
constexpr qreal narrowestIconPx = 64;

QFont nameFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    return font;
}

QString fileKind(const QString &fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toUpper();
    return suffix.size() <= 4 ? suffix : suffix.left(4);
}

} // namespace

ShownPicture iconPicture(const QString &fileName) {
    const QFont font = nameFont();
    const QFontMetricsF metrics(font);
    const QString name = metrics.elidedText(fileName, Qt::ElideMiddle, widestNamePx);
    const qreal widthPx = std::max(narrowestIconPx, std::ceil(metrics.horizontalAdvance(name)) + 6);
    const qreal heightPx = pageHeightPx + nameGapPx + std::ceil(metrics.height()) + 2;
    const QSizeF sizePx(widthPx, heightPx);

    QImage image((sizePx * iconScale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(iconScale, iconScale);

    // A page with its top right corner folded down.
    const qreal left = (widthPx - pageWidthPx) / 2;
    QPainterPath page;
    page.moveTo(left + 0.5, 0.5);
    page.lineTo(left + pageWidthPx - cornerPx, 0.5);
    page.lineTo(left + pageWidthPx - 0.5, cornerPx);
    page.lineTo(left + pageWidthPx - 0.5, pageHeightPx - 0.5);
    page.lineTo(left + 0.5, pageHeightPx - 0.5);
    page.closeSubpath();
    painter.setPen(QPen(QColor(90, 90, 90), 1));
    painter.setBrush(QColor(250, 250, 250));
    painter.drawPath(page);
    QPainterPath fold;
    fold.moveTo(left + pageWidthPx - cornerPx, 0.5);
    fold.lineTo(left + pageWidthPx - cornerPx, cornerPx);
    fold.lineTo(left + pageWidthPx - 0.5, cornerPx);
    painter.setBrush(QColor(215, 215, 215));
    painter.drawPath(fold);
    // Lines of text on the page, and the file's kind on a band across it.
    painter.setPen(QPen(QColor(170, 170, 170), 1));
    for (qreal y = cornerPx + 4; y < pageHeightPx - 4; y += 4)
        painter.drawLine(QPointF(left + 5, y), QPointF(left + pageWidthPx - 5, y));
    const QString kind = fileKind(fileName);
    if (!kind.isEmpty()) {
        const QRectF band(left - 2, pageHeightPx - 18, pageWidthPx + 4, 11);
        painter.fillRect(band, QColor(30, 90, 170));
        QFont kindFont = font;
        kindFont.setPixelSize(8);
        kindFont.setBold(true);
        painter.setFont(kindFont);
        painter.setPen(Qt::white);
        painter.drawText(band, Qt::AlignCenter, kind);
    }
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, pageHeightPx + nameGapPx, widthPx, heightPx - pageHeightPx),
                     Qt::AlignHCenter | Qt::AlignTop, name);
    painter.end();
    return {image, sizePx};
}

std::optional<ShownPicture> contentPicture(const QByteArray &bytes) {
    const PictureFile picture = readPictureFile(bytes);
    if (picture.outcome != PictureFile::Outcome::Decoded) return std::nullopt;
    return ShownPicture{picture.image, picture.sizePx};
}

OleObjects::OleObjects(RichTextBox &box)
    : QObject(&box), m_box(box),
      m_opener([](const QUrl &url) { return QDesktopServices::openUrl(url); }) {
    box.viewport()->installEventFilter(this);
}

OleObjects::~OleObjects() = default;

namespace {

struct Shown {
    ShownPicture picture;
    OleObjects::DisplayType type;
};

Shown shownFor(const rtfobject::EmbeddedFile &file, OleObjects::DisplayType wanted) {
    if (wanted == OleObjects::Content) {
        if (const auto content = contentPicture(file.bytes)) return {*content, OleObjects::Content};
    }
    return {iconPicture(file.fileName), wanted};
}

QTextImageFormat objectFormat(const rtfobject::EmbeddedFile &file, const Shown &shown) {
    QTextImageFormat format;
    format.setWidth(shown.picture.sizePx.width());
    format.setHeight(shown.picture.sizePx.height());
    textprops::setRawRtfGroup(
        format, rtfobject::packageGroup(file, shown.picture.image, shown.picture.sizePx));
    format.setProperty(displayTypeProperty, int(shown.type));
    return format;
}

} // namespace

OleObjects::AddOutcome OleObjects::add(const QString &source, DisplayType shownAs) {
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly)) return AddOutcome::Unreadable;
    if (input.size() > maxEmbeddedBytes) return AddOutcome::TooLarge;
    rtfobject::EmbeddedFile file{QFileInfo(source).fileName(), input.readAll()};
    if (input.error() != QFileDevice::NoError) return AddOutcome::Unreadable;
    // Inserted as it is to be shown: a change of look right after the
    // insertion, in the same step, would leave Qt's undo placing the caret
    // beyond the end of the text.
    const Shown shown = shownFor(file, shownAs);
    return m_box.insertImageAtCaret(objectFormat(file, shown), shown.picture.image)
               ? AddOutcome::Added
               : AddOutcome::Protected;
}

QList<int> OleObjects::positions() const {
    QList<int> found;
    const QTextDocument *document = m_box.document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!format.isImageFormat() ||
                !rtfobject::isObjectGroup(format.property(textprops::RawRtfGroup).toByteArray()))
                continue;
            // Equal neighbours share one fragment: one object per character.
            for (int i = 0; i < fragment.length(); ++i)
                found << fragment.position() + i;
        }
    }
    return found;
}

int OleObjects::count() const {
    return int(positions().size());
}

int OleObjects::indexAt(int position) const {
    return int(positions().indexOf(position));
}

namespace {

QTextImageFormat formatAt(const QTextDocument *document, int position) {
    QTextCursor cursor(const_cast<QTextDocument *>(document));
    cursor.setPosition(position + 1);
    return cursor.charFormat().toImageFormat();
}

} // namespace

std::optional<OleObjects::DisplayType> OleObjects::displayType(int index) const {
    const QList<int> found = positions();
    if (index < 0 || index >= found.size()) return std::nullopt;
    const QTextImageFormat format = formatAt(m_box.document(), found.at(index));
    const QVariant type = format.property(displayTypeProperty);
    return type.isValid() && type.toInt() == Content ? Content : Icon;
}

void OleObjects::setDisplayType(int index, DisplayType type) {
    const QList<int> found = positions();
    if (index < 0 || index >= found.size() || displayType(index) == type) return;
    const auto embedded = file(index);
    if (!embedded) return;
    QTextDocument *document = m_box.document();
    const Shown shown = shownFor(*embedded, type);
    QTextImageFormat format = formatAt(document, found.at(index));
    format.merge(objectFormat(*embedded, shown));
    format.setName(textprops::newImageName());
    document->addResource(QTextDocument::ImageResource, QUrl(format.name()), shown.picture.image);
    QTextCursor cursor(document);
    cursor.setPosition(found.at(index));
    cursor.setPosition(found.at(index) + 1, QTextCursor::KeepAnchor);
    cursor.setCharFormat(format);
}

std::optional<rtfobject::EmbeddedFile> OleObjects::file(int index) const {
    const QList<int> found = positions();
    if (index < 0 || index >= found.size()) return std::nullopt;
    const QTextImageFormat format = formatAt(m_box.document(), found.at(index));
    return rtfobject::packagedFile(format.property(textprops::RawRtfGroup).toByteArray());
}

bool OleObjects::doVerb(int index, int verb) {
    if (verb != Open) return false;
    const auto embedded = file(index);
    if (!embedded) return false;
    if (!m_copies) m_copies = std::make_unique<QTemporaryDir>();
    if (!m_copies->isValid()) return false;
    // A folder per copy: two objects may carry files of the same name, and
    // the application may still hold the one opened before.
    const QString folder = m_copies->filePath(QString::number(++m_copiesMade));
    if (!QDir().mkpath(folder)) return false;
    const QString name =
        embedded->fileName.isEmpty() ? QStringLiteral("objet") : embedded->fileName;
    const QString path = folder + QLatin1Char('/') + name;
    if (!atomicfile::write(path, embedded->bytes)) return false;
    return m_opener(QUrl::fromLocalFile(path));
}

bool OleObjects::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::MouseButtonDblClick || watched != m_box.viewport())
        return QObject::eventFilter(watched, event);
    const auto *click = static_cast<QMouseEvent *>(event);
    if (click->button() != Qt::LeftButton) return false;
    const QPointF at = click->position() + QPointF(m_box.horizontalScrollBar()->value(),
                                                   m_box.verticalScrollBar()->value());
    const int position = m_box.document()->documentLayout()->hitTest(at, Qt::ExactHit);
    if (position < 0) return false;
    const int index = indexAt(position);
    if (index < 0) return false;
    doVerb(index, Open);
    return true;
}
