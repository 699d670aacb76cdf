#include "widgets/leftclick.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace {

class LeftClickFilter : public QObject {
public:
    LeftClickFilter(std::function<void()> action, QObject *parent)
        : QObject(parent), m_action(std::move(action)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::MouseButtonRelease) return false;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const auto *widget = qobject_cast<QWidget *>(watched);
        if (mouse->button() != Qt::LeftButton || !widget ||
            !widget->rect().contains(mouse->position().toPoint()))
            return false;
        m_action();
        return true;
    }

private:
    std::function<void()> m_action;
};

} // namespace

void onLeftClick(QWidget *widget, std::function<void()> action) {
    widget->installEventFilter(new LeftClickFilter(std::move(action), widget));
}
