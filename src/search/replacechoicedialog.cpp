#include "search/replacechoicedialog.h"

#include "widgets/dialogfit.h"
#include "widgets/twipsrect.h"

#include <QPushButton>

namespace {

// Geometry in twips, as the dialog has always been laid out.
constexpr int clientWidthTwips = 5895;
constexpr int clientHeightTwips = 735;
constexpr int buttonTopTwips = 180;
constexpr int buttonWidthTwips = 1335;
constexpr int buttonHeightTwips = 375;
constexpr int buttonStepTwips = 1440;

} // namespace

ReplaceChoiceDialog::ReplaceChoiceDialog(QWidget *parent) : QDialog(parent) {
    dialogfit::setUpFixedDialog(*this, "Choixremp", QStringLiteral("Remplacer"), clientWidthTwips,
                                clientHeightTwips);
    const struct {
        const char *name;
        QString caption;
        Choice choice;
    } buttons[] = {
        {"Command1", QStringLiteral("&Remplacer"), Replace},
        {"Command2", QStringLiteral("&Sauter"), Skip},
        {"Command3", QStringLiteral("&Annuler"), Cancel},
        {"Command4", QStringLiteral("Remplacer &tout"), ReplaceAll},
    };
    QList<QWidget *> row;
    for (const auto &button : buttons) {
        auto *push = new QPushButton(button.caption, this);
        push->setObjectName(QLatin1String(button.name));
        push->setGeometry(rectFromTwips(120 + int(row.size()) * buttonStepTwips, buttonTopTwips,
                                        buttonWidthTwips, buttonHeightTwips));
        push->setAutoDefault(false);
        const Choice choice = button.choice;
        connect(push, &QPushButton::clicked, this, [this, choice] {
            m_choice = choice;
            accept();
        });
        row << push;
    }
    static_cast<QPushButton *>(row.first())->setDefault(true);
    row.first()->setFocus();
    QList<dialogfit::CaptionFit> fits;
    for (int i = 0; i < row.size(); ++i)
        fits.append({{row.at(i)}, {row.at(i)}, row.mid(i + 1)});
    dialogfit::fitCaptions(*this, fits);
}

void ReplaceChoiceDialog::reject() {
    m_choice = Skip;
    QDialog::reject();
}
