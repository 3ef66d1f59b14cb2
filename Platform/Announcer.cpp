#include "Announcer.h"

#include <QLoggingCategory>

namespace {
Q_LOGGING_CATEGORY(lcAccessibility, "com.velbrandtoro.Orvel.accessibility")
} // namespace

Announcer::~Announcer() = default;

void LogAnnouncer::announce(const QString &text)
{
    qCInfo(lcAccessibility).noquote() << "Announcement:" << text;
}
