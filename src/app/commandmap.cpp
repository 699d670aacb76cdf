#include "app/mainwindow.h"

#include "editor/answerfields.h"
#include "editor/editcommands.h"
#include "editor/insertioncommands.h"
#include "editor/textfiles.h"
#include "exercise/exercisecommands.h"
#include "format/charactertools.h"
#include "format/formulacommands.h"
#include "format/indexexponenttools.h"
#include "format/ioncommands.h"
#include "paragraph/paragraphtools.h"
#include "print/printing.h"
#include "search/searchcommands.h"
#include "widgets/menutable.h"

#include <QAction>

// The whole menu bar in one place, top to bottom: each menu with what
// prepares it on opening, then its entries with their captions, their state
// at start, their keys and what they run. Keys beyond the captions are the
// ones every desktop editor has; Undo and Redo belong to the editor itself.
std::vector<MenuRow> MainWindow::commandMap() {
    using R = MenuRow;
    const auto ctrl = [](Qt::Key key) { return QKeySequence(Qt::CTRL | key); };
    return {
        R::menu("fichi", "&Fichier",
                [this] {
                    // Both texts of an exercise are saved together only when
                    // both have been opened.
                    m_sauvetout->setEnabled(m_textexo->isVisible() && m_textcor->isVisible());
                }),
        R::entry(
            "Nouv", "&Nouveau", [this] { Nouv_Click(); }, R::Shown, ctrl(Qt::Key_N)),
        R::separator("s1"),
        R::entry(
            "ouvre", "&Ouvrir un fichier texte", [this] { m_textFiles->ouvre(); }, R::Shown,
            ctrl(Qt::Key_O)),
        // Ctrl+S is the toolbar's save, shown beside the entry nearest to it.
        R::entry(
            "resauve", "E&nregistrer le fichier texte", [this] { m_textFiles->resauve(); },
            R::KeyShownOnly, ctrl(Qt::Key_S)),
        R::entry("sauvetout", "Enregistrer l'énoncé et la correc&tion",
                 [this] { m_textFiles->sauvetout(); }),
        R::entry(
            "sauve", "&Enregistrer le fichier texte sous...", [this] { m_textFiles->sauve(); },
            R::Shown, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
        R::separator("s2"),
        R::entry("configimp", "&Configurer imprimante",
                 [this] { m_printing->configimp(m_state.nomfichier); }),
        R::entry(
            "imprimons", "&Imprimer", [this] { imprimons_Click(); }, R::Shown, ctrl(Qt::Key_P)),
        R::entry("apercu", "&Aperçu avant impression", [this] { m_printing->apercu(*m_exo); }),
        R::entry("exportpdf", "Exporter en P&DF…", [this] { exportpdf_Click(); }),
        R::separator("sep2002"),
        R::entry(
            "quitter", "&Quitter", [this] { close(); }, R::Shown, ctrl(Qt::Key_Q)),
        // The texts of the open exercise, named when they are opened.
        R::separator("sepatext", R::Hidden),
        R::entry(
            "textexo", "", [this] { m_textFiles->reloadStatement(); }, R::Hidden),
        R::entry(
            "textcor", "", [this] { m_textFiles->reloadCorrection(); }, R::Hidden),

        R::menu("edition", "&Edition"),
        // Fifteen blanks before the key: the key itself belongs to the editor.
        R::entry("annuleur", "&Annuler               (Ctrl+Z)",
                 [this] { m_edit->annuleur_Click(); }),
        R::separator("sep555"),
        R::entry("coupe", "&Couper", [this] { m_edit->coupe_Click(); }),
        R::entry("copie", "Co&pier", [this] { m_edit->copie_Click(); }),
        R::entry("colle", "C&oller", [this] { m_edit->colle_Click(); }),
        R::entry("supprime", "&Supprimer", [this] { m_edit->supprime_Click(); }),
        R::separator("s4"),
        R::entry("supercolle", "Colla&ge spécial", [this] { m_edit->supercolle_Click(); }),
        R::separator("s5"),
        R::entry("toutsel", "&Tout sélectionner", [this] { m_edit->toutsel_Click(); }),

        R::menu("insert", "In&sertion"),
        R::entry("objet", "&Objet", [this] { m_insertion->objet_Click(); }),
        R::entry("insertext", "&Texte", [this] { m_insertion->insertext_Click(); }),
        R::entry("ima", "Ima&ge (incorporée)", [this] { m_insertion->ima_Click(); }),
        R::separator("sdfd"),
        R::entry("SPECIALCAr", "Caractères spéciau&x", [this] { SPECIALCAr_Click(); }),
        R::entry(
            "ionpoly", "Formule ion pol&yatomique", [this] { m_ion->ionpoly_Click(); }, R::Hidden),
        R::separator("sqqsqsqsqsqsq55"),
        R::entry("champreponse", "Champ de réponse", [this] { m_answers->champreponse_Click(); }),

        R::menu("for0", "For&mat", [this] { m_answers->showProtection(); }),
        // The keys of French word processors, and Ctrl+B as well for bold.
        R::entry(
            "q21", "G&ras", [this] { m_characters->q2_Click(21); }, R::Checkable, ctrl(Qt::Key_G))
            .alsoKey(ctrl(Qt::Key_B)),
        R::entry(
            "q22", "&Italique", [this] { m_characters->q2_Click(22); }, R::Checkable,
            ctrl(Qt::Key_I)),
        R::entry(
            "q23", "&Souligné", [this] { m_characters->q2_Click(23); }, R::Checkable,
            ctrl(Qt::Key_U)),
        R::separator("sep524"),
        R::entry(
            "protection", "Pro&tégé en écriture", [this] { m_answers->protection_Click(); },
            R::Checkable),
        R::separator("ecorsep"),
        R::entry(
            "bull2", "Style &puce", [this] { m_paragraphs->bull2_Click(); }, R::Checkable),
        R::separator("sep41"),
        // Marked like Option3(0): an empty text is left-aligned.
        R::entry(
            "q24", "Aligné à &gauche", [this] { m_paragraphs->q2_Click(24); }, R::Checked),
        R::entry(
            "q25", "&Centré", [this] { m_paragraphs->q2_Click(25); }, R::Checkable),
        R::entry(
            "q26", "Aligné à &droite", [this] { m_paragraphs->q2_Click(26); }, R::Checkable),
        R::separator("sep2001"),
        R::entry("margo", "&Marges", [this] { margo_Click(); }),
        R::entry("tabulo", "Ta&bulations", [this] { tabulo_Click(); }),

        R::menu("sep24", "In&dices et exposants"),
        R::entry("toutexpo", "Aligner les &exposants", [this] { m_modes->toutexpo_Click(); }),
        R::entry("toutindi", "Aligner les &indices", [this] { m_modes->toutindi_Click(); }),
        R::entry(
            "decabiz", "Aligner sur ion pol&yatomique", [this] { m_ion->decabiz_Click(); },
            R::Hidden),
        R::entry(
            "formules", "Mettre en forme les &formules", [this] { m_formulas->formules_Click(); },
            R::Shown, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F)),
        R::separator("sepsep77"),
        R::entry("decaexp", "décalage e&xposants", [this] { m_modes->decaexp_Click(); }),
        R::entry("decaind", "décalage i&ndices", [this] { m_modes->decaind_Click(); }),
        R::separator("sepsep5"),
        R::entry(
            "check2", "indices et exposants de &petite taille", [this] { m_modes->check2_Click(); },
            R::Checked),

        // Both marks are read when a picture comes in.
        R::menu("optopt", "Op&tions"),
        R::entry("liercolle", "Conserver la liaison lors du collage spécial", {}, R::Checked),
        R::entry("lierobj", "Conserver la liaison lors de l'insertion", {}, R::Checked),
        // Unmarked at start: words stay as typed until the teacher asks.
        R::entry("formulesauto", "Formules automatiques", {}, R::Checkable),

        R::menu("outil", "&Outils"),
        R::entry(
            "rechercher", "&Rechercher", [this] { m_search->rechercher_Click(); }, R::Shown,
            ctrl(Qt::Key_F)),
        R::entry(
            "contrech", "Poursuivre la recherche", [this] { m_search->contrech_Click(); }, R::Shown,
            QKeySequence(Qt::Key_F3)),
        R::separator("sep54"),
        R::entry(
            "remplace", "Rem&placer", [this] { m_search->remplace_Click(); }, R::Shown,
            ctrl(Qt::Key_H)),
        R::separator("sep55"),
        // Its mark is the spelling's own, kept for the run.
        R::entry("orthographe", "Vérifier l'&orthographe", {}, R::Checked),

        R::menu("exot", "Exer&cice", [this] { m_az55->setEnabled(m_exercise->exerciseOpen()); }),
        R::entry("az55", "&Fermer exercice", [this] { m_exercise->closeExercise(); }),
        R::entry("az54", "&Ouvrir un exercice", [this] { m_exercise->openExercise(); }),
        R::entry("az53", "Créer ou modifier un e&xercice", [this] { m_exercise->openPanel(); }),
        R::separator("sepsep99"),
        R::entry(
            "az52", "&Editer l'énoncé", [this] { m_textFiles->showStatement(); }, R::Disabled),
        R::entry(
            "az51", "Editer le texte de la &correction", [this] { m_textFiles->showCorrection(); },
            R::Disabled),

        R::barEntry(
            "aidant", "&Aide", [this] { aidant_Click(); }, QKeySequence(Qt::Key_F1)),
    };
}
