#pragma once

class QQmlEngine;

// Makes the app's QML modules, Orvel and Orvel.Shared, known to an engine.
// The app calls it once for its one engine; tests and the gallery for theirs.
void registerOrvelModules(QQmlEngine &engine);
