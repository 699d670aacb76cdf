#include "document/rtf/rtfobject.h"

#include "base/codepages.h"
#include "base/units.h"

#include <QBuffer>
#include <QImage>
#include <QtEndian>
#include <cmath>

namespace rtfobject {

namespace {

// The stream of an embedded object as OLE 1 lays it out: version, "embedded",
// the class name, empty topic and item names, then the native data. A package's
// native data holds the label, the original path, a temporary path, the bytes,
// and the same three names again in UTF-16 for names outside the code page.
constexpr quint32 oleVersion = 0x0501;
constexpr quint32 embeddedFormat = 2;
constexpr quint16 packageSignature = 2;
constexpr quint32 embeddedFileKind = 0x00030000;
const QByteArray packageClass = QByteArrayLiteral("Package");

constexpr int hexBytesPerLine = 64;

class StreamWriter {
public:
    void u16(quint16 value) {
        char raw[2];
        qToLittleEndian(value, raw);
        m_bytes.append(raw, 2);
    }
    void u32(quint32 value) {
        char raw[4];
        qToLittleEndian(value, raw);
        m_bytes.append(raw, 4);
    }
    void cString(const QByteArray &text) { m_bytes.append(text).append('\0'); }
    void lengthPrefixed(const QByteArray &text) {
        if (text.isEmpty()) {
            u32(0);
            return;
        }
        u32(quint32(text.size() + 1));
        cString(text);
    }
    void wide(const QString &text) {
        u32(quint32(text.size()));
        for (const QChar ch : text)
            u16(ch.unicode());
    }
    void bytes(const QByteArray &data) { m_bytes.append(data); }
    const QByteArray &result() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// Reads within the data it was given: a length running past the end makes
// every later read fail, never reads beyond.
class StreamReader {
public:
    explicit StreamReader(QByteArrayView data) : m_data(data) {}
    bool ok() const { return m_ok; }
    bool atEnd() const { return m_at >= m_data.size(); }
    quint16 u16() {
        if (!has(2)) return 0;
        const auto value = qFromLittleEndian<quint16>(m_data.data() + m_at);
        m_at += 2;
        return value;
    }
    quint32 u32() {
        if (!has(4)) return 0;
        const auto value = qFromLittleEndian<quint32>(m_data.data() + m_at);
        m_at += 4;
        return value;
    }
    QByteArray cString() {
        if (!m_ok) return {};
        const qsizetype end = m_data.indexOf('\0', m_at);
        if (end < 0) {
            m_ok = false;
            return {};
        }
        const QByteArray text = m_data.sliced(m_at, end - m_at).toByteArray();
        m_at = end + 1;
        return text;
    }
    QByteArray bytes(quint32 count) {
        if (!has(count)) return {};
        const QByteArray data = m_data.sliced(m_at, count).toByteArray();
        m_at += count;
        return data;
    }
    QString wide() {
        const quint32 count = u32();
        if (count > quint32(m_data.size())) m_ok = false;
        QString text;
        for (quint32 i = 0; m_ok && i < count; ++i)
            text.append(QChar(u16()));
        return m_ok ? text : QString();
    }

private:
    bool has(qint64 count) {
        if (m_ok && count >= 0 && m_at + count <= m_data.size()) return true;
        m_ok = false;
        return false;
    }
    QByteArrayView m_data;
    qsizetype m_at = 0;
    bool m_ok = true;
};

void appendHex(QByteArray &out, const QByteArray &data) {
    static const char digits[] = "0123456789abcdef";
    out.reserve(out.size() + data.size() * 2 + data.size() / hexBytesPerLine * 2 + 2);
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (i % hexBytesPerLine == 0) out.append("\r\n");
        const auto byte = static_cast<unsigned char>(data.at(i));
        out.append(digits[byte >> 4]).append(digits[byte & 0xF]);
    }
}

int hexValue(char ch) {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    return -1;
}

int toTwips(double pixels) {
    return int(std::lround(pixels * units::twipsPerPixel));
}

// The hexadecimal content of the group's \objdata, decoded; empty when there
// is none or it is not all hexadecimal.
QByteArray objectData(const QByteArray &group) {
    qsizetype at = group.indexOf("\\objdata");
    if (at < 0) return {};
    at += qsizetype(sizeof "\\objdata") - 1;
    QByteArray data;
    data.reserve((group.size() - at) / 2);
    int pending = -1;
    for (; at < group.size(); ++at) {
        const char ch = group.at(at);
        if (ch == '}') break;
        if (ch == ' ' || ch == '\r' || ch == '\n' || ch == '\t') continue;
        const int value = hexValue(ch);
        if (value < 0) return {};
        if (pending < 0) {
            pending = value;
        } else {
            data.append(char(pending * 16 + value));
            pending = -1;
        }
    }
    return data;
}

QString safeFileName(QString name) {
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
    return name == QLatin1String("..") || name == QLatin1String(".") ? QString() : name;
}

} // namespace

QByteArray packageGroup(const EmbeddedFile &file, const QImage &shown, QSizeF shownSizePx) {
    const QByteArray ansiName = codepages::encodeWindows1252(file.fileName);
    StreamWriter native;
    native.u16(packageSignature);
    native.cString(ansiName); // label
    native.cString(ansiName); // original path: the name is all we keep
    native.u32(embeddedFileKind);
    native.u32(quint32(ansiName.size() + 1));
    native.cString(ansiName); // temporary path
    native.u32(quint32(file.bytes.size()));
    native.bytes(file.bytes);
    native.wide(file.fileName);
    native.wide(file.fileName);
    native.wide(file.fileName);

    StreamWriter stream;
    stream.u32(oleVersion);
    stream.u32(embeddedFormat);
    stream.lengthPrefixed(packageClass);
    stream.lengthPrefixed({}); // topic
    stream.lengthPrefixed({}); // item
    stream.u32(quint32(native.result().size()));
    stream.bytes(native.result());
    // No presentation of its own: readers show the \result.
    stream.u32(oleVersion);
    stream.u32(0);

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    shown.save(&buffer, "PNG");

    const QByteArray widthTwips = QByteArray::number(toTwips(shownSizePx.width()));
    const QByteArray heightTwips = QByteArray::number(toTwips(shownSizePx.height()));
    QByteArray group = "{\\object\\objemb{\\*\\objclass Package}\\objw" + widthTwips + "\\objh" +
                       heightTwips + "{\\*\\objdata";
    appendHex(group, stream.result());
    group += "\r\n}{\\result{\\pict\\pngblip\\picw" + QByteArray::number(shown.width()) + "\\pich" +
             QByteArray::number(shown.height()) + "\\picwgoal" + widthTwips + "\\pichgoal" +
             heightTwips;
    appendHex(group, png);
    group += "\r\n}}}";
    return group;
}

bool isObjectGroup(const QByteArray &group) {
    return group.startsWith("{\\object");
}

std::optional<EmbeddedFile> packagedFile(const QByteArray &objectGroup) {
    if (!isObjectGroup(objectGroup)) return std::nullopt;
    const QByteArray data = objectData(objectGroup);
    StreamReader stream(data);
    stream.u32(); // version
    if (stream.u32() != embeddedFormat) return std::nullopt;
    const quint32 classLength = stream.u32();
    QByteArray className = stream.bytes(classLength);
    if (className.endsWith('\0')) className.chop(1);
    if (!stream.ok() || className != packageClass) return std::nullopt;
    stream.bytes(stream.u32()); // topic
    stream.bytes(stream.u32()); // item
    const quint32 nativeSize = stream.u32();
    const QByteArray nativeData = stream.bytes(nativeSize);
    if (!stream.ok()) return std::nullopt;

    StreamReader native(nativeData);
    native.u16();
    const QByteArray label = native.cString();
    const QByteArray path = native.cString();
    native.u32();               // kind
    native.bytes(native.u32()); // temporary path
    EmbeddedFile file;
    file.bytes = native.bytes(native.u32());
    if (!native.ok()) return std::nullopt;
    file.fileName = codepages::decodeWindows1252(label.isEmpty() ? path : label);
    // Names outside the code page come whole in UTF-16, when they come.
    if (!native.atEnd()) {
        native.wide(); // temporary path
        const QString wideLabel = native.wide();
        if (native.ok() && !wideLabel.isEmpty()) file.fileName = wideLabel;
    }
    file.fileName = safeFileName(file.fileName);
    return file;
}

} // namespace rtfobject
