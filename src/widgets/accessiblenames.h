#pragma once

class QWidget;

// Gives each control below `root` that a screen reader would announce
// without a word (an icon button, a lettered box, a box without a label)
// the name its tool tip shows. Controls named already, by their caption
// or by a label that leads to them, stay as they are.
void nameControlsByTheirTips(QWidget &root);
