#include "document/pagedprint.h"

#include "document/lazypictures.h"
#include "document/textproperties.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRawFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

namespace pagedprint {
namespace {

constexpr double decorationSizePt = 9;

QFont decorationFont(double dpiY) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(int(decorationSizePt * dpiY / 72.0 + 0.5));
    return font;
}

// Qt's PDF writer keeps the text of TrueType fonts only; it draws the others
// (the PostScript Symbol of most systems) as outlines, where no reader finds
// a letter.
bool keptAsText(const QString &family) {
    return !QRawFont::fromFont(QFont(family)).fontTable("glyf").isEmpty();
}

// Letters in fonts whose text would be lost go to a TrueType font that has
// them: a serif, as Symbol's Greek is.
void fontsKeptAsText(QTextDocument &copy) {
    QHash<QString, bool> kept;
    const QString serif = QStringLiteral("Liberation Serif");
    struct Change {
        int from, to;
        QTextCharFormat format;
    };
    std::vector<Change> changes;
    for (QTextBlock block = copy.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextCharFormat format = fragment.charFormat();
            const QString family = textprops::fontName(format);
            if (family.isEmpty() || format.hasProperty(textprops::FontNameKept)) continue;
            auto known = kept.find(family);
            if (known == kept.end()) known = kept.insert(family, keptAsText(family));
            if (*known) continue;
            textprops::setFontName(format, serif);
            changes.push_back(
                {fragment.position(), fragment.position() + fragment.length(), format});
        }
    }
    QTextCursor cursor(&copy);
    for (const Change &change : changes) {
        cursor.setPosition(change.from);
        cursor.setPosition(change.to, QTextCursor::KeepAnchor);
        cursor.setCharFormat(change.format);
    }
}

// A photo is held for the screen with the pixels it is shown with; on paper
// it has all its own, decoded from the bytes it keeps as its page is drawn,
// so that only a few are held whole at a time.
void sharpPictures(QTextDocument &copy) {
    LazyPictures &whole = lazypictures::of(copy);
    for (QTextBlock block = copy.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat()) continue;
            const QString name = format.toImageFormat().name();
            const QByteArray bytes = format.property(textprops::PictureBytes).toByteArray();
            if (!bytes.isEmpty() && !whole.holds(name)) whole.add(name, bytes, QSize());
        }
    }
}

} // namespace

std::unique_ptr<QTextDocument> paperCopy(const QTextDocument &text) {
    std::unique_ptr<QTextDocument> copy(text.clone());
    copy->setUndoRedoEnabled(false);
    fontsKeptAsText(*copy);
    sharpPictures(*copy);
    copy->setDocumentMargin(0);
    QTextFrameFormat page = copy->rootFrame()->frameFormat();
    page.setTopMargin(page.intProperty(textprops::RaisedRoom));
    copy->rootFrame()->setFrameFormat(page);
    return copy;
}

int print(const std::vector<QTextDocument *> &copies, QPagedPaintDevice &device, QPointF screenDpi,
          const Decoration &decoration) {
    QPainter painter;
    if (!painter.begin(&device)) return -1;
    const QRectF areaPt = device.pageLayout().paintRect(QPageLayout::Point);
    const double dpiX = screenDpi.x(), dpiY = screenDpi.y();
    const QSizeF areaPx(areaPt.width() * dpiX / 72.0, areaPt.height() * dpiY / 72.0);
    // A line of the decoration and as much again to keep it off the text.
    const QFont font = decorationFont(dpiY);
    const double lineHeightPx = QFontMetricsF(font).height();
    const double headerPx = decoration.header.isEmpty() ? 0 : 2 * lineHeightPx;
    const double footerPx = decoration.pageNumbers ? 2 * lineHeightPx : 0;
    const QSizeF pagePx(areaPx.width(), areaPx.height() - headerPx - footerPx);
    int total = 0;
    for (QTextDocument *copy : copies) {
        copy->setPageSize(pagePx);
        total += copy->pageCount();
    }
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    int number = 0;
    for (QTextDocument *copy : copies) {
        const int pages = copy->pageCount();
        for (int page = 0; page < pages; ++page) {
            if (number > 0 && !device.newPage()) {
                painter.end();
                return -1;
            }
            ++number;
            painter.save();
            painter.scale(device.logicalDpiX() / dpiX, device.logicalDpiY() / dpiY);
            painter.setFont(font);
            painter.setPen(Qt::black);
            if (headerPx > 0) {
                painter.drawText(QRectF(0, 0, areaPx.width(), lineHeightPx),
                                 Qt::AlignLeft | Qt::AlignVCenter, decoration.header);
                painter.drawLine(QPointF(0, lineHeightPx * 1.25),
                                 QPointF(areaPx.width(), lineHeightPx * 1.25));
            }
            if (footerPx > 0) {
                painter.drawText(
                    QRectF(0, areaPx.height() - lineHeightPx, areaPx.width(), lineHeightPx),
                    Qt::AlignHCenter | Qt::AlignVCenter,
                    QStringLiteral("page %1 / %2").arg(number).arg(total));
            }
            const QRectF view(QPointF(0, page * pagePx.height()), pagePx);
            painter.translate(0, headerPx - view.top());
            painter.setClipRect(view);
            context.clip = view;
            copy->documentLayout()->draw(&painter, context);
            painter.restore();
        }
    }
    return painter.end() ? number : -1;
}

} // namespace pagedprint
