#include "print/exportpdfdialog.h"

#include "widgets/designernames.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ExportPdfDialog::ExportPdfDialog(bool exerciseOpen, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ExportPdf"));
    setWindowTitle(QStringLiteral("Exporter en PDF"));
    auto *column = new QVBoxLayout(this);

    auto *what = new QGroupBox(QStringLiteral("Contenu"), this);
    auto *whatColumn = new QVBoxLayout(what);
    const std::array<const char *, 3> whatCaptions = {"Énoncé", "Corrigé", "Énoncé et corrigé"};
    for (int i = 0; i < 3; ++i) {
        m_quoi[i] = new QRadioButton(QString::fromUtf8(whatCaptions.at(i)), what);
        m_quoi[i]->setObjectName(indexedName("quoi", i));
        whatColumn->addWidget(m_quoi[i]);
    }
    m_quoi[0]->setChecked(true);
    // Without an exercise, the text shown is all there is.
    what->setEnabled(exerciseOpen);
    column->addWidget(what);

    auto *whom = new QGroupBox(QStringLiteral("Pour"), this);
    auto *whomColumn = new QVBoxLayout(whom);
    const std::array<const char *, 2> whomCaptions = {"Version élève", "Version professeur"};
    for (int i = 0; i < 2; ++i) {
        m_pourqui[i] = new QRadioButton(QString::fromUtf8(whomCaptions.at(i)), whom);
        m_pourqui[i]->setObjectName(indexedName("pourqui", i));
        whomColumn->addWidget(m_pourqui[i]);
    }
    m_pourqui[0]->setChecked(true);
    column->addWidget(whom);

    m_entete = new QCheckBox(QStringLiteral("En-tête (titre de l'exercice et simulateur)"), this);
    m_entete->setObjectName(QStringLiteral("entete"));
    m_entete->setChecked(true);
    m_pied = new QCheckBox(QStringLiteral("Pied de page (numéro de page)"), this);
    m_pied->setObjectName(QStringLiteral("pied"));
    m_pied->setChecked(true);
    column->addWidget(m_entete);
    column->addWidget(m_pied);

    auto *buttons = new QHBoxLayout;
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OK"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("Annuler"));
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    column->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

ExportPdfDialog::Choice ExportPdfDialog::choice() const {
    Choice choice;
    choice.what = m_quoi[2]->isChecked()   ? What::Both
                  : m_quoi[1]->isChecked() ? What::Correction
                                           : What::Statement;
    choice.forPupils = m_pourqui[0]->isChecked();
    choice.header = m_entete->isChecked();
    choice.footer = m_pied->isChecked();
    return choice;
}
