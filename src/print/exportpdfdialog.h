#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QRadioButton;

// What goes into the PDF handed out, and for whom.
class ExportPdfDialog : public QDialog {
    Q_OBJECT
public:
    enum class What { Statement, Correction, Both };
    struct Choice {
        What what = What::Statement;
        bool forPupils = true;
        bool header = true;
        bool footer = true;
    };

    // Without an exercise only the shown text can go: the choice of texts
    // is not offered.
    ExportPdfDialog(bool exerciseOpen, QWidget *parent = nullptr);

    Choice choice() const;

private:
    std::array<QRadioButton *, 3> m_quoi{};
    std::array<QRadioButton *, 2> m_pourqui{};
    QCheckBox *m_entete = nullptr;
    QCheckBox *m_pied = nullptr;
};
