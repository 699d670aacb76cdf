#pragma once

#include "print/exportpdfdialog.h"

#include <QPointF>
#include <QString>

class Dialogs;
class QTextDocument;

// The exercise as a PDF file to hand out: the statement, the correction or
// both, for the pupils (answer fields empty) or for the teacher, on A4 with
// margins of 2 cm. The texts are read through their documents: nothing
// shown changes.
class PdfExport {
public:
    struct Texts {
        const QTextDocument *statement = nullptr;  // none without an exercise
        const QTextDocument *correction = nullptr; // none without an exercise
        const QTextDocument *shown = nullptr;      // the only text without an exercise
        QString title;                             // the exercise's title, or the text's file name
        QString module;                            // the simulator module's name
        QString namedAfter; // the exercise's path (or the text's): folder and name of the file
        QPointF screenDpi;  // the unit the texts are laid out in
    };

    explicit PdfExport(Dialogs &dialogs) : m_dialogs(dialogs) {}

    // The dialog, then the file's name, then the file, written whole or not
    // at all. False when no file was written.
    bool exportpdf(const Texts &texts);

    // The PDF of that choice; empty when it could not be made.
    static QByteArray render(const Texts &texts, const ExportPdfDialog::Choice &choice);
    // The file proposed beside the exercise: exercice-eleve.pdf and so on.
    static QString proposedName(const QString &namedAfter, const ExportPdfDialog::Choice &choice);

private:
    Dialogs &m_dialogs;
};
