#include "document/formularecogniser.h"

#include <QFile>
#include <QTest>

using formulas::Level;
using formulas::Mode;

namespace {

// A formatted word written out: "_x" is x as an index, "^x" as an exponent.
QString written(const formulas::Formatted &formatted) {
    QString out;
    for (qsizetype i = 0; i < formatted.text.size(); ++i) {
        if (formatted.levels.at(i) == Level::Index) out += QLatin1Char('_');
        if (formatted.levels.at(i) == Level::Exponent) out += QLatin1Char('^');
        out += formatted.text.at(i);
    }
    return out;
}

} // namespace

class FormulaRecogniserTest : public QObject {
    Q_OBJECT

private slots:
    void formulasAreFormatted_data();
    void formulasAreFormatted();
    void wordsAndCodesAreLeftAlone_data();
    void wordsAndCodesAreLeftAlone();
    void askedForAnyWellFormedFormulaIsTaken();
    void noFrenchWordIsTakenForAFormula();
};

void FormulaRecogniserTest::formulasAreFormatted_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("expected");
    const char *rows[][2] = {// Molecules.
                             {"H2O", "H_2O"},
                             {"CO2", "CO_2"},
                             {"H2SO4", "H_2SO_4"},
                             {"C6H12O6", "C_6H_1_2O_6"},
                             {"CH4", "CH_4"},
                             {"C2H6", "C_2H_6"},
                             {"C2H5OH", "C_2H_5OH"},
                             {"CH3COOH", "CH_3COOH"},
                             {"HNO3", "HNO_3"},
                             {"H3PO4", "H_3PO_4"},
                             {"NH3", "NH_3"},
                             {"NO2", "NO_2"},
                             {"N2O4", "N_2O_4"},
                             {"SO2", "SO_2"},
                             {"SO3", "SO_3"},
                             {"H2O2", "H_2O_2"},
                             {"NaCl2", "NaCl_2"},
                             {"MgCl2", "MgCl_2"},
                             {"CaCO3", "CaCO_3"},
                             {"Fe2O3", "Fe_2O_3"},
                             {"Fe3O4", "Fe_3O_4"},
                             {"Al2O3", "Al_2O_3"},
                             {"KMnO4", "KMnO_4"},
                             {"K2Cr2O7", "K_2Cr_2O_7"},
                             {"CuSO4", "CuSO_4"},
                             {"AgNO3", "AgNO_3"},
                             {"C8H18", "C_8H_1_8"},
                             {"C3H8O", "C_3H_8O"},
                             {"CoCl2", "CoCl_2"},
                             {"C60", "C_6_0"},
                             // Molecules of one element.
                             {"O2", "O_2"},
                             {"N2", "N_2"},
                             {"H2", "H_2"},
                             {"Cl2", "Cl_2"},
                             {"I2", "I_2"},
                             {"Br2", "Br_2"},
                             {"O3", "O_3"},
                             {"S8", "S_8"},
                             {"P4", "P_4"},
                             // Groups.
                             {"Ca(OH)2", "Ca(OH)_2"},
                             {"Fe2(SO4)3", "Fe_2(SO_4)_3"},
                             {"Al(OH)3", "Al(OH)_3"},
                             {"Cu(OH)2", "Cu(OH)_2"},
                             {"(NH4)2SO4", "(NH_4)_2SO_4"},
                             {"[Cu(NH3)4]2+", "[Cu(NH_3)_4]^2^+"},
                             {"[Fe(CN)6]3-", "[Fe(CN)_6]^3^-"},
                             // Ions, the charge in every way it is typed.
                             {"Na+", "Na^+"},
                             {"Cl-", "Cl^-"},
                             {"OH-", "OH^-"},
                             {"H3O+", "H_3O^+"},
                             {"Cu2+", "Cu^2^+"},
                             {"Fe3+", "Fe^3^+"},
                             {"Fe2+", "Fe^2^+"},
                             {"Zn2+", "Zn^2^+"},
                             {"Ag+", "Ag^+"},
                             {"NH4+", "NH_4^+"},
                             {"CH3COO-", "CH_3COO^-"},
                             {"HCO3-", "HCO_3^-"},
                             {"SO42-", "SO_4^2^-"},
                             {"SO4^2-", "SO_4^2^-"},
                             {"CO32-", "CO_3^2^-"},
                             {"PO43-", "PO_4^3^-"},
                             {"Cr2O72-", "Cr_2O_7^2^-"},
                             {"MnO4-", "MnO_4^-"},
                             {"NO3-", "NO_3^-"},
                             {"Cu+2", "Cu^+^2"},
                             {"Al3+", "Al^3^+"},
                             {"MnO4^-", "MnO_4^-"},
                             {"S2O32-", "S_2O_3^2^-"},
                             {"I3^-", "I_3^-"},
                             // Coefficients, hydrates, states, the electron.
                             {"2H2O", "2H_2O"},
                             {"3O2", "3O_2"},
                             {"CuSO4.5H2O", "CuSO_4·5H_2O"},
                             {"CuSO4·5H2O", "CuSO_4·5H_2O"},
                             {"H2O(l)", "H_2O(l)"},
                             {"CO2(g)", "CO_2(g)"},
                             {"Cu2+(aq)", "Cu^2^+(aq)"},
                             {"NaCl(s)", "NaCl(s)"},
                             {"e-", "e^-"},
                             {"2e-", "2e^-"},
                             // More molecules and salts of the programmes.
                             {"C2H4", "C_2H_4"},
                             {"C2H2", "C_2H_2"},
                             {"C4H10", "C_4H_1_0"},
                             {"CH3OH", "CH_3OH"},
                             {"C6H6", "C_6H_6"},
                             {"C12H22O11", "C_1_2H_2_2O_1_1"},
                             {"H2CO3", "H_2CO_3"},
                             {"NaHCO3", "NaHCO_3"},
                             {"Na2CO3", "Na_2CO_3"},
                             {"Na2SO4", "Na_2SO_4"},
                             {"CaCl2", "CaCl_2"},
                             {"FeCl3", "FeCl_3"},
                             {"Cu2O", "Cu_2O"},
                             {"Pb(NO3)2", "Pb(NO_3)_2"},
                             {"Ba(OH)2", "Ba(OH)_2"},
                             {"SiO2", "SiO_2"},
                             {"P4O10", "P_4O_1_0"},
                             {"H2S", "H_2S"},
                             {"CH3COONa", "CH_3COONa"},
                             {"C6H5COOH", "C_6H_5COOH"},
                             // More ions.
                             {"Mg2+", "Mg^2^+"},
                             {"K+", "K^+"},
                             {"Pb2+", "Pb^2^+"},
                             {"Sn4+", "Sn^4^+"},
                             {"Cr3+", "Cr^3^+"},
                             {"F-", "F^-"},
                             {"I-", "I^-"},
                             {"S2-", "S^2^-"},
                             {"O2-", "O^2^-"},
                             {"HSO4-", "HSO_4^-"},
                             {"H2PO4-", "H_2PO_4^-"},
                             {"HPO42-", "HPO_4^2^-"},
                             {"C2O42-", "C_2O_4^2^-"},
                             {"S4O62-", "S_4O_6^2^-"},
                             {"ClO-", "ClO^-"},
                             {"Fe+3", "Fe^+^3"},
                             {"Fe^{3+}", "Fe^3^+"},
                             {"SO4^{2-}", "SO_4^2^-"},
                             {"[Ag(NH3)2]+", "[Ag(NH_3)_2]^+"},
                             {"CaSO4.2H2O", "CaSO_4·2H_2O"},
                             {"H+(aq)", "H^+(aq)"},
                             {"Fe(OH)3(s)", "Fe(OH)_3(s)"},
                             // Nuclei and particles.
                             {"^14C", "^1^4C"},
                             {"^{235}U", "^2^3^5U"},
                             {"^{235}_{92}U", "^2^3^5_9_2U"},
                             {"^4_2He", "^4_2He"},
                             {"^1_0n", "^1_0n"},
                             {"^0_{-1}e", "^0_-_1e"},
                             {"^{60}Co", "^6^0Co"},
                             {"^{14}_{6}C", "^1^4_6C"},
                             // Units.
                             {"m.s-1", "m·s^-^1"},
                             {"m.s-2", "m·s^-^2"},
                             {"m·s-2", "m·s^-^2"},
                             {"m.s^-2", "m·s^-^2"},
                             {"mol.L-1", "mol·L^-^1"},
                             {"g.mol-1", "g·mol^-^1"},
                             {"kg.m-3", "kg·m^-^3"},
                             {"kg·m^{-3}", "kg·m^-^3"},
                             {"J.mol-1.K-1", "J·mol^-^1·K^-^1"},
                             {"J.kg-1.K-1", "J·kg^-^1·K^-^1"},
                             {"W.m-2", "W·m^-^2"},
                             {"V.m-1", "V·m^-^1"},
                             {"mg.L-1", "mg·L^-^1"},
                             {"km.h-1", "km·h^-^1"},
                             {"µmol.L-1", "µmol·L^-^1"},
                             {"m2", "m^2"},
                             {"m3", "m^3"},
                             {"cm3", "cm^3"},
                             {"dm3", "dm^3"},
                             {"cm2", "cm^2"},
                             {"km2", "km^2"},
                             {"s-1", "s^-^1"},
                             // Powers.
                             {"10-3", "10^-^3"},
                             {"10^-3", "10^-^3"},
                             {"10^5", "10^5"},
                             {"10^{-19}", "10^-^1^9"},
                             {"10^12", "10^1^2"},
                             {"6.02e23", "6,02×10^2^3"},
                             {"6,02e23", "6,02×10^2^3"},
                             {"1.6e-19", "1,6×10^-^1^9"},
                             {"3e8", "3×10^8"},
                             {"3.00E8", "3,00×10^8"},
                             {"2,5.10-3", "2,5×10^-^3"},
                             {"2.10-3", "2×10^-^3"},
                             {"6,67.10-11", "6,67×10^-^1^1"},
                             {"1,38.10-23", "1,38×10^-^2^3"},
                             {"3x10^8", "3×10^8"},
                             {"x^2", "x^2"},
                             {"t^n", "t^n"},
                             {"x^-1", "x^-^1"},
                             {"a^{2}", "a^2"},
                             {"2^10", "2^1^0"}};
    for (const auto &row : rows)
        QTest::newRow(row[0]) << QString::fromUtf8(row[0]) << QString::fromUtf8(row[1]);
}

