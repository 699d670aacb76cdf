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
        const QString path = QFileInfo(argument).absoluteFilePath();
        const QString module = moduleOfExtension(QFileInfo(path).suffix());
        if (module.isEmpty()) {
            window.textFiles().openText(path);
        } else {
            auto *modules = window.findChild<QComboBox *>(QStringLiteral("Combo2"));
            modules->setCurrentIndex(modules->findText(module));
            window.Combo2_Click();
            window.exercise().openExerciseFile(path);
        }
        // One window shows one text: the first file named is the one opened.
        return;
    }
}
