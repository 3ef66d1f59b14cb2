#pragma once

class QQmlEngine;

// Makes the Orvel.Shared QML module, its C++ types and its views
// (qrc:/Orvel/Shared/Design/<View>.qml), known to an engine. Call it once per engine
// before loading anything that imports Orvel.Shared.
void registerOrvelShared(QQmlEngine &engine);
