#pragma once

#include <functional>

class QWidget;

// Runs action when widget (a label or a picture, which have no click signal
// of their own) gets a left click: the button released over it.
void onLeftClick(QWidget *widget, std::function<void()> action);
