#pragma once

#include <QJSEngine>
#include <QQmlEngine>
#include <QVariant>

// The app's owners (coordinator, preferences, dashboard state, …) reach QML as
// singletons of the engine that shows them: whoever builds the object graph —
// the app's composition root, a test, the gallery — hands each engine its
// instances before loading a view. An owner's QML_SINGLETON create() looks its
// instance up here, so views never see a process-wide global.
namespace QmlOwners {

template<class Owner>
void provide(QQmlEngine &engine, Owner &owner)
{
    engine.setProperty(
        Owner::staticMetaObject.className(), QVariant::fromValue(static_cast<QObject *>(&owner)));
}

// Null when the engine was given none: QML then reports the missing singleton.
template<class Owner>
Owner *lookup(QQmlEngine *engine)
{
    if (!engine)
        return nullptr;
    auto *owner = qobject_cast<Owner *>(
        qvariant_cast<QObject *>(engine->property(Owner::staticMetaObject.className())));
    if (owner)
        QJSEngine::setObjectOwnership(owner, QJSEngine::CppOwnership);
    return owner;
}

} // namespace QmlOwners
