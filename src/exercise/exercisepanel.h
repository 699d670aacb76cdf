#pragma once

#include "exercisefile/recapfile.h"

#include <QFrame>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QSpinBox;

// The frame in which the teacher assembles an exercise: its files, title,
// difficulty, hourglasses and description. It owns its controls only; what
// the buttons do belongs to the exercise commands.
class ExercisePanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int titleMaxChars = 120;
    static constexpr int descriptionMaxChars = 480;

    explicit ExercisePanel(QWidget *parent = nullptr);

    QLabel *ficex(int i) const { return m_ficex.at(i); }
    QPushButton *commandZ10(int i) const { return m_choose.at(i); }
    QPushButton *commandZ14(int i) const { return m_forget.at(i); } // 1 to 3
    QLineEdit *titrexo() const { return m_title; }
    QComboBox *comboZ1() const { return m_difficulty; }
    QSpinBox *upDown2() const { return m_hourglasses; }
    QLabel *label3() const { return m_hourglassCount; }
    QPlainTextEdit *textZ1() const { return m_description; }
    QScrollBar *hScroll1() const { return m_scroll; }
    QLineEdit *text1() const { return m_path; }
    QPushButton *command20() const { return m_save; }
    QPushButton *command19() const { return m_close; }

    recap::Fields fields() const;
    void setFields(const recap::Fields &fields);
    // The description as the recap file holds it, line ends as CR LF.
    void setDescription(const QString &fileText);
    // The recap file's path: shown in the path box and its tooltip.
    void setExercisePath(const QString &path);

private:
    void keepDescriptionWithinLimit();

    std::array<QLabel *, 4> m_ficex{};
    std::array<QPushButton *, 4> m_choose{};
    std::array<QPushButton *, 4> m_forget{}; // no forgetting the statement
    QLineEdit *m_title;
    QComboBox *m_difficulty;
    QSpinBox *m_hourglasses;
    QLabel *m_hourglassCount;
    QPlainTextEdit *m_description;
    QScrollBar *m_scroll;
    QLineEdit *m_path;
    QPushButton *m_save;
    QPushButton *m_close;
};
