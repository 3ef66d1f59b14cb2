#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the main thread, so
// that a logout, Ctrl+C or a closed terminal ends the app the same way as its
// Quit item. A SIGHUP or SIGINT that was ignored when the process started
// (nohup, a script's background job) stays ignored; teardown puts back what
// each signal had. One at a time.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    bool isInstalled() const { return m_notifier != nullptr; }

signals:
    void received(int signalNumber);

private:
    void drain();

    QSocketNotifier *m_notifier = nullptr;
};
