#pragma once

// What the fuzz targets share: stopping on a broken invariant, and Qt's
// application object, which fonts, images and widgets need, without a screen.

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

// Stops on a broken invariant, showing what broke it whole, NUL bytes
// included: a kept group may hold binary data.
inline void require(bool holds, const char *what, const QByteArray &before = {},
                    const QByteArray &after = {}) {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    if (before.isEmpty() && after.isEmpty()) std::abort();
    std::fprintf(stderr, "--- before:\n");
    std::fwrite(before.constData(), 1, size_t(before.size()), stderr);
    std::fprintf(stderr, "\n--- after:\n");
    std::fwrite(after.constData(), 1, size_t(after.size()), stderr);
    std::fprintf(stderr, "\n");
    std::abort();
}

inline void require(bool holds, const char *what, const QString &before, const QString &after) {
    require(holds, what, before.toUtf8(), after.toUtf8());
}

// One application for the whole run. Qt gets arguments of its own, so that
// it cannot take libFuzzer's.
template <typename Application> void startApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static Application app(argc, argv);
}
