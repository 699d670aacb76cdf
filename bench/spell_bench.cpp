// What the French spelling costs.
//
//   spell_bench   prints, with the spelling on and off, the time of opening a
//                 generated 10 MB exercise into the window, of a keystroke in
//                 its middle, and the longest turn of the event loop while
//                 the background check runs (and Qt lays out the rest); and
//                 the time of checking a statement of 1,000 words completely.

#include "app/mainwindow.h"
#include "app/qtdialogs.h"
#include "editor/richtextbox.h"
#include "exercisedocument.h"
#include "spelling/spellunderliner.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// How long the window is watched after opening, at the least.
constexpr qint64 watchMs = 4000;

struct Figures {
    double openMs = 0;
    double keyMs = 0;
    double longestWaitMs = 0;
    double backgroundMs = 0;
    double longestSliceMs = 0;
};

Figures measure(const QByteArray &rtf, bool spelling, const QString &noDictionary) {
    if (spelling)
        qunsetenv("REDIGO_DICTIONARY_DIR");
    else
        qputenv("REDIGO_DICTIONARY_DIR", QFile::encodeName(noDictionary));
    QtDialogs dialogs;
    MainWindow window(dialogs, QDir::tempPath());
    window.show();
    RichTextBox &exo = *window.exo();
    Figures figures;
    QElapsedTimer timer;
    timer.start();
    exo.setTextRTF(rtf);
    QCoreApplication::processEvents();
    figures.openMs = double(timer.nsecsElapsed()) / 1e6;
    // The background check, one turn of the event loop at a time, to its end;
    // for as long at least either way, for Qt lays out the rest of the text
    // in turns of its own meanwhile.
    auto *underliner = window.findChild<SpellUnderliner *>();
    timer.restart();
    QElapsedTimer turn;
    while (underliner->pending() || timer.elapsed() < watchMs) {
        turn.restart();
        QCoreApplication::processEvents();
        figures.longestWaitMs = std::max(figures.longestWaitMs, double(turn.nsecsElapsed()) / 1e6);
        if (underliner->pending()) figures.backgroundMs = double(timer.nsecsElapsed()) / 1e6;
    }
    figures.longestSliceMs = underliner->longestSliceMs();
    // The whole text laid out, as it is once the window has waited a little:
    // a keystroke then moves what follows it, spelling on or off.
    exo.document()->documentLayout()->documentSize();
    QCoreApplication::processEvents();
    exo.setSelStart(int(exo.text().size() / 2));
    constexpr int keys = 200;
    timer.restart();
    for (int i = 0; i < keys; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(&exo, &press);
        QCoreApplication::processEvents();
    }
    figures.keyMs = double(timer.nsecsElapsed()) / 1e6 / keys;
    return figures;
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir noDictionary;
    const QByteArray tenMegabytes = generate(10'000'000);
    const Figures off = measure(tenMegabytes, false, noDictionary.path());
    const Figures on = measure(tenMegabytes, true, noDictionary.path());

    // A statement of 1,000 words.
    QtDialogs dialogs;
    MainWindow window(dialogs, QDir::tempPath());
    QString statement;
    while (statement.count(QLatin1Char(' ')) < 1000)
        statement += QStringLiteral("On dissout une masse m = 2,5 g de sulfate de cuivre CuSO4 "
                                    "dans l'eau distillée ; la solution devient bleue.\n");
    window.exo()->setText(statement);
    QElapsedTimer timer;
    timer.start();
    window.findChild<SpellUnderliner *>()->checkAll();
    const double statementMs = double(timer.nsecsElapsed()) / 1e6;

    std::printf("open 10 MB, spelling off           %9.1f ms\n", off.openMs);
    std::printf("open 10 MB, spelling on            %9.1f ms\n", on.openMs);
    std::printf("keystroke in 10 MB, spelling off   %9.3f ms\n", off.keyMs);
    std::printf("keystroke in 10 MB, spelling on    %9.3f ms\n", on.keyMs);
    std::printf("longest turn after opening, off    %9.1f ms\n", off.longestWaitMs);
    std::printf("longest turn after opening, on     %9.1f ms\n", on.longestWaitMs);
    std::printf("longest slice of the check         %9.1f ms\n", on.longestSliceMs);
    std::printf("whole background check             %9.1f ms\n", on.backgroundMs);
    std::printf("check of 1,000 words               %9.1f ms\n", statementMs);
    return 0;
}
