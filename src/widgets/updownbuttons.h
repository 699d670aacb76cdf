#pragma once

#include <QSpinBox>

// A pair of up and down arrows stepping a value that another box shows.
class UpDownButtons : public QSpinBox {
    Q_OBJECT
public:
    explicit UpDownButtons(QWidget *parent = nullptr);
};
