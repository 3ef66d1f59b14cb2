#include "NowPlayingWidget.h"

#include "Localization.h"
#include "MusicProvider.h"

WidgetConfiguration NowPlayingWidget::body() const
{
    return WidgetConfiguration::staticConfiguration(
        kind, MusicProvider(), QUrl(QStringLiteral("qrc:/Orvel/Widgets/NowPlayingWidgetView.qml")))
        .configurationDisplayName(localized(QStringLiteral("Now playing")))
        .withDescription(localized(QStringLiteral("Your current Spotify track and playback controls.")))
        .supportedFamilies({WidgetFamily::systemSmall, WidgetFamily::systemMedium});
}
