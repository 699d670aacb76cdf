// How fast formulas are read and formatted.
//
//   formula_bench [--text FILE]   prints the time of reading every formula of
//                  a generated 1 MB text of equations, of formatting them all
//                  in a document, and of the check made as one word is typed
//                  at the end of a long line. With --text, writes the text to
//                  FILE first, for a peer tool to work on the same bytes.

#include "document/formulalook.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdio>

namespace {

// Equations, units and sentences as a chemistry sheet holds them.
QString equations(qsizetype bytes) {
    const char *lines[] = {
        "CH3COO- + H3O+ <=> CH3COOH + H2O",
        "2 H2 + O2 -> 2 H2O",
        "Cu2+ + 2 e- -> Cu et Fe -> Fe2+ + 2 e-",
        "On verse V = 10,0 mL de solution à c = 2,5.10-3 mol.L-1 de CuSO4.5H2O.",
        "La vitesse vaut 3,0e8 m.s-1 et g = 9,81 m.s-2 sur la feuille A4.",
        "[Cu(NH3)4]2+ + 4 H3O+ -> Cu2+ + 4 NH4+ + 4 H2O",
        "MnO4- + 8 H+ + 5 Fe2+ -> Mn2+ + 5 Fe3+ + 4 H2O",
    };
    QString text;
    text.reserve(bytes + 100);
    for (int i = 0; text.size() < bytes; ++i)
        text += QString::fromUtf8(lines[i % 7]) + QChar::ParagraphSeparator;
    return text;
}

template <typename Work> double averageMs(int runs, Work work) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < runs; ++i)
        work();
    return double(timer.nsecsElapsed()) / 1e6 / runs;
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString text = equations(1'000'000);
    if (argc == 3 && QByteArray(argv[1]) == "--text") {
        QFile file(QString::fromLocal8Bit(argv[2]));
        if (!file.open(QIODevice::WriteOnly)) return 1;
        file.write(QString(text).replace(QChar::ParagraphSeparator, QLatin1Char('\n')).toUtf8());
        return 0;
    }
    QList<formulas::Edit> edits;
    const double readMs = averageMs(3, [&] { edits = formulas::readSelection(text); });

    QTextDocument document;
    QTextCursor(&document).insertText(text);
    QElapsedTimer timer;
    timer.start();
    QTextCursor step(&document);
    step.beginEditBlock();
    const int made = formulas::apply(document, 0, edits, {});
    step.endEditBlock();
    const double formatMs = double(timer.nsecsElapsed()) / 1e6;

    // The check as a word ends, at the end of a line of 10,000 characters.
    QString line;
    while (line.size() < 10'000)
        line += QStringLiteral("MnO4- + 8 H+ + 5 Fe2+ -> Mn2+ + 5 Fe3+ + 4 H2O ");
    line += QStringLiteral("H2O");
    const double wordMs = averageMs(20'000, [&] { formulas::readLastWord(line); });

    std::printf("read 1 MB of equations          %9.1f ms (%lld formulas)\n", readMs,
                static_cast<long long>(edits.size()));
    std::printf("format them in a document       %9.1f ms (%d made)\n", formatMs, made);
    std::printf("check of one word typed         %9.4f ms\n", wordMs);
    return 0;
}
