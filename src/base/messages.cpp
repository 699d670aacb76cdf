#include "base/messages.h"

#include "base/recoverystore.h"

#include <QFileInfo>

namespace messages {

Message saveChangesQuestion() {
    return {QStringLiteral("Enregistrer modifications ?"), QStringLiteral("Avertissement"),
            MessageButtons::YesNo, MessageIcon::Question};
}

Message losingChangesWarning(const QString &title) {
    return {QStringLiteral("Attention : perte des modifications sur le texte."), title,
            MessageButtons::OkCancel, MessageIcon::Exclamation};
}

Message openFailed(const QString &path) {
    // Why, as far as the file system tells.
    const QFileInfo file(path);
    QString why = QStringLiteral("il n'a pas pu être lu.");
    if (!file.exists())
        why = QStringLiteral("ce fichier n'existe pas.");
    else if (file.isDir())
        why = QStringLiteral("c'est un dossier, pas un fichier.");
    else if (!file.isReadable())
        why = QStringLiteral("vous n'avez pas le droit de le lire.");
    return {QStringLiteral("Erreur lors de l'ouverture du fichier ") + path +
                QStringLiteral(" : ") + why,
            QStringLiteral("Lecture impossible"), MessageButtons::Ok, MessageIcon::Critical};
}

Message writeFailed() {
    return {QStringLiteral("Impossible d'écrire sur ce disque"),
            QStringLiteral("Enregistrement impossible"), MessageButtons::Ok, MessageIcon::Critical};
}

Message overwriteQuestion() {
    return {QStringLiteral("Ecraser le fichier existant?"),
            QStringLiteral("Ce fichier existe déjà"), MessageButtons::YesNo,
            MessageIcon::Exclamation};
}

Message saveBothFailed() {
    return {QStringLiteral("Vérifier l'état du lecteur"), QStringLiteral("Sauvegarde impossible"),
            MessageButtons::Ok, MessageIcon::Critical};
}

Message noStatement() {
    return {QStringLiteral("Il n'y a pas d'énoncé (obligatoire) pour cet exercice."),
            QStringLiteral("Enregistrement impossible"), MessageButtons::Ok, MessageIcon::Critical};
}

Message exerciseOverwriteQuestion() {
    return {QStringLiteral("Ecraser le fichier existant"), QStringLiteral("Ce fichier existe déjà"),
            MessageButtons::YesNo, MessageIcon::Question};
}

Message invalidExerciseName(const QString &extension) {
    return {QStringLiteral("Le nom du fichier doit se terminer par .") + extension +
                QStringLiteral(" pour le module sélectionné."),
            QStringLiteral("Fichier non valide"), MessageButtons::Ok, MessageIcon::Critical};
}

Message recapWriteFailed() {
    return {QStringLiteral("Vérifier:\r\n- le nom du fichier,\r\n- l'espace disponible sur le "
                           "disque\r\n- la protection en écriture."),
            QStringLiteral("Sauvegarde impossible"), MessageButtons::Ok, MessageIcon::Critical};
}

Message recapReadFailed() {
    return {QStringLiteral("Vérifier:\r\n- le nom du fichier,\r\n- l'état du lecteur."),
            QStringLiteral("Lecture impossible"), MessageButtons::Ok, MessageIcon::Critical};
}

Message textNotFound(const QString &path) {
    return {QStringLiteral("Fichier ") + path + QStringLiteral(" introuvable."),
            QStringLiteral("Ouverture du texte impossible"), MessageButtons::Ok,
            MessageIcon::Critical};
}

Message offsetOutOfRange() {
    return {QStringLiteral("Intervalle autorisé; [ 1 ; 20 ]"), QStringLiteral("Valeur non valide"),
            MessageButtons::Ok, MessageIcon::Critical};
}

Message nothingSelectedToAlign(bool exponents) {
    // The indices' wording has always had its typing slip; it stays as users know it.
    return {exponents ? QStringLiteral("Il faut sélectionner du texte pour pouvoir le formater!")
                      : QStringLiteral("Il faut sélectiooner du texte pour pouvoir le formater!"),
            QStringLiteral("Opération impossible"), MessageButtons::Ok, MessageIcon::Critical};
}

Message tabRefusal() {
    return {
        QStringLiteral("Ne sélectionner qu'une partie du texte avec des tabulations identiques"),
        QStringLiteral("Tabulation refusée"), MessageButtons::Ok, MessageIcon::Critical};
}

Message searchTextNotFound(const QString &text) {
    return {QStringLiteral("Impossible de trouver ") + text, QStringLiteral("Texte introuvable"),
            MessageButtons::Ok, MessageIcon::None};
}

Message replaceFinished(const QString &text, const QString &replacement) {
    return {QStringLiteral("Remplacement de ") + text + QStringLiteral(" par ") + replacement +
                QStringLiteral(" terminé."),
            QStringLiteral("Remplacement achevé"), MessageButtons::Ok, MessageIcon::None};
}

Message nothingToReplace() {
    return {QStringLiteral("Il faut saisir une chaîne à remplacer"),
            QStringLiteral("Remplacement impossible"), MessageButtons::Ok, MessageIcon::Critical};
}

Message replacedNothingProtected(const QString &text) {
    return {QStringLiteral("Aucun remplacement n'a été fait : chaque ") + text +
                QStringLiteral(" trouvé est dans du texte protégé en écriture."),
            QStringLiteral("Remplacement impossible"), MessageButtons::Ok,
            MessageIcon::Exclamation};
}

Message tooTallToShow(const QString &path) {
    return {QStringLiteral("Le texte ") + path +
                QStringLiteral(" est trop long pour être affiché : il n'a pas été ouvert."),
            QStringLiteral("Lecture impossible"), MessageButtons::Ok, MessageIcon::Critical};
}

Message notATextToInsert(const QString &path) {
    return {
        QStringLiteral("Le fichier ") + path +
            QStringLiteral(" n'est ni un texte RTF ni un texte simple : il n'a pas été inséré."),
        QStringLiteral("Insertion impossible"), MessageButtons::Ok, MessageIcon::Critical};
}

Message notAPicture(const QString &path) {
    return {QStringLiteral("Le fichier ") + path +
                QStringLiteral(" n'est pas une image lisible : il n'a pas été inséré."),
            QStringLiteral("Insertion impossible"), MessageButtons::Ok, MessageIcon::Critical};
}

Message pictureTooLarge(const QString &path) {
    return {QStringLiteral("L'image ") + path +
                QStringLiteral(" est trop grande pour être affichée : elle n'a pas été insérée."),
            QStringLiteral("Insertion impossible"), MessageButtons::Ok, MessageIcon::Critical};
}

Message tooLargeToEmbed(const QString &path) {
    return {QStringLiteral("Le fichier ") + path +
                QStringLiteral(" est trop gros pour être incorporé au texte (16 Mo au plus)."),
            QStringLiteral("Insertion impossible"), MessageButtons::Ok, MessageIcon::Critical};
}

Message notAText(const QString &path) {
    return {
        QStringLiteral("Le fichier ") + path +
            QStringLiteral(" n'est ni un texte RTF ni un texte simple : il n'a pas été ouvert."),
        QStringLiteral("Lecture impossible"), MessageButtons::Ok, MessageIcon::Critical};
}

Message recentFileMissing(const QString &path) {
    return {QStringLiteral("Le fichier ") + path +
                QStringLiteral(" n'existe plus : il est retiré de la liste des fichiers récents."),
            QStringLiteral("Fichiers récents"), MessageButtons::Ok, MessageIcon::Exclamation};
}

Message saveTextChangesQuestion(bool statement) {
    return {statement ? QStringLiteral("Enregistrer les modifications de l'énoncé ?")
                      : QStringLiteral("Enregistrer les modifications du corrigé ?"),
            QStringLiteral("Avertissement"), MessageButtons::YesNo, MessageIcon::Question};
}

Message textUnreadable(const QString &path) {
    return {QStringLiteral("Le fichier ") + path +
                QStringLiteral(" n'a pas pu être lu : ce texte reste vide et ne sera pas "
                               "enregistré à sa place."),
            QStringLiteral("Ouverture du texte impossible"), MessageButtons::Ok,
            MessageIcon::Critical};
}

Message saveExerciseQuestion() {
    return {QStringLiteral("Enregistrer les modifications de l'exercice ?"),
            QStringLiteral("Avertissement"), MessageButtons::YesNo, MessageIcon::Question};
}

Message unstorableCharacters(const QString &characters) {
    return {QStringLiteral("Le fichier exercice ne peut pas contenir ces caractères : ") +
                characters + QStringLiteral("\r\nRemplacez-les avant d'enregistrer."),
            QStringLiteral("Enregistrement impossible"), MessageButtons::Ok, MessageIcon::Critical};
}

Message textOutsideExerciseFolder(const QString &path) {
    return {QStringLiteral("Le fichier ") + path +
                QStringLiteral(" n'est pas dans le dossier du fichier exercice : le fichier "
                               "exercice n'en garde que le nom, il faudra l'y copier."),
            QStringLiteral("Avertissement"), MessageButtons::Ok, MessageIcon::Exclamation};
}

Message invalidRecapFile(const QString &path) {
    return {QStringLiteral("Le fichier ") + path +
                QStringLiteral(" n'est pas un fichier exercice valide."),
            QStringLiteral("Fichier non valide"), MessageButtons::Ok, MessageIcon::Critical};
}

Message writeProtected(const QString &path) {
    return {QStringLiteral("Le fichier ") + path + QStringLiteral(" est protégé en écriture."),
            QStringLiteral("Enregistrement impossible"), MessageButtons::Ok, MessageIcon::Critical};
}

Message saveChangedFileQuestion(const QString &path) {
    return {QStringLiteral("Le fichier ") + path +
                QStringLiteral(" a été modifié par un autre programme depuis son ouverture. "
                               "L'enregistrer quand même ?"),
            QStringLiteral("Fichier modifié"), MessageButtons::YesNo, MessageIcon::Exclamation};
}

Message reloadChangedFileQuestion(const QString &path) {
    return {QStringLiteral("Le fichier ") + path +
                QStringLiteral(" a été modifié par un autre programme. Le recharger ?"),
            QStringLiteral("Fichier modifié"), MessageButtons::YesNo, MessageIcon::Question};
}

Message restoreCopiesQuestion(const QList<RecoveryCopy> &copies) {
    QString list;
    for (const RecoveryCopy &copy : copies) {
        const QString name =
            copy.originalPath.isEmpty() ? QStringLiteral("SANS NOM") : copy.originalPath;
        const QDateTime at = copy.copiedAt.toLocalTime();
        list += QStringLiteral("- ") +
                (copy.kind == RecoveryCopy::Kind::ExerciseFields ? QStringLiteral("exercice ")
                                                                 : QString()) +
                name + QStringLiteral(" (copie du ") + at.toString(QStringLiteral("dd/MM/yyyy")) +
                QStringLiteral(" à ") + at.toString(QStringLiteral("HH:mm")) +
                QStringLiteral(")\r\n");
    }
    return {QStringLiteral("Le programme ne s'est pas fermé normalement. Une copie de secours des "
                           "textes suivants, qui avaient des modifications non enregistrées, a "
                           "été gardée :\r\n\r\n") +
                list +
                QStringLiteral("\r\nRestaurer ces textes ? Si vous répondez Non, les copies "
                               "seront supprimées."),
            QStringLiteral("Récupération des textes"), MessageButtons::YesNo,
            MessageIcon::Question};
}

Message restoredWithoutExercise(const QString &recapPath) {
    return {QStringLiteral("Le fichier exercice ") + recapPath +
                QStringLiteral(" n'a pas pu être lu (clé USB ou disque absent ?).\r\nL'énoncé et "
                               "le corrigé restaurés sont chacun à leur place, mais ne sont pas "
                               "encore enregistrés : enregistrez-les dès que ce fichier est de "
                               "nouveau accessible."),
            QStringLiteral("Récupération des textes"), MessageButtons::Ok,
            MessageIcon::Exclamation};
}

Message recoveryCopiesUnwritable(const QString &folder) {
    return {QStringLiteral("Les copies de secours des textes modifiés ne peuvent pas être écrites "
                           "dans le dossier ") +
                folder +
                QStringLiteral(" (disque plein, dossier protégé ou absent ?).\r\nEn cas de "
                               "panne, les modifications non enregistrées seraient perdues : "
                               "enregistrez vos textes. Le programme réessaiera chaque minute."),
            QStringLiteral("Copies de secours impossibles"), MessageButtons::Ok,
            MessageIcon::Exclamation};
}

Message nothingSelectedToFormat() {
    return {QStringLiteral("Il faut sélectionner du texte pour pouvoir le formater!"),
            QStringLiteral("Opération impossible"), MessageButtons::Ok, MessageIcon::Critical};
}

namespace {
const QString cannotPrintTitle = QStringLiteral("Impression impossible");
const QString pdfOffer = QStringLiteral("Enregistrer les pages à imprimer dans un fichier PDF ?");
} // namespace

Message noPrinter() {
    return {QStringLiteral("Aucune imprimante n'est installée sur cet ordinateur.\r\n") + pdfOffer,
            cannotPrintTitle, MessageButtons::YesNo, MessageIcon::Exclamation};
}

Message printJobFailed(const QString &printerName) {
    const QString printer = printerName.isEmpty()
                                ? QStringLiteral("L'imprimante")
                                : QStringLiteral("L'imprimante « %1 »").arg(printerName);
    return {printer + QStringLiteral(" n'a pas pu imprimer le texte.\r\n") + pdfOffer,
            cannotPrintTitle, MessageButtons::YesNo, MessageIcon::Exclamation};
}

Message pdfWriteFailed(const QString &path) {
    return {QStringLiteral("Le fichier PDF n'a pas pu être enregistré :\r\n") + path,
            QStringLiteral("Enregistrement impossible"), MessageButtons::Ok, MessageIcon::Critical};
}

} // namespace messages
