#include "windowfixture.h"

#include <QAbstractButton>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

// The whole menu tree, top to bottom, as the user meets it; "-" is a
// separator line.
namespace {

struct Entry {
    const char *menu;
    const char *name;
    const char *caption; // "-" for a separator
    const char *state;   // "", "hidden", "disabled" or "checked"
};

const Entry menuTree[] = {
    {"fichi", "Nouv", "&Nouveau", ""},
    {"fichi", "s1", "-", ""},
    {"fichi", "ouvre", "&Ouvrir un fichier texte", ""},
    // The files opened last, none yet.
    {"fichi", "recents", "Fichiers &récents", "disabled"},
    {"fichi", "resauve", "E&nregistrer le fichier texte", ""},
    {"fichi", "sauvetout", "Enregistrer l'énoncé et la correc&tion", ""},
    {"fichi", "sauve", "&Enregistrer le fichier texte sous...", ""},
    {"fichi", "s2", "-", ""},
    {"fichi", "configimp", "&Configurer imprimante", ""},
    {"fichi", "imprimons", "&Imprimer", ""},
    {"fichi", "apercu", "&Aperçu avant impression", ""},
    {"fichi", "exportpdf", "Exporter en P&DF…", ""},
    {"fichi", "sep2002", "-", ""},
    {"fichi", "quitter", "&Quitter", ""},
    {"fichi", "sepatext", "-", "hidden"},
    {"fichi", "textexo", "", "hidden"},
    {"fichi", "textcor", "", "hidden"},
    {"edition", "annuleur", "&Annuler               (Ctrl+Z)", ""},
    {"edition", "sep555", "-", ""},
    {"edition", "coupe", "&Couper", ""},
    {"edition", "copie", "Co&pier", ""},
    {"edition", "colle", "C&oller", ""},
    {"edition", "supprime", "&Supprimer", ""},
    {"edition", "s4", "-", ""},
    {"edition", "supercolle", "Colla&ge spécial", ""},
    {"edition", "s5", "-", ""},
    {"edition", "toutsel", "&Tout sélectionner", ""},
    {"insert", "objet", "&Objet", ""},
    {"insert", "insertext", "&Texte", ""},
    {"insert", "ima", "Ima&ge (incorporée)", ""},
    {"insert", "sdfd", "-", ""},
    {"insert", "SPECIALCAr", "Caractères spéciau&x", ""},
    {"insert", "ionpoly", "Formule ion pol&yatomique", "hidden"},
    {"insert", "sqqsqsqsqsqsq55", "-", ""},
    {"insert", "champreponse", "Champ de réponse", ""},
    {"for0", "q21", "G&ras", ""},
    {"for0", "q22", "&Italique", ""},
    {"for0", "q23", "&Souligné", ""},
    {"for0", "sep524", "-", ""},
    {"for0", "protection", "Pro&tégé en écriture", ""},
    {"for0", "ecorsep", "-", ""},
    {"for0", "bull2", "Style &puce", ""},
    {"for0", "sep41", "-", ""},
    // The alignment entries follow the text, left-aligned when empty.
    {"for0", "q24", "Aligné à &gauche", "checked"},
    {"for0", "q25", "&Centré", ""},
    {"for0", "q26", "Aligné à &droite", ""},
    {"for0", "sep2001", "-", ""},
    {"for0", "margo", "&Marges", ""},
    {"for0", "tabulo", "Ta&bulations", ""},
    {"sep24", "toutexpo", "Aligner les &exposants", ""},
    {"sep24", "toutindi", "Aligner les &indices", ""},
    {"sep24", "decabiz", "Aligner sur ion pol&yatomique", "hidden"},
    {"sep24", "formules", "Mettre en forme les &formules", ""},
    {"sep24", "sepsep77", "-", ""},
    {"sep24", "decaexp", "décalage e&xposants", ""},
    {"sep24", "decaind", "décalage i&ndices", ""},
    {"sep24", "sepsep5", "-", ""},
    {"sep24", "check2", "indices et exposants de &petite taille", "checked"},
    {"optopt", "liercolle", "Conserver la liaison lors du collage spécial", "checked"},
    {"optopt", "lierobj", "Conserver la liaison lors de l'insertion", "checked"},
    {"optopt", "formulesauto", "Formules automatiques", ""},
    {"outil", "rechercher", "&Rechercher", ""},
    {"outil", "contrech", "Poursuivre la recherche", ""},
    {"outil", "sep54", "-", ""},
    {"outil", "remplace", "Rem&placer", ""},
    {"outil", "sep55", "-", ""},
    {"outil", "orthographe", "Vérifier l'&orthographe", "checked"},
    {"exot", "az55", "&Fermer exercice", ""},
    {"exot", "az54", "&Ouvrir un exercice", ""},
    {"exot", "az53", "Créer ou modifier un e&xercice", ""},
    {"exot", "sepsep99", "-", ""},
    {"exot", "az52", "&Editer l'énoncé", "disabled"},
    {"exot", "az51", "Editer le texte de la &correction", "disabled"},
};

struct Menu {
    const char *name;
    const char *title;
};

const Menu menus[] = {
    {"fichi", "&Fichier"},
    {"edition", "&Edition"},
    {"insert", "In&sertion"},
    {"for0", "For&mat"},
    {"sep24", "In&dices et exposants"},
    {"optopt", "Op&tions"},
    {"outil", "&Outils"},
    {"exot", "Exer&cice"},
};

QString describe(const QAction *a) {
    QString state;
    if (!a->isVisible())
        state = QStringLiteral("hidden");
    else if (!a->isEnabled())
        state = QStringLiteral("disabled");
    else if (a->isChecked())
        state = QStringLiteral("checked");
    const QString caption = a->isSeparator() ? QStringLiteral("-") : a->text();
    return a->objectName() + QLatin1Char('|') + caption + QLatin1Char('|') + state;
}

} // namespace

