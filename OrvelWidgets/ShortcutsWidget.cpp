#include "ShortcutsWidget.h"

#include "Localization.h"
#include "MusicProvider.h"

WidgetConfiguration ShortcutsWidget::body() const
{
    return WidgetConfiguration::staticConfiguration(
        kind, MusicProvider(), QUrl(QStringLiteral("qrc:/Orvel/Widgets/ShortcutsWidgetView.qml")))
        .configurationDisplayName(localized(QStringLiteral("Your shortcuts")))
        .withDescription(localized(QStringLiteral("Tracks, albums and playlists, always within reach.")))
        .supportedFamilies({WidgetFamily::systemMedium, WidgetFamily::systemLarge});
}
