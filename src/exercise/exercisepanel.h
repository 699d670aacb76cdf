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

    recap::Fields fields() const;
    void setFields(const recap::Fields &fields);
    // The description as the recap file holds it, line ends as CR LF.
    void setDescription(const QString &fileText);
    // Shows the fields a recap file holds; a value a field cannot take
    // leaves that field as it was.
    void showRecapFile(const QByteArray &file);
    // No files, title or description, the first difficulty, one hourglass.
    void clear();
    void setDifficulties(const QStringList &names);
    void setFileName(int i, const QString &name);
    // The recap file's path: shown in the path box and its tooltip.
    QString exercisePath() const;
    void setExercisePath(const QString &path);

signals:
    void exercisePathChanged();
    void saveRequested();          // Command20
    void closeRequested();         // Command19
    void fileRequested(int index); // CommandZ10(index)

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
