#pragma once

#include "base/filestamp.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

class Dialogs;
class QAction;
class RichTextBox;
struct SharedState;

// The statement and the correction of an exercise: one shown in the working
// editor, the other kept in its buffer; the commands that open, reload,
// switch and save them.
class TextFiles {
public:
    struct Controls {
        RichTextBox &exo;
        RichTextBox &sujetampon;  // the statement while it is not shown
        RichTextBox &corectampon; // the correction while it is not shown
        QAction &textexo;         // File-menu entry: path of the statement
        QAction &textcor;         // File-menu entry: path of the correction
    };

    enum class Text { Statement, Correction, Other };

    // Where the exercise's statement and correction are read and written,
    // empty when it names none. Their File-menu entries show them.
    struct TextPaths {
        QString statement;
        QString correction;
    };

    // changesSettled is called after a command that may have saved a text
    // or given up its changes.
    TextFiles(const Controls &controls, SharedState &state, Dialogs &dialogs,
              std::function<void()> titleChanged, std::function<void()> changesSettled = {});

    void showStatement();    // az52
    void showCorrection();   // az51
    void reloadStatement();  // textexo
    void reloadCorrection(); // textcor
    void ouvre();
    // Told the file's path each time the user gives the text shown a file
    // of its own: opened, or saved under a new name.
    void whenNamed(std::function<void(const QString &)> named) { m_named = std::move(named); }
    // Shows the text of that file, its changes already settled by the caller.
    bool openText(const QString &path);
    bool resauve();
    bool sauve();
    bool sauvetout();
    // The toolbar's save: both texts when the exercise names both.
    bool saveButton();
    // Asks whether to save the text shown when it is modified, and saves on
    // Yes. False when the user wanted the text saved and it was not
    // (cancelled or failed), so that the caller keeps the text.
    bool settleUnsavedChanges();
    // The same for the text shown and then for each text waiting in its
    // buffer with changes, naming it: before the exercise's texts go.
    bool settleAllUnsavedChanges();
    bool anyUnsavedChanges() const;

    const TextPaths &textPaths() const { return m_paths; }
    // Statement or correction; its menu entry takes the path as caption.
    void setTextPath(Text text, const QString &path);

    Text shownText() const;
    bool hasUnsavedChanges(Text text) const;
    // The text's RTF and path; an "other" text exists only while shown.
    QByteArray rtfOf(Text text) const;
    QString pathOf(Text text) const;
    bool shownFromPlainText() const { return m_shownFromPlainText; }
    // Puts back the changes of a text of the open exercise, in the editor
    // when it is shown, otherwise in its buffer.
    void restoreChanges(Text text, const QByteArray &rtf);
    // Shows a text of no exercise with its changes; an exercise text shown
    // goes back to its buffer with its own.
    void restoreOtherText(const QString &path, const QByteArray &rtf, bool fromPlainText);

    // The exercise's texts were just read from their files (or found
    // missing): none has changes. unreadable lists the paths of texts whose
    // file exists but could not be read: their empty buffer never goes
    // over them.
    void textsLoaded(const QStringList &unreadable);

    bool sauvencours() const { return m_sauvencours; }

    // The text shown has no changes and its file was changed by another
    // program since it was read or written: offers to show the new content.
    void offerReloadOfChangedFile();

private:
    void show(Text target, QAction &other, RichTextBox &targetBuffer, RichTextBox &otherBuffer,
              bool copyOnlyWhenOtherVisible);
    void reload(Text target, const QString &title);
    bool loadIntoEditor(const QString &path);
    bool saveEditorTo(const QString &path, bool *writeProtected = nullptr);
    bool saveBuffer(Text text, bool *writeProtected = nullptr);
    // Notes the file as just read or written by us.
    void remember(const QString &path);
    // False when the file changed on disk since then and the user does not
    // want it written over.
    bool mayWriteOver(const QString &path);
    bool &bufferModified(Text text);
    const QString &exercisePathOf(Text text) const;
    void settled() const;
    RichTextBox &bufferOf(Text text) const;

    Controls m_controls;
    TextPaths m_paths;
    SharedState &m_state;
    Dialogs &m_dialogs;
    std::function<void()> m_titleChanged;
    std::function<void()> m_changesSettled;
    std::function<void(const QString &)> m_named;
    bool m_sauvencours = false;
    // Changes of the statement and the correction while they wait in their
    // buffers; the text shown has sauvegarde.
    bool m_statementModified = false;
    bool m_correctionModified = false;
    // The text shown came from a file that is not RTF: saving it asks for
    // an RTF name rather than rewrite that file in another format.
    bool m_shownFromPlainText = false;
    QStringList m_unreadable;
    // Each text file as last read or written, by path.
    QHash<QString, FileStamp> m_stamps;
    // A changed file whose reload was declined: not offered again until it
    // changes once more.
    QHash<QString, FileStamp> m_reloadDeclined;
    bool m_offeringReload = false;
};
