#include "spelling/frenchdictionary.h"

#include "base/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <hunspell.hxx>

FrenchDictionary::FrenchDictionary(const QString &folder, const QString &personalPath)
    : m_personalPath(personalPath) {
    const QDir dir(folder);
    for (const char *name : {"fr_FR", "fr"}) {
        const QString aff = dir.filePath(QLatin1String(name) + QStringLiteral(".aff"));
        const QString dic = dir.filePath(QLatin1String(name) + QStringLiteral(".dic"));
        if (!QFile::exists(aff) || !QFile::exists(dic)) continue;
        m_hunspell = std::make_unique<Hunspell>(QFile::encodeName(aff).constData(),
                                                QFile::encodeName(dic).constData());
        break;
    }
    QFile personal(personalPath);
    if (personal.open(QIODevice::ReadOnly | QIODevice::Text)) {
        const QString words = QString::fromUtf8(personal.readAll());
        for (const QString &word : words.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            m_personal << word.trimmed();
    }
    if (m_hunspell)
        for (const QString &word : std::as_const(m_personal))
            m_hunspell->add(word.toStdString());
}

FrenchDictionary::~FrenchDictionary() = default;

bool FrenchDictionary::known(const QString &word) const {
    return m_ignored.contains(word) || m_hunspell->spell(word.toStdString());
}

bool FrenchDictionary::isSpelt(const QString &word) const {
    if (!m_hunspell || known(word)) return true;
    if (!word.contains(QLatin1Char('-'))) return false;
    const QStringList parts = word.split(QLatin1Char('-'), Qt::SkipEmptyParts);
    return std::all_of(parts.begin(), parts.end(), [this](const QString &part) {
        // Pronouns after a hyphen come with their own dictionary entry
        // ("-ce", "-moi") or alone.
        return known(part) || known(QLatin1Char('-') + part);
    });
}

QStringList FrenchDictionary::suggestions(const QString &word, int most) const {
    QStringList found;
    if (!m_hunspell) return found;
    for (const std::string &suggestion : m_hunspell->suggest(word.toStdString())) {
        if (found.size() == most) break;
        found << QString::fromStdString(suggestion);
    }
    return found;
}

void FrenchDictionary::ignore(const QString &word) {
    m_ignored.insert(word);
}

bool FrenchDictionary::addToPersonal(const QString &word) {
    if (m_hunspell) m_hunspell->add(word.toStdString());
    if (m_personal.contains(word)) return true;
    QStringList words = m_personal;
    words << word;
    QDir().mkpath(QFileInfo(m_personalPath).absolutePath());
    if (!atomicfile::write(m_personalPath,
                           (words.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()))
        return false;
    m_personal = words;
    return true;
}
