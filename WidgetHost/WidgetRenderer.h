#pragma once

#include "WidgetEnvironment.h"
#include "WidgetKit.h"

#include <QImage>
#include <memory>

class QQmlEngine;

// Makes widget views: a view of a configuration for an entry inside its
// container, and pictures of them.
struct WidgetRenderer {
    // Makes the widget modules known to an engine; once per engine, before any view.
    static void registerModules(QQmlEngine &engine);

    // The container holding the configuration's view of the entry; null when the
    // view does not load, with the reason in `error`.
    static std::unique_ptr<WidgetContainer> create(QQmlEngine &engine,
        const WidgetConfiguration &configuration, const WidgetEntry &entry,
        const WidgetContainer::Environment &environment, WidgetActions *actions, Scheduler *scheduler,
        QString *error = nullptr);
    // Hands a new entry to a view made by create().
    static void update(WidgetContainer &container, const WidgetEntry &entry);

    // The widget as a picture of its family's size (times the screen's scale),
    // as its window shows it: clear outside its rounded outline; a null image
    // when the view does not load. Needs the
    // software scene graph, chosen before the program's first window.
    static QImage render(QQmlEngine &engine, const WidgetConfiguration &configuration,
        const WidgetEntry &entry, const WidgetContainer::Environment &environment, QString *error = nullptr);
};
