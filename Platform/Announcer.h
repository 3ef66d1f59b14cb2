#pragma once

#include <QString>
#include <QStringList>
#include <memory>

// Speaks a short text to screen-reader users, with high priority.
class Announcer {
public:
    virtual ~Announcer();

    virtual void announce(const QString &text) = 0;
};

// Writes the text to the accessibility log category and, while a screen
// reader has Qt's AT-SPI bridge up, shows it on the accessibility bus as a
// notification whose name is the text: Qt 6.4 sends no announcement and drops
// its Alert event on Linux, and a notification coming into view is what Orca
// speaks from any application, focused or not.
class ScreenReaderAnnouncer final : public Announcer {
public:
    // The connection Qt's bridge makes to the accessibility bus.
    static inline const QString accessibilityConnection = QStringLiteral("a11y");
    // Each announcement is an object below this path, kept for a few more
    // announcements so a screen reader reading it late still finds its text.
    static inline const QString announcementsPath = QStringLiteral("/com/velbrandtoro/Orvel/announcements");
    static constexpr int keptAnnouncements = 8;

    ScreenReaderAnnouncer();
    ~ScreenReaderAnnouncer() override;
    ScreenReaderAnnouncer(const ScreenReaderAnnouncer &) = delete;
    ScreenReaderAnnouncer &operator=(const ScreenReaderAnnouncer &) = delete;

    void announce(const QString &text) override;

private:
    class Notifications;
    std::unique_ptr<Notifications> m_notifications;
};
