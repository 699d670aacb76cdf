#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

class Hunspell;

// Debian's French dictionary (hunspell-fr) through the Hunspell library, with
// the teacher's own words: those ignored for the run and those added for
// good, kept one a line in a file of the user's data folder.
class FrenchDictionary {
public:
    // The package whose absence leaves no dictionary.
    static constexpr const char *package = "hunspell-fr";

    // The dictionary fr_FR (or fr) of that folder.
    FrenchDictionary(const QString &folder, const QString &personalPath);
    ~FrenchDictionary();
    FrenchDictionary(const FrenchDictionary &) = delete;
    FrenchDictionary &operator=(const FrenchDictionary &) = delete;

    bool available() const { return m_hunspell != nullptr; }
    // True for a French word, a word ignored or added, and without a
    // dictionary (nothing is then marked). A hyphenated word is right when
    // the dictionary knows it or each of its parts (est-ce, dis-moi).
    bool isSpelt(const QString &word) const;
    // The dictionary's nearest words, at most `most`.
    QStringList suggestions(const QString &word, int most = 6) const;

    void ignore(const QString &word);
    // Adds the word to the personal list, written whole or not at all; false
    // when the file could not be written (the word is then known for the run).
    bool addToPersonal(const QString &word);

private:
    bool known(const QString &word) const;

    std::unique_ptr<Hunspell> m_hunspell;
    QString m_personalPath;
    QStringList m_personal;
    QSet<QString> m_ignored;
};
