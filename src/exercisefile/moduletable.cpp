#include "exercisefile/moduletable.h"

const std::array<ModuleRow, 15> &moduleTable() {
    static constexpr std::array<ModuleRow, 15> table = {{
        {"Simulateur A", "E51", "*.P51"},
        {"Simulateur B", "E52", "*.P52"},
        {"Simulateur C", "E53", "*.P53"},
        {"Simulateur D", "E54", "*.P54"},
        {"Simulateur E", "E55", "*.C55"},
        {"Simulateur F", "E56", "*.C56"},
        {"Simulateur G", "E57", "*.P57"},
        {"Simulateur H", "E58", "*.P58"},
        {"Simulateur I", "E59", "*.P59"},
        {"Simulateur J", "E60", "*.C60"},
        {"Simulateur K", "E61", "*.C61"},
        {"Simulateur L", "E62", "*.P62"},
        {"Simulateur M", "E63", "*.C63"},
        {"Simulateur N", "E64", "*.C64"},
        {"Simulateur O", "E65", "*.C65"},
    }};
    return table;
}

std::optional<QString> moduleExtension(const QString &displayName) {
    for (const ModuleRow &row : moduleTable()) {
        if (displayName == QString::fromUtf8(row.displayName))
            return QString::fromLatin1(row.extension);
    }
    return std::nullopt;
}

void terminaison(const QString &extension, QString &pattern) {
    for (const ModuleRow &row : moduleTable()) {
        if (extension == QLatin1String(row.extension)) {
            pattern = QString::fromLatin1(row.configurationPattern);
            return;
        }
    }
}
