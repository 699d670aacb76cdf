#pragma once

#include <QString>
#include <array>
#include <optional>

// The simulator modules an exercise can be written for.
struct ModuleRow {
    const char *displayName;
    const char *extension;            // of the exercise recap file, without the dot
    const char *configurationPattern; // of the files the simulator saves
};

const std::array<ModuleRow, 15> &moduleTable();

// The extension of the module shown under that exact name, if any.
std::optional<QString> moduleExtension(const QString &displayName);

// Sets pattern to the configuration-file pattern of the module with that
// exercise extension; leaves it as it is when no module has it.
void terminaison(const QString &extension, QString &pattern);
