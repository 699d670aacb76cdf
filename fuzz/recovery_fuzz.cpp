// Feeds arbitrary bytes to the readers of recovery copies: as the file of
// each kind of copy, as the exercise's fields a copy holds, and as the
// question that lists the copies. Whatever reads back is written again and
// must read back the same.

#include "base/messages.h"
#include "base/recoverystore.h"
#include "exercisefile/recapfile.h"
#include "fuzzsupport.h"

#include <QByteArray>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr RecoveryCopy::Kind allKinds[] = {RecoveryCopy::Kind::Text, RecoveryCopy::Kind::Statement,
                                           RecoveryCopy::Kind::Correction,
                                           RecoveryCopy::Kind::ExerciseFields};

void checkFields(const QByteArray &bytes) {
    const auto fields = recap::fieldsOfCopy(bytes);
    if (!fields) return;
    require(recap::fieldsOfCopy(recap::copyBytesOf(*fields)) == fields,
            "fields read from a copy are written again the same");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    int kindsRead = 0;
    for (const RecoveryCopy::Kind kind : allKinds) {
        const auto copy = RecoveryStore::copyFrom(bytes, kind);
        if (!copy) continue;
        ++kindsRead;
        require(copy->kind == kind, "a copy is of the kind asked for");
        const QByteArray again = RecoveryStore::bytesOf(*copy);
        require(!again.isEmpty(), "a copy read back can be written");
        require(RecoveryStore::copyFrom(again, kind) == copy,
                "a copy read back is written again the same");
        if (kind == RecoveryCopy::Kind::ExerciseFields) checkFields(copy->content);
        const Message question = messages::restoreCopiesQuestion({*copy});
        require(question.text.contains(copy->originalPath.isEmpty() ? QStringLiteral("SANS NOM")
                                                                    : copy->originalPath),
                "the question names the copy");
    }
    require(kindsRead <= 1, "a file is a copy of one kind at most");
    checkFields(bytes);
    return 0;
}
