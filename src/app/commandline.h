#pragma once

#include <QStringList>

class MainWindow;

// Opens what the program was started with: an exercise when the file has the
// extension of a module's exercises (that module is chosen), otherwise a
// text. Arguments are those after the program's name; options are skipped.
void openFromCommandLine(MainWindow &window, const QStringList &arguments);
