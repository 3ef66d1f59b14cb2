#include "WidgetSupport.h"

#include "Localization.h"
#include "PlatformFeatures.h"

namespace {
QString pick(const char *supported, const char *unsupported)
{
    return QString::fromUtf8(WidgetSupport::isSupported() ? supported : unsupported);
}
} // namespace

bool WidgetSupport::isSupported()
{
    return PlatformFeatures::current().desktopWidgets;
}

QString WidgetSupport::title()
{
    return pick("There are widgets, too.", "Widgets on macOS 14");
}

QString WidgetSupport::subtitle()
{
    return pick(
        "Now Playing and your shortcuts, right on your desktop.", "Orvel widgets require macOS 14 or later.");
}

QString WidgetSupport::guideButtonTitle()
{
    return pick("How to add them", "Details");
}

QString WidgetSupport::guideTitle()
{
    return pick("Make room on your desktop.", "Widgets on macOS 14");
}

QString WidgetSupport::guideSubtitle()
{
    return pick("Orvel also has native widgets for your desktop and Notification Center.",
        "Your top player and sidebar are ready on macOS 13.");
}

QString WidgetSupport::setupTitle()
{
    return pick("There are widgets, too.", "Your player is ready.");
}

QString WidgetSupport::setupSubtitle()
{
    return pick("Add Now Playing and your favorite shortcuts to the desktop or Notification Center.",
        "Your top player and sidebar are ready on macOS 13.");
}

QString WidgetSupport::surfacesSubtitle()
{
    return pick("Choose the panels you want. Keep both, pick one, or use only macOS widgets.",
        "Choose the top player, the right sidebar, or both. You can change this later.");
}

QString WidgetSupport::noPanelsHint()
{
    return pick("Just widgets. You can enable the floating panels later in Preferences.",
        "Open Orvel from the menu bar. You can enable the floating panels later in Preferences.");
}

WidgetSupportTexts::WidgetSupportTexts(QObject *parent)
    : QObject(parent)
{
}

QString WidgetSupportTexts::title() const
{
    return localized(WidgetSupport::title());
}
QString WidgetSupportTexts::subtitle() const
{
    return localized(WidgetSupport::subtitle());
}
QString WidgetSupportTexts::guideButtonTitle() const
{
    return localized(WidgetSupport::guideButtonTitle());
}
QString WidgetSupportTexts::guideTitle() const
{
    return localized(WidgetSupport::guideTitle());
}
QString WidgetSupportTexts::guideSubtitle() const
{
    return localized(WidgetSupport::guideSubtitle());
}
QString WidgetSupportTexts::setupTitle() const
{
    return localized(WidgetSupport::setupTitle());
}
QString WidgetSupportTexts::setupSubtitle() const
{
    return localized(WidgetSupport::setupSubtitle());
}
QString WidgetSupportTexts::surfacesSubtitle() const
{
    return localized(WidgetSupport::surfacesSubtitle());
}
QString WidgetSupportTexts::noPanelsHint() const
{
    return localized(WidgetSupport::noPanelsHint());
}
