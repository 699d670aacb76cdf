#pragma once

#include <QObject>
#include <array>

class QAction;
class QToolBar;
class QToolButton;
class RichTextBox;
struct SharedState;

// Paragraph alignment and bullets, from the tool strip and the Format menu.
class ParagraphTools : public QObject {
    Q_OBJECT
public:
    ParagraphTools(RichTextBox &exo, SharedState &state, QWidget *window);

    void addTo(QToolBar *toolBar);
    // The Format entries whose marks follow the bullet and alignment buttons.
    void useMenuEntries(QAction *bull2, const std::array<QAction *, 3> &q2);

    void Option3_Click(int index);
    void bull_Click();
    void q2_Click(int item); // 24, 25, 26: q24 to q26 select Option3(0..2)
    void bull2_Click();

    // Shows an alignment code (0 left, 1 right, 2 centre) on the buttons
    // and the menu, for the selection refresh.
    void showAlignment(int code);
    void showBullet(bool on);

private:
    RichTextBox &m_exo;
    SharedState &m_state;
    std::array<QToolButton *, 3> m_option3{};
    QToolButton *m_bull = nullptr;
    std::array<QAction *, 3> m_q2{}; // q24 left, q25 centre, q26 right
    QAction *m_bull2 = nullptr;
};
