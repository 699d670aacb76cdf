#pragma once

#include <QObject>
#include <QRgb>
#include <QStringList>
#include <array>

class Dialogs;
class QAction;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QToolBar;
class QToolButton;
class RichTextBox;
struct SharedState;

// The tools that set the characters' attributes: bold, italic, underline,
// font, size and writing colour.
class CharacterTools : public QObject {
    Q_OBJECT
public:
    static constexpr std::array<QRgb, 4> writingColours = {qRgb(0, 0, 200), qRgb(0, 0, 0),
                                                           qRgb(200, 0, 0), qRgb(0, 150, 10)};

    CharacterTools(RichTextBox &exo, SharedState &state, Dialogs &dialogs, QWidget *window);

    // Builds the tools into the tool strip and the Format menu.
    void addTo(QToolBar *toolBar);
    // The Format entries q21 to q23, whose marks follow the three boxes.
    void useStyleEntries(const std::array<QAction *, 3> &q2);

    void Check1_Click(int index);
    void q2_Click(int item); // 21, 22, 23: q21 to q23 toggle Check1(1..3)
    void Combo1_Click();
    void UpDown1_Change();
    void optcoul_Click(int index);
    void cotext_Click(); // and Command12
    void Command15_Click();

    // A family as the font list shows it and files name it: without the
    // foundry that the font database adds to tell apart families of the
    // same name ("C059 [urw]" is "C059").
    static QString familyName(const QString &listedFamily);
    // The font list's families, once each without their foundry, the shown
    // one selected.
    void setFontList(const QStringList &families, const QString &shown);
    // The font the list shows: typing goes on in it after a symbol.
    QString shownFontName() const;
    // Writes the arrows' size into the size box, at start-up; returns it, pt.
    int showArrowsSizePt();
    // What the selection has, for the selection refresh; nothing means a
    // mixed selection.
    void showFontName(const std::optional<QString> &name);
    void showStyles(std::optional<bool> bold, std::optional<bool> italic,
                    std::optional<bool> underline);
    // Clears the four colour options, selects the one of that colour and
    // writes the "Couleur" label in it.
    void showColour(std::optional<QRgb> colour);
    void showSize(std::optional<double> sizePt);

private:
    void giveFocusBack();
    void fontNameTyped();

    // True while the refresh writes the blank item into the font list: the
    // list's handler does nothing then.
    bool majpolice = false;

    RichTextBox &m_exo;
    SharedState &m_state;
    Dialogs &m_dialogs;
    QWidget *m_window;
    QComboBox *m_combo1 = nullptr;
    QLineEdit *m_taille = nullptr;
    QSpinBox *m_upDown1 = nullptr;
    std::array<QToolButton *, 3> m_check1{};
    std::array<QAction *, 3> m_q2{};
    std::array<QRadioButton *, 4> m_optcoul{};
    QButtonGroup *m_colours = nullptr;
    QLabel *m_cotext = nullptr;
};
