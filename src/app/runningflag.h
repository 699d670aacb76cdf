#pragma once

#include <QString>

// The folder of the running-flag file: the program's own folder, where the
// simulators look for it, unless the program may not write there (installed
// in a system folder); then the user's data folder of the program.
QString runningFlagFolder(const QString &programDirectory);
