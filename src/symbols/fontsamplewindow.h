#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

class QComboBox;
class QLabel;
class RichTextBox;
struct SharedState;

// The characters 40 to 255 of one font, a click on one inserting it at the
// caret of the working editor, formatted like the text there but in that
// font. It stays open while the user inserts several characters; the font
// chosen is kept in the shared state for the next opening.
class FontSampleWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int cellCount = 216;
    static constexpr int firstCode = 40;

    // toolbarFont gives the font the toolbar shows, in which typing goes on
    // after an insertion.
    FontSampleWindow(RichTextBox &exo, SharedState &state, std::function<QString()> toolbarFont,
                     QWidget *parent = nullptr);

    void Combo1_Click();
    // Inserts the character of cell index at the editor's caret.
    void Label1_Click(int index);

signals:
    // A character went into the editor: the tools may follow its caret.
    void characterInserted();

protected:
    // Closing by whatever means keeps the cells' font.
    void done(int result) override;

private:
    void buildCells();
    void showFont(const QString &family);
    QString chosenFontName() const;

    RichTextBox &m_exo;
    SharedState &m_state;
    std::function<QString()> m_toolbarFont;
    QComboBox *m_combo1 = nullptr;
    // The character is formatted here before it goes into the editor; it
    // keeps the last formatting while the window is open.
    RichTextBox *m_tampontext = nullptr;
    std::array<QLabel *, cellCount> m_label1{};
};

// The character that code stands for in a font: Symbol's own table for the
// Symbol font, Windows-1252 for any other.
QChar sampleCharacter(unsigned char code, const QString &family);

// Family names as the user knows them, without the foundry Qt appends when
// two foundries make one family ("Nimbus Sans [urw]"), each once, in the
// order given.
QStringList plainFamilyNames(const QStringList &families);
