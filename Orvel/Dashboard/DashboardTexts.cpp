#include "DashboardTexts.h"

#include "Bundle.h"
#include "Localization.h"

#include <QUrlQuery>

namespace {
const QString defaultMail = QStringLiteral("support@velbrandtoro.com");
const QString defaultPage = QStringLiteral("https://velbrandtoro.com/orvel");
} // namespace

DashboardTexts::DashboardTexts(QObject *parent)
    : QObject(parent)
{
}

QString DashboardTexts::connectionCaption(PlayerAvailability availability)
{
    return availability == PlayerAvailability::ready ? localized(QStringLiteral("Spotify connected"))
                                                     : localized(QStringLiteral("Spotify not connected"));
}

QString DashboardTexts::displayScopeCaption(DisplayScope scope)
{
    switch (scope) {
    case DisplayScope::all:
        return localized(QStringLiteral("On all connected displays"));
    case DisplayScope::primary:
        return localized(QStringLiteral("On the primary display"));
    case DisplayScope::selected:
        return localized(QStringLiteral("On your chosen display"));
    }
    return {};
}

QString DashboardTexts::versionText(const QJsonObject &info)
{
    return Bundle::infoString(QStringLiteral("CFBundleShortVersionString"), info).value_or(fallbackVersion);
}

QString DashboardTexts::versionText()
{
    return versionText(Bundle::info());
}

QString DashboardTexts::switchCaption(bool on)
{
    return on ? localized(QStringLiteral("On")) : localized(QStringLiteral("Off"));
}

QUrl DashboardTexts::supportMail(const QJsonObject &info)
{
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(Bundle::infoString(QStringLiteral("OrvelSupportMail"), info).value_or(defaultMail));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QStringLiteral("Orvel"));
    url.setQuery(query);
    return url;
}

QUrl DashboardTexts::webPage(const QJsonObject &info)
{
    return QUrl(Bundle::infoString(QStringLiteral("OrvelWebPage"), info).value_or(defaultPage));
}

QString DashboardTexts::connection(const QString &availability) const
{
    const auto parsed = fromRawValue<PlayerAvailability>(availability);
    return connectionCaption(parsed.value_or(PlayerAvailability::notRunning));
}

QString DashboardTexts::displayScope(const QString &scope) const
{
    return displayScopeCaption(fromRawValue<DisplayScope>(scope).value_or(DisplayScope::all));
}

QUrl DashboardTexts::supportMailValue() const
{
    return supportMail(Bundle::info());
}

QUrl DashboardTexts::webPageValue() const
{
    return webPage(Bundle::info());
}