// Typed and taken as written: each formula, in automatic mode too unless it
// changes nothing.
void FormulaRecogniserTest::formulasAreFormatted() {
    QFETCH(QString, word);
    QFETCH(QString, expected);
    const auto asked = formulas::recognise(word, Mode::Explicit);
    QVERIFY(asked);
    QCOMPARE(written(*asked), expected);
    const auto typed = formulas::recognise(word, Mode::Automatic);
    if (expected.contains(QLatin1Char('_')) || expected.contains(QLatin1Char('^')) ||
        expected != word) {
        QVERIFY(typed);
        QCOMPARE(written(*typed), expected);
    } else {
        QVERIFY(!typed);
    }
}

void FormulaRecogniserTest::wordsAndCodesAreLeftAlone_data() {
    QTest::addColumn<QString>("word");
    for (const char *word :
         {"eau", "acide", "le", "Le", "Co", "Ca", "No", "Ne", "Ni", "Si", "Sa", "Cela", "Once",
          "Bien", "peut-être", "aujourd'hui", "A4", "MP3", "COVID-19", "B2B", "H2G2", "3D", "1er",
          "2e", "12h30", "14/07/1789", "2024", "3,14", "10", "-5", "+3", "V2", "S1", "P1", "B2",
          "K2", "U2", "C1", "N1", "Cu0", "H0", "http://exemple.fr", "prof@lycee.fr", "x2", "M2",
          "CH3-CH3", "Na++Cl", "(aq)", "()", "H2O)", "(H2O", "[Cu", "Fe2(", "e", "e2", "electron-",
          "Mr", "Ms", "Dr", "Ph.D", "U.S.A", "OH-OH",
          // Sums, ranks, blood groups, codes.
          "N-1", "N+1", "N-2", "H-2", "C+1", "J-1", "O+", "B-", "AB+", "W3C", "Y2K", "10-12",
          "10+3", "103", "L2", "T3", "A2", "M1", "CE2", "CM1", "TF1", "F1", "K7", "R2D2", "AK-47",
          "bac+3", "n+1", "e-mail", "p.12-13", "1-2", "v1.2", "n°3", "C++", "1.5", "2x3", "J.-C.",
          "N.m", "06-12-34-56-78", "x2", "2^"})
        QTest::newRow(word) << QString::fromUtf8(word);
}

