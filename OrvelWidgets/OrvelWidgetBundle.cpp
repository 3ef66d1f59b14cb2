#include "OrvelWidgetBundle.h"

#include "NowPlayingWidget.h"
#include "ShortcutsWidget.h"

QList<WidgetConfiguration> OrvelWidgetBundle::body() const
{
    return {NowPlayingWidget().body(), ShortcutsWidget().body()};
}
