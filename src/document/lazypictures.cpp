#include "document/lazypictures.h"

#include "document/rtf/rtfpicturedecoder.h"

#include <QBuffer>
#include <QImageReader>
#include <QTextDocument>
#include <QUrl>
#include <QVariant>

void LazyPictures::add(const QString &name, const QByteArray &bytes, QSize decodedSizePx) {
    Picture &picture = m_pictures[name];
    picture.bytes = bytes;
    picture.decodedSizePx = decodedSizePx;
}

QImage LazyPictures::image(const QString &name) {
    const auto found = m_pictures.find(name);
    if (found == m_pictures.end()) return {};
    Picture &picture = *found;
    picture.lastUse = ++m_useClock;
    if (picture.decoded.isNull()) {
        QBuffer buffer;
        buffer.setData(picture.bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        if (picture.decodedSizePx.isValid()) reader.setScaledSize(picture.decodedSizePx);
        picture.decoded = reader.read();
        ++m_decodeCount;
        m_cachedBytes += picture.decoded.sizeInBytes();
        keepWithinLimit(name);
    }
    return picture.decoded;
}

void LazyPictures::setCacheLimitBytes(qint64 bytes) {
    m_cacheLimitBytes = bytes;
    keepWithinLimit(QString());
}

void LazyPictures::keepWithinLimit(const QString &spared) {
    while (m_cachedBytes > m_cacheLimitBytes) {
        Picture *oldest = nullptr;
        for (auto it = m_pictures.begin(); it != m_pictures.end(); ++it) {
            if (!it->decoded.isNull() && it.key() != spared &&
                (!oldest || it->lastUse < oldest->lastUse))
                oldest = &*it;
        }
        if (!oldest) return;
        m_cachedBytes -= oldest->decoded.sizeInBytes();
        oldest->decoded = QImage();
    }
}

namespace lazypictures {

namespace {

// Holds the store as a child of the document, so that it lives as long as
// the document and is found from it.
class Holder : public QObject {
public:
    Holder(std::shared_ptr<LazyPictures> store, QTextDocument &document)
        : QObject(&document), store(std::move(store)) {}
    const std::shared_ptr<LazyPictures> store;
};

Holder *holderOf(const QTextDocument &document) {
    for (QObject *child : document.children()) {
        if (auto *holder = dynamic_cast<Holder *>(child)) return holder;
    }
    return nullptr;
}

void attach(std::shared_ptr<LazyPictures> store, QTextDocument &document) {
    // A copy draws its pictures from the store of the text it was made from,
    // through the hook it inherited: asked first when this one lacks them.
    auto inherited = document.resourceProvider();
    document.setResourceProvider([store, inherited](const QUrl &url) -> QVariant {
        const QString name = url.toString();
        if (store->holds(name)) {
            const QImage image = store->image(name);
            if (!image.isNull()) return image;
        }
        if (inherited) {
            const QVariant found = inherited(url);
            if (found.isValid()) return found;
        }
        // Bytes that do not decode show as any picture Qt cannot show.
        return store->holds(name) ? QVariant(rtfPlaceholderImage()) : QVariant();
    });
    new Holder(std::move(store), document);
}

} // namespace

LazyPictures &of(QTextDocument &document) {
    if (Holder *holder = holderOf(document)) return *holder->store;
    auto store = std::make_shared<LazyPictures>();
    attach(store, document);
    return *store;
}

LazyPictures *find(const QTextDocument &document) {
    const Holder *holder = holderOf(document);
    return holder ? holder->store.get() : nullptr;
}

void share(const QTextDocument &from, QTextDocument &to) {
    const Holder *holder = holderOf(from);
    if (!holder || holderOf(to)) return;
    attach(holder->store, to);
}

} // namespace lazypictures
