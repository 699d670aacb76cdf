#pragma once

// Dialogs for the benchmarks: every question answered at once, as if OK
// were clicked, and counted.

#include "base/dialogs.h"

namespace {

class SilentDialogs : public Dialogs {
public:
    int messages = 0;
    Answer message(const Message &) override {
        ++messages;
        return Answer::Ok;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override {
        return std::nullopt;
    }
    std::optional<QString> openFileName(const FileRequest &) override { return std::nullopt; }
    std::optional<QString> saveFileName(const FileRequest &) override { return std::nullopt; }
    bool setupPrinter(QPrinter &) override { return false; }
    int runDialog(QDialog &) override { return 0; }
    bool showHelp(const QString &) override { return false; }
};

} // namespace