// Typed text that is no formula, or may not be one, stays as typed.
void FormulaRecogniserTest::wordsAndCodesAreLeftAlone() {
    QFETCH(QString, word);
    QVERIFY(!formulas::recognise(word, Mode::Automatic));
}

// Asked for, a formula without a count or one element with a count is
// taken; a word that is no formula still is not.
void FormulaRecogniserTest::askedForAnyWellFormedFormulaIsTaken() {
    for (const char *word : {"NaCl", "HCl", "KCl", "NaOH", "CO"}) {
        const auto asked = formulas::recognise(QString::fromLatin1(word), Mode::Explicit);
        QVERIFY2(asked, word);
        QCOMPARE(written(*asked), QLatin1String(word));
    }
    QCOMPARE(written(*formulas::recognise(u"K2", Mode::Explicit)), QStringLiteral("K_2"));
    QCOMPARE(written(*formulas::recognise(u"V2", Mode::Explicit)), QStringLiteral("V_2"));
    for (const char *word : {"eau", "A4", "MP3", "H2G2", "3D", "12h30"})
        QVERIFY2(!formulas::recognise(QString::fromLatin1(word), Mode::Explicit), word);
}

// Every word of the French dictionary typed stays as typed, but the formula
// it holds.
void FormulaRecogniserTest::noFrenchWordIsTakenForAFormula() {
    QFile dictionary(QStringLiteral("/usr/share/hunspell/fr.dic"));
    QVERIFY2(dictionary.open(QIODevice::ReadOnly | QIODevice::Text),
             "the French dictionary (hunspell-fr) is missing");
    QStringList taken;
    int words = 0;
    dictionary.readLine(); // the count
    while (!dictionary.atEnd()) {
        const QString line = QString::fromUtf8(dictionary.readLine()).trimmed();
        const QString word = line.section(QLatin1Char('/'), 0, 0).section(QLatin1Char(' '), 0, 0);
        if (word.isEmpty()) continue;
        ++words;
        if (formulas::recognise(word, Mode::Automatic)) taken << word;
    }
    QVERIFY(words >= 20000);
    QCOMPARE(taken, QStringList{QStringLiteral("CO2")});
}

QTEST_MAIN(FormulaRecogniserTest)
#include "formularecogniser_test.moc"
