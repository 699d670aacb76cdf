#pragma once

#include <QString>

// The folder of the running-flag file: the program's own folder, where the
// simulators look for it, unless the program may not write there or stands
// in a system folder (installed, or run as root from where it was
// installed); then the user's data folder of the program.
QString runningFlagFolder(const QString &programDirectory);

// A folder of the system's programs and libraries (/usr, /opt, ...), links
// followed: the program never leaves files of its own there.
bool isSystemFolder(const QString &folder);

// Writes "OUI" or "NON" into record 5 of the flag file in that folder,
// leaving its other records as they were. A folder that cannot be written
// is no reason to complain.
void writeRunningFlag(const QString &folder, const QString &value);
