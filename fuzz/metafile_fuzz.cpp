// Feeds arbitrary bytes to the metafile check and, when it lets them
// through, to the drawing libraries, as the RTF reader hands them a \wmetafile
// or \emfblip picture. AddressSanitizer watches the libraries' reads.

#include "document/rtf/rtfmetafile.h"
#include "fuzzsupport.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    startApplication<QGuiApplication>();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // Exactly as large as the input: a read past its end is a read past the
    // allocation.
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const MetafileInfo info = checkMetafile(bytes);
    if (info.kind != MetafileInfo::None) {
        // Small, as a formula is shown, and a size the first byte picks.
        const int side = size > 0 ? 8 + data[0] % 120 : 16;
        const QImage image = drawMetafile(bytes, QSize(side, side / 2 + 1));
        require(image.isNull() || image.size() == QSize(side, side / 2 + 1),
                "a metafile is drawn at the size asked");
    }
    // Our own metafile copy of a picture always passes the check.
    if (size >= 2) {
        QImage picture(1 + data[0] % 16, 1 + data[1] % 16, QImage::Format_RGB32);
        picture.fill(qRgb(data[0], data[1], 0));
        require(checkMetafile(bitmapMetafile(picture)).kind == MetafileInfo::Wmf,
                "our bitmap metafile is one");
    }
    return 0;
}
