#include "document/formularecogniser.h"

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
                             {"2e-", "2e^-"}};
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
    for (const char *word : {"eau",
                             "acide",
                             "le",
                             "Le",
                             "Co",
                             "Ca",
                             "No",
                             "Ne",
                             "Ni",
                             "Si",
                             "Sa",
                             "Cela",
                             "Once",
                             "Bien",
                             "peut-être",
                             "aujourd'hui",
                             "A4",
                             "MP3",
                             "COVID-19",
                             "B2B",
                             "H2G2",
                             "3D",
                             "1er",
                             "2e",
                             "12h30",
                             "14/07/1789",
                             "2024",
                             "3,14",
                             "10",
                             "-5",
                             "+3",
                             "V2",
                             "S1",
                             "P1",
                             "B2",
                             "K2",
                             "U2",
                             "C1",
                             "N1",
                             "Cu0",
                             "H0",
                             "http://exemple.fr",
                             "prof@lycee.fr",
                             "x2",
                             "m2",
                             "CH3-CH3",
                             "Na++Cl",
                             "(aq)",
                             "()",
                             "H2O)",
                             "(H2O",
                             "[Cu",
                             "Fe2(",
                             "e",
                             "e2",
                             "electron-",
                             "Mr",
                             "Ms",
                             "Dr",
                             "Ph.D",
                             "U.S.A",
                             "OH-OH"})
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

QTEST_MAIN(FormulaRecogniserTest)
#include "formularecogniser_test.moc"
