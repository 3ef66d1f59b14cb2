#include "OrvelSharedModule.h"

#include <QQmlEngine>
#include <QtQml/qqmlextensionplugin.h>

// The module's static plug-in registers its types when the engine imports it.
Q_IMPORT_QML_PLUGIN(Orvel_SharedPlugin)

void registerOrvelShared(QQmlEngine &engine)
{
    // Static modules keep their qmldir in the resources, under their URI's path.
    engine.addImportPath(QStringLiteral("qrc:/"));
}