class CommandMapTest : public QObject {
    Q_OBJECT

private slots:
    void menuBarHoldsTheMenusInOrder();
    void everyEntryInOrderWithItsCaptionAndState();
    void toolButtonsHaveTheirTips();
    void colourButtonGivesTheFocusBack();
};

void CommandMapTest::menuBarHoldsTheMenusInOrder() {
    WindowFixture f;
    QStringList found;
    for (QAction *a : f.window.menuBar()->actions())
        found << (a->menu() ? a->menu()->objectName() : a->objectName()) + QLatin1Char('|') +
                     a->text();
    QStringList expected;
    for (const Menu &m : menus)
        expected << QLatin1String(m.name) + QLatin1Char('|') + QString::fromUtf8(m.title);
    expected << QStringLiteral("aidant|&Aide");
    QCOMPARE(found, expected);
}

void CommandMapTest::everyEntryInOrderWithItsCaptionAndState() {
    WindowFixture f;
    for (const Menu &m : menus) {
        auto *menu = f.window.menuBar()->findChild<QMenu *>(QLatin1String(m.name));
        QVERIFY2(menu, m.name);
        QStringList found;
        for (const QAction *a : menu->actions())
            found << describe(a);
        QStringList expected;
        for (const Entry &e : menuTree)
            if (qstrcmp(e.menu, m.name) == 0)
                expected << QLatin1String(e.name) + QLatin1Char('|') +
                                QString::fromUtf8(e.caption) + QLatin1Char('|') +
                                QLatin1String(e.state);
        QCOMPARE(found, expected);
    }
    // Find next answers F3 from its entry.
    QCOMPARE(f.action("contrech")->shortcut(), QKeySequence(Qt::Key_F3));
}

void CommandMapTest::toolButtonsHaveTheirTips() {
    WindowFixture f;
    const QList<QPair<QString, QString>> tips = {
        {"Command2", "Nouveau"},
        {"Command3", "Ouvrir"},
        {"Command4", "Enregistrer"},
        {"Command5", "Quitter"},
        {"Command7", "Couper"},
        {"Command6", "Copier"},
        {"Command8", "Coller"},
        {"annule", "Annuler dernière opération"},
        {"Command13", "Rechercher"},
        {"Command11", "Insérer une image"},
        {"Command9", "Insertion formule ion polyatomique"},
        {"boutonformules", "Mettre en forme les formules (indices et exposants)"},
        {"Command18", "Imprimer"},
        {"Command12", "Choisir une couleur d'écriture"},
        {"Check1(1)", "Gras"},
        {"Check1(2)", "Italique"},
        {"Check1(3)", "Souligné"},
        {"optcoul(0)", "Ecrire en bleu"},
        {"optcoul(1)", "Ecrire en noir"},
        {"optcoul(2)", "Ecrire en rouge"},
        {"optcoul(3)", "Ecrire en vert"},
        {"Command15", ""},
        {"bull", "Style puces"},
        {"Option3(0)", "Aligné à gauche"},
        {"Option3(1)", "Centré"},
        {"Option3(2)", "Aligné à droite"},
        {"Option2(0)", "Caractère normal"},
        {"Option2(1)", "indice"},
        {"Option2(2)", "exposant"},
    };
    const QStringList pictured = {"Command2",  "Command3",  "Command4", "Command5",
                                  "Command7",  "Command6",  "Command8", "annule",
                                  "Command13", "Command11", "Command9", "boutonformules",
                                  "Command18", "Command12", "bull"};
    for (const auto &[name, tip] : tips) {
        auto *button = f.window.findChild<QAbstractButton *>(name);
        QVERIFY2(button, qPrintable(name));
        QCOMPARE(button->toolTip(), tip);
        if (pictured.contains(name)) QVERIFY2(!button->icon().isNull(), qPrintable(name));
    }
    const QList<QPair<QString, QString>> captions = {
        {"optcoul(0)", "B"},       {"optcoul(1)", "N"},         {"optcoul(2)", "R"},
        {"optcoul(3)", "V"},       {"Command15", "I"},          {"Option2(0)", "&Normal"},
        {"Option2(1)", "&Indice"}, {"Option2(2)", "E&xposant"},
    };
    for (const auto &[name, caption] : captions)
        QCOMPARE(f.control<QAbstractButton>(name)->text(), caption);
}

void CommandMapTest::colourButtonGivesTheFocusBack() {
    WindowFixture f;
    f.window.show();
    QApplication::setActiveWindow(&f.window);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    auto *button = f.control<QAbstractButton>(QStringLiteral("Command12"));
    button->setFocus();
    f.dialogs.dialogAnswers.append([](QDialog &) { return int(QDialog::Rejected); });
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_VERIFY(f.exo.hasFocus());
}

QTEST_MAIN(CommandMapTest)
#include "commandmap_test.moc"
