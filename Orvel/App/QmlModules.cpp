#include "QmlModules.h"

#include "OrvelSharedModule.h"

#include <QQmlEngine>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(OrvelPlugin)

void registerOrvelModules(QQmlEngine &engine)
{
    registerOrvelShared(engine);
}
