#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QList>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <memory>
#include <optional>

class QDBusAbstractAdaptor;

// Qt's tray item on the bus forgets where a host's click landed and always
// tells the host to send clicks rather than open the item's menu. This takes
// the item's place on Qt's own connection: it answers a click with its place
// and says whether the host opens the menu itself; everything else it passes
// to Qt's item, which keeps its menu, icon and tool tip.
class StatusNotifierRelay final : public QDBusVirtualObject {
    Q_OBJECT
public:
    // Takes over this process's item once its tray icon is shown; nothing
    // where Qt shows none on the bus (the older X11 tray, or no tray).
    static std::unique_ptr<StatusNotifierRelay> takeOver(bool itemIsMenu);
    ~StatusNotifierRelay() override;

    // Under a Wayland compositor the X server sees the pointer only over X
    // windows, never over the host's panel, and a host's coordinates may be
    // its own: there the host shows the menu.
    static bool hostShowsMenu();

    // One display: its place in Qt's coordinates and its pixels per point.
    struct Display {
        QRect geometry;
        double pixelRatio = 1;
    };
    // A host's point in the X screen's pixels, in Qt's coordinates; nothing
    // when it lies on no display. Qt keeps each display's corner and scales
    // what lies within.
    static std::optional<QPoint> fromPixels(QPoint pixels, const QList<Display> &displays);

    QString introspect(const QString &path) const override;
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

signals:
    // A plain click, at the host's point (in Qt's coordinates), or at the
    // pointer where the host's point lies on no display.
    void activated(QPoint at);

private slots:
    void relaySignal();
    void relayStatus(const QString &status);

private:
    StatusNotifierRelay(
        QDBusConnection connection, QObject *item, QDBusAbstractAdaptor *adaptor, bool itemIsMenu);
    QVariant property(const QString &name) const;
    bool forward(const QDBusMessage &message, const QDBusConnection &connection);
    void emitSignal(const QString &name, const QVariantList &arguments);

    QDBusConnection m_connection;
    QPointer<QObject> m_item;
    QPointer<QDBusAbstractAdaptor> m_adaptor;
    bool m_itemIsMenu = false;
};
