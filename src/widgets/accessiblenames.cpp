#include "widgets/accessiblenames.h"

#include <QAbstractButton>
#include <QLabel>
#include <QSet>
#include <QTextDocumentFragment>
#include <QWidget>

void nameControlsByTheirTips(QWidget &root) {
    QSet<const QWidget *> labelled;
    for (const QLabel *label : root.findChildren<QLabel *>())
        if (label->buddy() && !label->text().isEmpty()) labelled.insert(label->buddy());
    for (QWidget *widget : root.findChildren<QWidget *>()) {
        if (!widget->accessibleName().isEmpty() || labelled.contains(widget)) continue;
        // A caption of a letter or a sign ("G", "+") says nothing read aloud.
        if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) {
            QString caption = button->text();
            caption.remove(QLatin1Char('&'));
            if (caption.trimmed().size() >= 3) continue;
        }
        QString tip = widget->toolTip();
        if (Qt::mightBeRichText(tip)) tip = QTextDocumentFragment::fromHtml(tip).toPlainText();
        tip = tip.simplified();
        if (!tip.isEmpty()) widget->setAccessibleName(tip);
    }
}
