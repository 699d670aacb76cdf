#include "app/messages.h"

namespace messages {

Message saveChangesQuestion() {
    return {QStringLiteral("Enregistrer modifications ?"), QStringLiteral("Avertissement"),
            MessageButtons::YesNo, MessageIcon::Question};
}

Message losingChangesWarning(const QString &title) {
    return {QStringLiteral("Attention : perte des modifications sur le texte."), title,
            MessageButtons::OkCancel, MessageIcon::Exclamation};
}

Message openFailed() {
    return {QStringLiteral("Erreur lors de l'ouverture du fichier"),
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

} // namespace messages
