#include "search/searchlayout.h"

#include "widgets/twipsrect.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace searchlayout {
namespace {

constexpr int leftTwips = 120;
constexpr int frameWidthTwips = 3615;
constexpr int insideWidthTwips = 3375;
constexpr int buttonHeightTwips = 375;

} // namespace

QLineEdit *addFramedField(QDialog &dialog, const char *frameName, const QString &caption,
                          const char *fieldName, int topTwips) {
    auto *frame = new QGroupBox(caption, &dialog);
    frame->setObjectName(QLatin1String(frameName));
    frame->setGeometry(rectFromTwips(leftTwips, topTwips, frameWidthTwips, 780));
    auto *field = new QLineEdit(frame);
    field->setObjectName(QLatin1String(fieldName));
    field->setGeometry(rectFromTwips(leftTwips, 330, insideWidthTwips, 315));
    return field;
}

QGroupBox *addOptionsFrame(QDialog &dialog, int topTwips) {
    auto *frame = new QGroupBox(QStringLiteral("Options"), &dialog);
    frame->setObjectName(QStringLiteral("Frame2"));
    frame->setGeometry(rectFromTwips(leftTwips, topTwips, frameWidthTwips, 1080));
    return frame;
}

QCheckBox *addOption(QGroupBox &frame, const char *name, const QString &caption, int topTwips) {
    auto *box = new QCheckBox(caption, &frame);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(rectFromTwips(leftTwips, topTwips, insideWidthTwips, 285));
    return box;
}

QPushButton *addButton(QDialog &dialog, const char *name, const QString &caption, int leftTwips,
                       int topTwips, int widthTwips) {
    auto *button = new QPushButton(caption, &dialog);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(rectFromTwips(leftTwips, topTwips, widthTwips, buttonHeightTwips));
    return button;
}

} // namespace searchlayout
