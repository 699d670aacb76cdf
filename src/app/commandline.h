#pragma once

#include <QStringList>

#include <optional>

class MainWindow;

// Opens what the program was started with: an exercise when the file has the
// extension of a module's exercises (that module is chosen), otherwise a
// text. Arguments are those after the program's name; options are skipped.
void openFromCommandLine(MainWindow &window, const QStringList &arguments);

// Opens a file as the user's "Ouvrir" would, a text or any module's
// exercise, asking first about unsaved changes; false when nothing opened.
bool openFileAsked(MainWindow &window, const QString &path);

// What the program answers on the terminal to --help (-h) and --version (-v),
// before any window or display is needed; nothing for other arguments.
std::optional<QString> terminalAnswer(const QStringList &arguments);
