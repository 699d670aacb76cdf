#pragma once

#include <QTabWidget>
#include <functional>

class EditCommands;
class QLabel;
class RichTextBox;
struct SharedState;

// The tab control SSTab1: three palettes, "Grec", "Math I" and "Math II", of
// buttons that put one character at the caret of the working editor in the
// font the button shows, and the button des01 that puts a picture of the
// chemical equilibrium sign there.
class SymbolPalettes : public QTabWidget {
    Q_OBJECT
public:
    // fontSizeSpinnerPt gives the value of the size spinner UpDown1: the
    // equilibrium sign is that many pixels high.
    SymbolPalettes(RichTextBox &exo, SharedState &state, EditCommands &edit,
                   std::function<int()> fontSizeSpinnerPt, QWidget *parent = nullptr);

    void Command1_Click(int index);
    void des01_Click();

private:
    QWidget *buildBox(int palette);

    RichTextBox &m_exo;
    SharedState &m_state;
    EditCommands &m_edit;
    std::function<int()> m_fontSizeSpinnerPt;
    QLabel *m_prepades = nullptr;
};
