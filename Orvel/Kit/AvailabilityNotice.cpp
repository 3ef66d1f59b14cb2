#include "AvailabilityNotice.h"

#include "Localization.h"
#include "Typography.h"

#include <QVariantMap>

namespace {
const char *styleName(AvailabilityNotice::Style style)
{
    switch (style) {
    case AvailabilityNotice::Style::primary:
        return "primary";
    case AvailabilityNotice::Style::bordered:
        return "bordered";
    case AvailabilityNotice::Style::plain:
        return "plain";
    }
    return "plain";
}

const char *operationName(AvailabilityNotice::Operation operation)
{
    switch (operation) {
    case AvailabilityNotice::Operation::connect:
        return "connect";
    case AvailabilityNotice::Operation::openSpotify:
        return "openSpotify";
    case AvailabilityNotice::Operation::openAutomationSettings:
        return "openAutomationSettings";
    }
    return "openSpotify";
}
} // namespace

AvailabilityNotice::Content AvailabilityNotice::content(PlayerAvailability availability)
{
    using A = PlayerAvailability;
    const Action openSpotify{QStringLiteral("Open Spotify"), Style::primary, Operation::openSpotify};
    switch (availability) {
    case A::notInstalled:
        return {QStringLiteral("Install Spotify to get started."),
            {{QStringLiteral("Get Spotify"), Style::primary, Operation::openSpotify}}};
    case A::notRunning:
        return {QStringLiteral("Your next track is one click away."), {openSpotify}};
    case A::needsPermission:
        return {QStringLiteral("Connect Spotify to bring your music here."),
            {{QStringLiteral("Connect Spotify"), Style::primary, Operation::connect}}};
    case A::permissionDenied:
        return {QStringLiteral(
                    "Allow Spotify control in System Settings \u2192 Privacy & Security \u2192 Automation."),
            {{QStringLiteral("Open System Settings"), Style::bordered, Operation::openAutomationSettings},
                {QStringLiteral("Try again"), Style::plain, Operation::connect}}};
    case A::noTrack:
        return {QStringLiteral("Choose something to play in Spotify."), {openSpotify}};
    case A::ready:
    case A::unavailable:
        break;
    }
    return {QStringLiteral("Waiting for Spotify."), {openSpotify}};
}

QFont AvailabilityNotice::messageFont(bool compact)
{
    QFont font = textRole(compact ? TextRole::body : TextRole::subhead);
    font.setWeight(compact ? QFont::Normal : QFont::Medium);
    return font;
}

AvailabilityNotice::AvailabilityNotice(QObject *parent)
    : QObject(parent)
{
}

void AvailabilityNotice::setAvailability(PlayerAvailability availability)
{
    if (availability == m_availability)
        return;
    m_availability = availability;
    emit changed();
}

void AvailabilityNotice::setAvailabilityName(const QString &name)
{
    setAvailability(fromRawValue<PlayerAvailability>(name).value_or(PlayerAvailability::unavailable));
}

void AvailabilityNotice::setCompact(bool compact)
{
    if (compact == m_compact)
        return;
    m_compact = compact;
    emit changed();
}

QString AvailabilityNotice::message() const
{
    return localized(content(m_availability).message);
}

QVariantList AvailabilityNotice::actionList() const
{
    QVariantList result;
    for (const Action &action : content(m_availability).actions)
        result << QVariantMap{{QStringLiteral("title"), localized(action.title)},
            {QStringLiteral("style"), QString::fromLatin1(styleName(action.style))},
            {QStringLiteral("operation"), QString::fromLatin1(operationName(action.operation))}};
    return result;
}
