// How fast find next and replace all go through a 1 MB exercise.
//
//   search_bench [FILE.rtf]   opens the file (a generated 1 MB exercise when
//                             none is given) in the main window's editor and
//                             prints the time of a find next for an absent
//                             word and of a replace all of 10,000 occurrences

#include "app/mainwindow.h"
#include "base/dialogs.h"
#include "base/sharedstate.h"
#include "editor/richtextbox.h"
#include "exercisedocument.h"
#include "search/replacement.h"
#include "search/searchcommands.h"
#include "silentdialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextCursor>
#include <cstdio>

namespace {

constexpr int occurrences = 10'000;
const QString marker = QStringLiteral("kwz");

// Puts the marker at evenly spaced places of the text, as one edit.
void scatterMarker(RichTextBox &exo) {
    const int length = int(exo.text().size());
    QTextCursor cursor(exo.document());
    cursor.beginEditBlock();
    for (int i = occurrences - 1; i >= 0; --i) {
        cursor.setPosition(int(qint64(length) * i / occurrences));
        cursor.insertText(marker);
    }
    cursor.endEditBlock();
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SilentDialogs dialogs;
    MainWindow window(dialogs, QDir::tempPath());
    RichTextBox &exo = *window.exo();
    QByteArray rtf;
    if (argc > 1) {
        QFile file(QString::fromLocal8Bit(argv[1]));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", argv[1]);
            return 1;
        }
        rtf = file.readAll();
    } else {
        rtf = generate(1'000'000);
    }
    if (!exo.setTextRTF(rtf)) return 1;
    // Shown, as the user sees it: moving the selection lays the text out.
    window.show();
    QApplication::processEvents();
    SharedState &state = window.state();

    // Both passes of find next: from the caret to the end, then once round.
    state.chaine = QStringLiteral("introuvable");
    state.positionrecherche = 0;
    QElapsedTimer timer;
    timer.start();
    window.search().contrech_Click();
    const double absentMs = timer.nsecsElapsed() / 1e6;

    scatterMarker(exo);
    exo.setSelStart(0);
    timer.restart();
    const replacement::Outcome outcome =
        replacement::replaceAll(exo, marker, QStringLiteral("remplacé"), 0);
    exo.setSelLength(0);
    const double replaceMs = timer.nsecsElapsed() / 1e6;

    std::printf("%.1f MB RTF, %lld characters\n", rtf.size() / 1e6,
                static_cast<long long>(exo.text().size()));
    std::printf("find next, absent word      %8.1f ms (two passes, %d message)\n", absentMs,
                dialogs.messages);
    std::printf("replace all, %d matches  %8.1f ms (%d replaced)\n", occurrences, replaceMs,
                outcome.replaced);
    return outcome.replaced == occurrences ? 0 : 1;
}
