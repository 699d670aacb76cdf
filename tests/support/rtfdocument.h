#pragma once

#include "document/rtf/rtfreader.h"

#include <QByteArray>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>

// A whole RTF text read into a document of its own, as a file is opened.
inline std::unique_ptr<QTextDocument> read(const QByteArray &rtf) {
    auto document = std::make_unique<QTextDocument>();
    QTextCursor cursor(document.get());
    readRtf(rtf, cursor, RtfInsertMode::WholeDocument);
    return document;
}
