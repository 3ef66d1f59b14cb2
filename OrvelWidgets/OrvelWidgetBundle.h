#pragma once

#include "WidgetKit.h"

#include <QObject>

// The plug-in's root: the two widgets, Now playing first.
class OrvelWidgetBundle : public QObject, public WidgetBundle {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID OrvelWidgetBundle_iid)
    Q_INTERFACES(WidgetBundle)

public:
    using QObject::QObject;
    QList<WidgetConfiguration> body() const override;
};
