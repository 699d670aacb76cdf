#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP (a logout, a kill, Ctrl+C in a terminal) come
// back through the event loop as received(): the handler only writes the
// signal's number into a pipe, since almost nothing else is safe inside it.
// One object at a time; the default handling comes back when it goes.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
};
