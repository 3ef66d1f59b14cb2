#pragma once

#include <QString>
#include <QStringList>

// Speaks a short text to screen-reader users, with high priority.
class Announcer {
public:
    virtual ~Announcer();

    virtual void announce(const QString &text) = 0;
};

// Qt 6.4 has no announcement event for AT-SPI, so the text goes to the
// accessibility log category, where it can be followed.
class LogAnnouncer final : public Announcer {
public:
    void announce(const QString &text) override;
};
