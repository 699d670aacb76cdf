#pragma once

#include "document/formulalook.h"

#include <QObject>
#include <array>
#include <optional>

class Dialogs;
class QAction;
class QCheckBox;
class QLabel;
class QRadioButton;
class QToolBar;
class RichTextBox;
struct SharedState;

// The normal, index and exponent character modes, their two stored offsets,
// the small-size mode and the batch alignment of exponents or indices.
class IndexExponentTools : public QObject {
    Q_OBJECT
public:
    static constexpr int minOffsetValue = 1;
    static constexpr int maxOffsetValue = 20;
    static constexpr int smallSizePt = 8;

    IndexExponentTools(RichTextBox &exo, SharedState &state, Dialogs &dialogs, QWidget *window);

    void addTo(QToolBar *toolBar);
    // The entry whose mark makes new indices and exponents small.
    void useSmallSizeEntry(QAction *check2);

    void Option2_Click(int index);
    void Check3_Click(int index);
    void decaexp_Click();
    void decaind_Click();
    void toutexpo_Click();
    void toutindi_Click();
    void check2_Click();

    int udexp() const { return m_udexp; }
    int udind() const { return m_udind; }
    void setUdexp(int value); // runs its change handling
    void setUdind(int value);
    bool taillesauvee() const { return m_taillesauvee; }
    // How indices and exponents are made now, for what formats them apart
    // from typing.
    formulas::LevelLook levelLook() const;
    // The mode of the selection's offset, for the selection refresh: nothing
    // (a mixed selection) leaves the options and clears both boxes.
    void showOffset(std::optional<int> offsetTwips);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void offsetValueChanged();
    void askOffset(bool exponents);
    void alignAll(bool exponents);
    void select(int option); // selects Option2(option) and runs its handler

    RichTextBox &m_exo;
    SharedState &m_state;
    Dialogs &m_dialogs;
    QWidget *m_window;
    int m_udexp = 8; // exponent offset, twentieths of the size
    int m_udind = 5; // index offset, twentieths of the size
    bool m_taillesauvee = false;
    std::array<QRadioButton *, 3> m_option2{};
    std::array<QCheckBox *, 2> m_check3{};
    QAction *m_check2 = nullptr;
    QLabel *m_decexp = nullptr;
    QLabel *m_decind = nullptr;
};
