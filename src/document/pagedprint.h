#pragma once

#include <QPointF>
#include <QString>
#include <memory>
#include <vector>

class QPagedPaintDevice;
class QTextDocument;

// Texts laid out on paper: each text starts on a new page, with a header
// line and page numbers when asked.
namespace pagedprint {

struct Decoration {
    QString header;           // drawn at the top of every page; none when empty
    bool pageNumbers = false; // "page n / N" at the bottom of every page
};

// A copy of the text ready for paper: the few pixels that keep it off the
// control's frame on screen would push it past the page's margins, the room
// above its first line for raised characters stays. No undo.
std::unique_ptr<QTextDocument> paperCopy(const QTextDocument &text);

// Lays the copies out in screen pixels (screenDpi, the unit of their indents,
// tabs and pictures) on pages as large as the device's printable area less
// the decoration, then paints them scaled to the device. Returns the number
// of pages painted, or -1 when the device refused one.
int print(const std::vector<QTextDocument *> &copies, QPagedPaintDevice &device, QPointF screenDpi,
          const Decoration &decoration = {});

} // namespace pagedprint
