#include "widgets/updownbuttons.h"

#include <QLineEdit>

UpDownButtons::UpDownButtons(QWidget *parent) : QSpinBox(parent) {
    lineEdit()->hide();
    setFixedWidth(18);
}
