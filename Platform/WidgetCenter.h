#pragma once

#include <QDBusConnection>
#include <QString>
#include <QStringList>

// Asks the widget host to rebuild the timelines of the desktop widgets.
class WidgetCenter {
public:
    virtual ~WidgetCenter();

    virtual void reloadTimelines(const QString &kind) = 0;
    virtual void reloadAllTimelines() = 0;
};

// Sends the reloads as the signal ReloadTimelines(s kind) of interface
// com.velbrandtoro.Orvel.WidgetCenter on /com/velbrandtoro/Orvel; an empty
// kind stands for all kinds. Nobody listening is no error.
class DBusWidgetCenter final : public WidgetCenter {
public:
    static constexpr QLatin1String objectPath{"/com/velbrandtoro/Orvel"};
    static constexpr QLatin1String interface {
        "com.velbrandtoro.Orvel.WidgetCenter"
    };
    static constexpr QLatin1String signalName{"ReloadTimelines"};

    explicit DBusWidgetCenter(QDBusConnection bus = QDBusConnection::sessionBus())
        : m_bus(std::move(bus))
    {
    }

    void reloadTimelines(const QString &kind) override;
    void reloadAllTimelines() override;

private:
    QDBusConnection m_bus;
};
