#include "editor/insertobjectdialog.h"

#include "base/dialogs.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

InsertObjectDialog::InsertObjectDialog(Dialogs &dialogs, bool embedded, QWidget *parent)
    : QDialog(parent), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("insertObjectDialog"));
    setWindowTitle(QStringLiteral("Insérer un objet"));
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(QStringLiteral("Créer l'objet à partir du &fichier :"));
    layout->addWidget(label);
    auto *row = new QHBoxLayout;
    m_fileName = new QLineEdit;
    m_fileName->setObjectName(QStringLiteral("fileName"));
    m_fileName->setMinimumWidth(320);
    label->setBuddy(m_fileName);
    row->addWidget(m_fileName, 1);
    auto *browseButton = new QPushButton(QStringLiteral("&Parcourir..."));
    browseButton->setObjectName(QStringLiteral("browse"));
    browseButton->setAutoDefault(false);
    row->addWidget(browseButton);
    layout->addLayout(row);
    auto *result = new QLabel(
        embedded ? QStringLiteral("Le fichier est incorporé au texte.\n"
                                  "Un double clic sur l'objet l'ouvre dans son application.")
                 : QStringLiteral("Le texte reçoit une image du fichier : l'image elle-même\n"
                                  "pour un fichier image, son icône pour tout autre fichier."));
    result->setObjectName(QStringLiteral("result"));
    layout->addWidget(result);
    auto *buttons = new QDialogButtonBox;
    m_ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    QPushButton *cancel =
        buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    layout->addWidget(buttons);

    connect(browseButton, &QPushButton::clicked, this, &InsertObjectDialog::browse);
    connect(m_fileName, &QLineEdit::textChanged, this, &InsertObjectDialog::updateOk);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateOk();
}

QString InsertObjectDialog::fileName() const {
    return m_fileName->text().trimmed();
}

void InsertObjectDialog::browse() {
    const auto chosen =
        m_dialogs.openFileName({QStringLiteral("Parcourir"), QStringLiteral("Tous|*"), fileName()});
    if (chosen) m_fileName->setText(*chosen);
}

void InsertObjectDialog::updateOk() {
    m_ok->setEnabled(QFileInfo(fileName()).isFile());
}
