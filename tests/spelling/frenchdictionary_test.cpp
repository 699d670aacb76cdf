#include "document/spellwords.h"
#include "spelling/frenchdictionary.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const QString debianFolder = QStringLiteral("/usr/share/hunspell");

// The words of the sentence the dictionary marks, in order.
QStringList misspelt(const FrenchDictionary &dictionary, const QString &sentence) {
    QStringList marked;
    for (const spellwords::Span &span : spellwords::toCheck(sentence)) {
        const QString word = sentence.mid(span.from, span.to - span.from);
        if (!dictionary.isSpelt(word)) marked << word;
    }
    return marked;
}

} // namespace

class FrenchDictionaryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void sentencesMarkExactlyTheirMistakes_data();
    void sentencesMarkExactlyTheirMistakes();
    void markedCharactersAndAddressesAreNeverJudged();
    void suggestionsHoldTheRightWord();
    void wordsAddedAreKeptForTheNextRun();
    void withoutDictionaryNothingIsMarked();

private:
    QTemporaryDir m_dir;
};

void FrenchDictionaryTest::initTestCase() {
    QVERIFY2(QFile::exists(debianFolder + QStringLiteral("/fr_FR.dic")),
             "the French dictionary (hunspell-fr) is missing");
}

void FrenchDictionaryTest::sentencesMarkExactlyTheirMistakes_data() {
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QStringList>("expected");
    const QStringList none;
    // Statements as teachers write them: formulas, units, numbers, elisions
    // and hyphens give no mark.
    const char *right[] = {
        "On dissout 2,5 g de sulfate de cuivre CuSO4.5H2O dans l'eau distillée.",
        "L'ion Cu²⁺ donne à la solution sa couleur bleue ; les ions SO₄²⁻ sont incolores.",
        "Écrire l’équation de la réaction entre H3O+ et HO- : est-ce une réaction acido-basique ?",
        "La concentration vaut c = 1,0×10⁻² mol·L⁻¹, soit 0,010 mol/L ; la vitesse est 90 km/h.",
        "Aujourd'hui, peut-être, le pH de la solution d'acide chlorhydrique HCl vaut 2,3.",
        "Le nombre d'Avogadro vaut 6,02e23 mol-1 ; à 12h30 on mesure λ = 589 nm.",
        "L'ADN absorbe les UV : voir http://exemple.fr/cours ou écrire à prof@lycee.fr.",
        "La réaction NaCl(s) -> Na+(aq) + Cl-(aq) est une dissolution.",
        "Dis-moi quelle est la masse molaire du glucose C6H12O6 : M = 180 g.mol-1.",
        "« Calculer l'énergie cinétique Ec = ½ m v² du solide. »",
    };
    for (const char *sentence : right)
        QTest::newRow(sentence) << QString::fromUtf8(sentence) << none;
    QTest::newRow("two mistakes") << QStringLiteral("La molécul d'eau est polair.")
                                  << QStringList{"molécul", "polair"};
    QTest::newRow("beside a formula")
        << QStringLiteral("Le dioxyde de carbonne CO2 est un gaz.") << QStringList{"carbonne"};
    QTest::newRow("elided") << QStringLiteral("L'aceide éthanoïque CH3COOH réagit.")
                            << QStringList{"L'aceide"};
    QTest::newRow("hyphenated") << QStringLiteral("Les ions oxo-anniions sont chargés.")
                                << QStringList{"oxo-anniions"};
    QTest::newRow("accent") << QStringLiteral("La vitese de la lumiere est grande.")
                            << QStringList{"vitese", "lumiere"};
}

void FrenchDictionaryTest::sentencesMarkExactlyTheirMistakes() {
    QFETCH(QString, sentence);
    QFETCH(QStringList, expected);
    const FrenchDictionary dictionary(debianFolder, m_dir.filePath(QStringLiteral("mots.txt")));
    QVERIFY(dictionary.available());
    QCOMPARE(misspelt(dictionary, sentence), expected);
}

// Characters the caller marks (a protected frame line, a Symbol-font
// letter) take their word out of the check.
void FrenchDictionaryTest::markedCharactersAndAddressesAreNeverJudged() {
    const QString text = QStringLiteral("------ réponze ------ mot juste");
    std::vector<bool> marked(size_t(text.size()), false);
    for (qsizetype i = 0; i < 20; ++i)
        marked[size_t(i)] = true;
    const QList<spellwords::Span> words = spellwords::toCheck(text, &marked);
    QCOMPARE(words.size(), 2);
    QCOMPARE(text.mid(words.at(0).from, words.at(0).to - words.at(0).from), QStringLiteral("mot"));
    QVERIFY(spellwords::toCheck(QStringLiteral("www.lycee.fr a.b@c.fr H2SO4 α β π")).isEmpty());
}

void FrenchDictionaryTest::suggestionsHoldTheRightWord() {
    const FrenchDictionary dictionary(debianFolder, m_dir.filePath(QStringLiteral("mots.txt")));
    for (const auto &[wrong, right] :
         {std::pair{"molécul", "molécule"}, {"lumiere", "lumière"}, {"carbonne", "carbone"}}) {
        const QStringList found = dictionary.suggestions(QString::fromUtf8(wrong));
        QVERIFY2(found.contains(QString::fromUtf8(right)), qPrintable(found.join(u',')));
        QVERIFY(found.size() <= 6);
    }
}

void FrenchDictionaryTest::wordsAddedAreKeptForTheNextRun() {
    const QString personal = m_dir.filePath(QStringLiteral("perso/mots.txt"));
    {
        FrenchDictionary dictionary(debianFolder, personal);
        QVERIFY(!dictionary.isSpelt(QStringLiteral("titrimétrix")));
        dictionary.ignore(QStringLiteral("burettex"));
        QVERIFY(dictionary.isSpelt(QStringLiteral("burettex")));
        QVERIFY(dictionary.addToPersonal(QStringLiteral("titrimétrix")));
        QVERIFY(dictionary.isSpelt(QStringLiteral("titrimétrix")));
    }
    const FrenchDictionary again(debianFolder, personal);
    QVERIFY(again.isSpelt(QStringLiteral("titrimétrix")));
    // Ignored for the run only.
    QVERIFY(!again.isSpelt(QStringLiteral("burettex")));
}

void FrenchDictionaryTest::withoutDictionaryNothingIsMarked() {
    QTemporaryDir empty;
    const FrenchDictionary dictionary(empty.path(), empty.filePath(QStringLiteral("mots.txt")));
    QVERIFY(!dictionary.available());
    QVERIFY(dictionary.isSpelt(QStringLiteral("molécul")));
    QVERIFY(dictionary.suggestions(QStringLiteral("molécul")).isEmpty());
}

QTEST_MAIN(FrenchDictionaryTest)
#include "frenchdictionary_test.moc"
