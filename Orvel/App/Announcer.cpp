#include "Announcer.h"

#include <QLoggingCategory>

namespace {
Q_LOGGING_CATEGORY(lcAccessibility, "com.velbrandtoro.Orvel.accessibility")

Announcer *&installed()
{
    static Announcer *announcer = nullptr;
    return announcer;
}
} // namespace

Announcer::~Announcer() = default;

Announcer &Announcer::shared()
{
    static LogAnnouncer fallback;
    return installed() ? *installed() : fallback;
}

void Announcer::setShared(Announcer *announcer)
{
    installed() = announcer;
}

void LogAnnouncer::announce(const QString &text)
{
    qCInfo(lcAccessibility).noquote() << "Announcement:" << text;
}
