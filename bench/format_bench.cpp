// How fast the tools follow the selection, and the exponent walk.
//
//   format_bench   prints the time of a refresh with a caret and with the
//                  whole of a 1 MB text selected, and of aligning the
//                  exponents of a 100 KB selection.

#include "app/mainwindow.h"
#include "app/qtdialogs.h"
#include "app/selectionrefresh.h"
#include "editor/richtextbox.h"
#include "exercisedocument.h"
#include "format/formateur.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <cstdio>

namespace {

template <typename Work> double averageMs(int runs, Work work) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < runs; ++i)
        work();
    return timer.nsecsElapsed() / 1e6 / runs;
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QtDialogs dialogs;
    MainWindow window(dialogs, QDir::tempPath());
    RichTextBox &exo = *window.exo();
    const QByteArray megabyte = generate(1'000'000);
    exo.setTextRTF(megabyte);
    const int length = int(exo.text().size());

    exo.setSelStart(length / 2);
    const double caretMs = averageMs(200, [&] { window.refresh().maj(); });
    exo.setSelStart(0);
    exo.setSelLength(length);
    const double wholeMs = averageMs(10, [&] { window.refresh().maj(); });

    // About 100 KB of that text, as the exponent walk receives it.
    RichTextBox slice;
    slice.setTextRTF(megabyte);
    slice.setSelStart(0);
    slice.setSelLength(length / 10);
    const QByteArray selection = slice.selRTF();
    QElapsedTimer timer;
    timer.start();
    RichTextBox copy;
    copy.setTextRTF(selection);
    Formateur::alignOffsets(copy, OffsetKind::Exponents, 8, 8);
    slice.setSelRTF(copy.textRTF());
    const double walkMs = timer.nsecsElapsed() / 1e6;

    std::printf("1 MB text, %d characters\n", length);
    std::printf("refresh, caret              %8.3f ms\n", caretMs);
    std::printf("refresh, whole text         %8.3f ms\n", wholeMs);
    std::printf("exponent walk, %.0f KB RTF  %8.1f ms (copy, walk, replace)\n",
                selection.size() / 1e3, walkMs);
    return 0;
}
