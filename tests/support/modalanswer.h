#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

// Acts on the modal dialog a real dialog call puts up, from inside its own
// event loop: act runs at each tick while a modal dialog is shown, until it
// returns true.
inline void whileModal(std::function<bool(QWidget &)> act) {
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() && act(*modal)) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}
