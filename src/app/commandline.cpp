#include "app/commandline.h"

#include "app/mainwindow.h"
#include "editor/textfiles.h"
#include "exercise/exercisecommands.h"
#include "exercisefile/moduletable.h"

#include <QComboBox>
#include <QFileInfo>

namespace {

// The name the module list shows for the module of that exercise extension.
QString moduleOfExtension(const QString &suffix) {
    for (const ModuleRow &row : moduleTable()) {
        if (suffix.compare(QLatin1String(row.extension), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(row.displayName);
    }
    return QString();
}

} // namespace

void openFromCommandLine(MainWindow &window, const QStringList &arguments) {
    for (const QString &argument : arguments) {
        if (argument.startsWith(QLatin1Char('-'))) continue;
        // One window shows one text: the first file named is the one opened.
        openFileAsked(window, QFileInfo(argument).absoluteFilePath());
        return;
    }
}

bool openFileAsked(MainWindow &window, const QString &path) {
    TextFiles &texts = window.textFiles();
    const QString module = moduleOfExtension(QFileInfo(path).suffix());
    if (module.isEmpty()) {
        if (window.state().sauvegarde == 0 && !texts.settleUnsavedChanges()) return false;
        return texts.openText(path);
    }
    ExerciseCommands &exercise = window.exercise();
    if (!texts.settleAllUnsavedChanges() || !exercise.settleUnsavedFields()) return false;
    auto *modules = window.findChild<QComboBox *>(QStringLiteral("Combo2"));
    const int before = modules->currentIndex();
    modules->setCurrentIndex(modules->findText(module));
    window.Combo2_Click();
    if (exercise.openExerciseFile(path)) return true;
    // A file that could not be read leaves the module that was chosen.
    modules->setCurrentIndex(before);
    window.Combo2_Click();
    return false;
}

std::optional<QString> terminalAnswer(const QStringList &arguments) {
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help"))
            return QStringLiteral(
                "Utilisation : redigo [OPTION] [FICHIER]\n"
                "Rédige les énoncés et les corrigés des exercices de physique et de chimie des "
                "simulateurs.\n"
                "\n"
                "  FICHIER         un texte (.rtf, .txt) ou un exercice (.E51 à .E65) à ouvrir\n"
                "  -h, --help      affiche cette aide et quitte\n"
                "  -v, --version   affiche la version et quitte\n"
                "\n"
                "Variable d'environnement :\n"
                "  REDIGO_DICTIONARY_DIR   dossier du dictionnaire français (par défaut "
                "/usr/share/hunspell)\n");
        if (argument == QLatin1String("-v") || argument == QLatin1String("--version"))
            return QStringLiteral("Rédigo " REDIGO_VERSION "\n");
    }
    return std::nullopt;
}
