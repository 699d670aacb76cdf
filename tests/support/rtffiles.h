#pragma once

#include "editor/richtextbox.h"

#include <QString>
#include <QTest>

// A text saved as the program saves it.
inline void writeRtf(const QString &path, const QString &text) {
    RichTextBox box;
    box.setText(text);
    QVERIFY(box.saveFile(path));
}

// The text a file opens to, or "<unreadable>".
inline QString textOf(const QString &path) {
    RichTextBox box;
    return box.loadFile(path) == RichTextBox::LoadOutcome::Loaded ? box.text()
                                                                  : QStringLiteral("<unreadable>");
}
