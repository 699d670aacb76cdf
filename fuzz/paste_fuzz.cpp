// Pastes arbitrary bytes, as RTF or as text, over any selection of a text
// holding protected parts: the protected characters never change.

#include "editor/richtextbox.h"
#include "fuzzsupport.h"

#include <QApplication>
#include <QByteArray>
#include <QString>
#include <QTextDocument>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

const QString protectedText = QStringLiteral("[réponse]");

// "Avant [réponse] après\n[réponse] fin", the two answers protected.
void fill(RichTextBox &box) {
    box.setText(QString());
    box.setSelText(QStringLiteral("Avant "));
    box.setSelProtected(true);
    box.setSelText(protectedText);
    box.setSelProtected(false);
    box.setSelText(QStringLiteral(" après\n"));
    box.setSelProtected(true);
    box.setSelText(protectedText);
    box.setSelProtected(false);
    box.setSelText(QStringLiteral(" fin"));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    startApplication<QApplication>();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 3) return 0;
    static RichTextBox *box = new RichTextBox;
    fill(*box);
    box->document()->clearUndoRedoStacks();
    const QString before = box->text();
    // The first bytes choose the selection and how the bytes are pasted.
    box->setSelStart(data[0] % (before.size() + 1));
    box->setSelLength(data[1] % (before.size() + 1));
    const bool asText = data[2] & 1;
    const QByteArray pasted(reinterpret_cast<const char *>(data + 3), qsizetype(size - 3));
    if (asText)
        box->setSelText(QString::fromUtf8(pasted));
    else
        box->setSelRTF(pasted);
    const QString after = box->text();
    require(after.count(protectedText) >= 2 || after == before,
            "the protected answers are still there", before, after);
    // Undoing the paste gives the text back.
    box->undo();
    require(box->text() == before, "one undo takes the paste back", before, box->text());
    return 0;
}
