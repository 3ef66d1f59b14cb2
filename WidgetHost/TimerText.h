#pragma once

#include "Date.h"
#include "Scheduler.h"

#include <QObject>
#include <QQmlParserStatus>
#include <QtQml/qqmlregistration.h>

// The text of a running timer between two moments, as the desktop draws it for
// a widget: the time since `start` (or left until `end` when counting down),
// held within the interval, with hours once there are any. It ticks every
// second on the widget's scheduler while the interval runs.
class TimerText : public QObject, public QQmlParserStatus {
    Q_OBJECT
    QML_ELEMENT
    Q_INTERFACES(QQmlParserStatus)
    // Seconds since 2001-01-01 UTC, as entries store their dates.
    Q_PROPERTY(double start READ start WRITE setStart NOTIFY intervalChanged)
    Q_PROPERTY(double end READ end WRITE setEnd NOTIFY intervalChanged)
    Q_PROPERTY(bool countsDown READ countsDown WRITE setCountsDown NOTIFY intervalChanged)
    Q_PROPERTY(bool showsHours READ showsHours WRITE setShowsHours NOTIFY intervalChanged)
    Q_PROPERTY(QString text READ text NOTIFY textChanged)

public:
    explicit TimerText(QObject *parent = nullptr);
    ~TimerText() override;

    // The seconds shown at `now`.
    static double value(Date start, Date end, Date now, bool countsDown);
    // "m:ss", or "h:mm:ss" from an hour up when hours are shown (else minutes grow).
    static QString format(double seconds, bool showsHours);

    double start() const { return m_start.secondsSinceReferenceDate; }
    void setStart(double seconds);
    double end() const { return m_end.secondsSinceReferenceDate; }
    void setEnd(double seconds);
    bool countsDown() const { return m_countsDown; }
    void setCountsDown(bool countsDown);
    bool showsHours() const { return m_showsHours; }
    void setShowsHours(bool showsHours);
    QString text() const { return m_text; }

    void classBegin() override { }
    void componentComplete() override;

signals:
    void intervalChanged();
    void textChanged();

private:
    void restart();
    // Updates the text; the seconds until it changes next, or nothing once it stands still.
    std::optional<double> refresh();

    Date m_start;
    Date m_end;
    bool m_countsDown = false;
    bool m_showsHours = true;
    bool m_complete = false;
    QString m_text;
    TaskHandle m_ticking;
};
