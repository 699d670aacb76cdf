#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>
#include <memory>

class QTextDocument;

// Photos held by their bytes and decoded for the screen only when a
// paragraph holding them is drawn, at the size they are shown. The decoded
// images are kept within a budget of bytes: those drawn longest ago are
// dropped, and decoded again if scrolled back into view.
class LazyPictures {
public:
    static constexpr qint64 defaultCacheBytes = 64 * 1024 * 1024;

    // With an invalid size, it is decoded with all its pixels.
    void add(const QString &name, const QByteArray &bytes, QSize decodedSizePx);
    bool holds(const QString &name) const { return m_pictures.contains(name); }
    // The picture decoded at its size; null when it is not held here or its
    // bytes do not decode.
    QImage image(const QString &name);

    void setCacheLimitBytes(qint64 bytes);
    qint64 cachedBytes() const { return m_cachedBytes; }
    int decodeCount() const { return m_decodeCount; }

private:
    struct Picture {
        QByteArray bytes; // shared with the text's format: no copy
        QSize decodedSizePx;
        QImage decoded;
        quint64 lastUse = 0;
    };

    void keepWithinLimit(const QString &spared);

    QHash<QString, Picture> m_pictures;
    qint64 m_cacheLimitBytes = defaultCacheBytes;
    qint64 m_cachedBytes = 0;
    quint64 m_useClock = 0;
    int m_decodeCount = 0;
};

namespace lazypictures {

// The document's store, made and hooked into its drawing on first use. The
// document's copies (QTextDocument::clone) draw from it too; a copy given
// share() also takes new pictures into it.
LazyPictures &of(QTextDocument &document);
// Null when the document has none.
LazyPictures *find(const QTextDocument &document);
void share(const QTextDocument &from, QTextDocument &to);

} // namespace lazypictures
