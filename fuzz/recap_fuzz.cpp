// Feeds arbitrary bytes to the recap file's readers as the file's content,
// reads its fields as the exercise panel does and writes them back.

#include "exercisefile/recapfile.h"
#include "exercisefile/recordfile.h"
#include "fuzzsupport.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int recordCount = recap::Hourglasses;

int toInt(long long value) {
    return int(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

recap::Fields readFields(const QByteArray &file) {
    const auto text = [&file](int record) { return recordfile::recordText(file, record); };
    recap::Fields fields;
    for (int i = 0; i < 4; ++i)
        fields.files.at(i) = text(recap::StatementFile + i);
    fields.difficulty = toInt(recap::parseNumber(text(recap::Difficulty)));
    fields.scrollValue = toInt(recap::parseNumber(text(recap::ScrollValue)));
    for (int record = recap::FirstDescription; record <= recap::LastDescription; ++record) {
        const QString piece = text(record);
        if (!recap::trimBlanks(piece).isEmpty()) fields.description += piece;
    }
    fields.title = recap::trimBlanks(text(recap::Title));
    fields.hourglasses = toInt(recap::parseNumber(text(recap::Hourglasses)));
    return fields;
}

// Where the length and text of record n end.
qsizetype writtenEnd(const QByteArray &file, int record) {
    const qsizetype start = qsizetype(record - 1) * recordfile::recordBytes;
    const auto length = static_cast<unsigned char>(file.at(start)) |
                        static_cast<unsigned char>(file.at(start + 1)) << 8;
    return start + recordfile::lengthBytes + length;
}

void checkRewrite(const QByteArray &old, const recap::Fields &fields) {
    const auto rewritten = recap::withFields(old, fields);
    // Every record of a valid file fits back, and the file stays valid.
    const bool valid = recap::isValid(old);
    require(rewritten || !valid, "the fields of a valid file fit back");
    if (!rewritten) return;
    const QByteArray &file = *rewritten;
    require(recap::isValid(file) || !valid, "a valid file stays valid once rewritten");
    require(file.size() >= old.size(), "a rewrite never shortens the file");

    // What was written reads back, and the bytes after each text are kept.
    for (int record = 1; record <= recordCount; ++record) {
        const qsizetype start = qsizetype(record - 1) * recordfile::recordBytes;
        const qsizetype end = writtenEnd(file, record);
        require(end - start <= recordfile::recordBytes, "a text stays inside its record");
        const qsizetype keptEnd = std::min<qsizetype>(start + recordfile::recordBytes, old.size());
        for (qsizetype at = end; at < keptEnd; ++at)
            require(file.at(at) == old.at(at), "the bytes after a record's text are kept");
    }
    require(old.mid(recordCount * recordfile::recordBytes) ==
                file.mid(recordCount * recordfile::recordBytes),
            "the bytes after the last record are kept");
    const recap::Fields again = readFields(file);
    require(again.files == fields.files, "file names read back");
    require(again.title == fields.title, "the title reads back");
    require(again.difficulty == fields.difficulty && again.scrollValue == fields.scrollValue &&
                again.hourglasses == fields.hourglasses,
            "numbers read back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));

    // Any record number, the ones no file has too.
    int anyRecord = 0;
    if (size > 0) std::memcpy(&anyRecord, data, std::min(size, sizeof anyRecord));
    recordfile::recordText(file, anyRecord);
    constexpr long long largestNumber = 1'000'000'000'000'000;
    require(std::llabs(recap::parseNumber(QString::fromLatin1(file))) <= largestNumber,
            "numbers stay in range");

    const recap::Fields fields = readFields(file);
    if (recap::isValid(file))
        require(recap::unstorableCharacters(fields).isEmpty(), "what was read can be stored");
    checkRewrite(file, fields);
    for (const QString &text : {fields.title, fields.description, fields.files.at(0)}) {
        const QString trimmed = recap::trimBlanks(text);
        require(recap::trimBlanks(trimmed) == trimmed, "trimming twice changes nothing");
        recap::isPlainFileName(text);
    }
    require(recap::parseNumber(recap::formatNumber(fields.difficulty)) == fields.difficulty,
            "a stored number reads back");

    // Records rewritten one by one: the text of one, whatever its length,
    // stored in a record near the others.
    QByteArray edited = file;
    const int record = int(size % (recordCount + 3)) - 1;
    const QString text = recordfile::recordText(file, 1);
    const QByteArray before = edited;
    if (recordfile::setRecordText(edited, record, text))
        require(recordfile::recordText(edited, record) == text, "a stored record reads back");
    else
        require(edited == before, "a refused record changes nothing");
    return 0;
}
