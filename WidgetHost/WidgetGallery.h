#pragma once

#include "WidgetEnvironment.h"
#include "WidgetKit.h"

#include <QObject>
#include <QQuickView>
#include <memory>
#include <vector>

class WidgetHost;

// "Orvel Widgets": every kind of widget in every family it comes in, drawn
// live from the current files (as the placeholder while the app has written
// none), with its name and description. A click places that widget on the
// screen the gallery is on.
class WidgetGallery : public QObject {
    Q_OBJECT

public:
    struct Item {
        const WidgetConfiguration *configuration;
        WidgetFamily family;
    };

    explicit WidgetGallery(WidgetHost &host);
    ~WidgetGallery() override;

    // Draws the widgets afresh and brings the window up; raises it when it is up already.
    void show();
    // While it is up, draws the previews of the kind, or of every kind for "",
    // from the current files, as the placed widgets redraw on a reload.
    void reload(const QString &kind);
    QQuickView *window() const { return m_window.get(); }
    const std::vector<Item> &items() const { return m_items; }
    // The preview of an item, inside the window.
    QQuickItem *preview(int index) const;

signals:
    void closed();

private slots:
    void choose(int index);

private:
    void build();
    // A snapshot while the app has written anything, the placeholder before.
    static WidgetEntry entry(const Item &item, bool written);

    WidgetHost &m_host;
    std::vector<Item> m_items;
    std::unique_ptr<QQuickView> m_window;
    std::vector<std::unique_ptr<WidgetContainer>> m_previews;
};
