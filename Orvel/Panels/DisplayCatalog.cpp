#include "DisplayCatalog.h"

#include "DisplayIdentity.h"
#include "DisplayScope.h"
#include "FloatingPanel.h"
#include "Preferences.h"

#include <QPointer>
#include <cmath>

QString DisplayCatalog::Display::title() const
{
    return QString::number(number) + QStringLiteral(". ") + name;
}

QString DisplayCatalog::Display::sizeText() const
{
    // Whole points, cut towards zero, as the system's display settings show them.
    const auto whole = [](double value) {
        return std::isfinite(value) ? QString::number(qint64(std::trunc(value))) : QStringLiteral("0");
    };
    return whole(frame.width()) + QStringLiteral(" \u00d7 ") + whole(frame.height());
}

QVariantMap DisplayCatalog::Display::toVariant() const
{
    return {
        {QStringLiteral("id"), id},
        {QStringLiteral("number"), number},
        {QStringLiteral("name"), name},
        {QStringLiteral("title"), title()},
        {QStringLiteral("sizeText"), sizeText()},
        {QStringLiteral("primary"), isPrimary},
        {QStringLiteral("frame"),
            QVariantMap{{QStringLiteral("x"), frame.minX()}, {QStringLiteral("y"), frame.minY()},
                {QStringLiteral("width"), frame.width()}, {QStringLiteral("height"), frame.height()}}},
    };
}

std::function<std::unique_ptr<PanelWindow>(const DisplayCatalog::Display &)> DisplayCatalog::floatingPanels(
    Screens &screens, Desktop &desktop, Scheduler &scheduler, QQmlEngine &engine)
{
    return [&screens, &desktop, &scheduler, &engine](const Display &display) -> std::unique_ptr<PanelWindow> {
        static const QByteArray view = R"(
import QtQuick
import Orvel
import Orvel.Shared
DisplayIdentificationView {
    Skinned.skin: Preferences.skin
    Skinned.aura: PlaybackCoordinator.aura
    Skinned.lightEffects: Preferences.lightEffects
    Skinned.animations: Preferences.animations
}
)";
        auto panel = std::make_unique<FloatingPanel>(screens, desktop, scheduler, engine, view,
            QVariantMap{{QStringLiteral("number"), display.number}, {QStringLiteral("name"), display.name},
                {QStringLiteral("primary"), display.isPrimary}});
        panel->setTitle(QStringLiteral("Orvel \u2014 ") + display.title());
        return panel;
    };
}

DisplayCatalog::DisplayCatalog(Services services, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
{
    if (!m_services.screens || !m_services.scheduler || !m_services.makeIdentificationPanel)
        qFatal("DisplayCatalog is missing a service");
    refresh();
    // Each change refreshes on a later turn, when the system has settled the new arrangement.
    connect(m_services.screens, &Screens::changed, this,
        [this] { QMetaObject::invokeMethod(this, &DisplayCatalog::refresh, Qt::QueuedConnection); });
}

DisplayCatalog::~DisplayCatalog()
{
    m_identificationTask.cancel();
}

QStringList DisplayCatalog::identifiers(const QList<ScreenInfo> &screens)
{
    QList<DisplayFacts> facts;
    for (const ScreenInfo &screen : screens)
        facts.append(screen.facts());
    return displayIdentifiers(facts);
}

QString DisplayCatalog::identifier(const ScreenInfo &screen, const QList<ScreenInfo> &among)
{
    QList<ScreenInfo> all = among;
    qsizetype index = all.indexOf(screen);
    if (index < 0) {
        all.append(screen);
        index = all.size() - 1;
    }
    return identifiers(all)[index];
}

QList<qsizetype> DisplayCatalog::mirrorLeaders(const QList<ScreenInfo> &screens)
{
    QList<Rect> frames;
    for (const ScreenInfo &screen : screens)
        frames.append(screen.frame);
    return ::mirrorLeaders(frames);
}

void DisplayCatalog::refresh()
{
    QList<Display> displays;
    const QList<ScreenInfo> screens = m_services.screens->screens();
    const QStringList ids = identifiers(screens);
    const QList<qsizetype> leaders = mirrorLeaders(screens);
    QList<DisplayFacts> facts;
    QHash<QString, QString> mirrors;
    // On a Wayland session choices may be stored under X11's names of the outputs.
    QList<DisplayFacts> x11Facts;
    for (qsizetype index = 0; index < screens.size(); ++index) {
        const ScreenInfo &screen = screens[index];
        facts.append(screen.facts());
        x11Facts.append(screen.facts());
        x11Facts.back().output = screen.x11Name;
        const bool primary = screen.primary && screen.number != 0;
        if (leaders[index] != index) {
            // A mirror is its leader's entry; it makes that one primary when it is.
            mirrors.insert(ids[index], ids[leaders[index]]);
            for (Display &display : displays)
                display.isPrimary = display.isPrimary || (primary && display.id == ids[leaders[index]]);
            continue;
        }
        displays.append(
            Display{ids[index], int(displays.size() + 1), screen.localizedName, screen.frame, primary});
    }
    // Before anyone hears of the new list, so it finds its places under the new ids. The
    // dashed ids came after the output names: where both were stored, the dashed one is newer.
    if (m_services.preferences) {
        m_services.preferences->carryOverDisplays(edidCarryOvers(facts));
        QHash<QString, QString> carryOvers = outputCarryOvers(facts, ids);
        carryOvers.insert(outputCarryOvers(x11Facts, ids));
        m_services.preferences->carryOverDisplays(carryOvers);
    }
    m_displays = displays;
    m_mirrors = mirrors;
    emit displaysChanged();
}

QSet<QString> DisplayCatalog::activeDisplayIDs(const Preferences &preferences) const
{
    QStringList available;
    std::optional<QString> primaryID;
    for (const Display &display : m_displays) {
        available.append(display.id);
        if (display.isPrimary && !primaryID)
            primaryID = display.id;
    }
    // A display chosen before it mirrored another is chosen with its leader.
    std::optional<QString> selected = preferences.selectedDisplayID();
    if (selected)
        selected = listedID(*selected);
    return resolve(preferences.displayScope(), available, primaryID, selected);
}

QStringList DisplayCatalog::activeIDs(Preferences *preferences) const
{
    if (!preferences)
        return {};
    const QSet<QString> active = activeDisplayIDs(*preferences);
    QStringList ordered;
    for (const Display &display : m_displays) {
        if (active.contains(display.id))
            ordered.append(display.id);
    }
    return ordered;
}

QVariantList DisplayCatalog::displaysValue() const
{
    QVariantList list;
    for (const Display &display : m_displays)
        list.append(display.toVariant());
    return list;
}

void DisplayCatalog::closeIdentificationPanels()
{
    for (const auto &panel : m_identificationPanels)
        panel->close();
    m_identificationPanels.clear();
}

namespace {
QCoro::Task<void> closeLater(
    Scheduler &scheduler, QPointer<DisplayCatalog> catalog, std::function<void()> close, TaskHandle self)
{
    const bool slept = co_await scheduler.sleep(DisplayCatalog::identificationSeconds, self);
    if (!slept || !catalog)
        co_return;
    close();
}
} // namespace

void DisplayCatalog::identify()
{
    m_identificationTask.cancel();
    closeIdentificationPanels();
    for (const Display &display : m_displays) {
        std::unique_ptr<PanelWindow> panel = m_services.makeIdentificationPanel(display);
        if (!panel)
            continue;
        const Size size = identificationSize;
        panel->setFrame(Rect(display.frame.midX() - size.width / 2, display.frame.midY() - size.height / 2,
            size.width, size.height));
        panel->setHasShadow(true);
        panel->setLevel(PanelWindow::floatingLevel);
        panel->setIgnoresMouseEvents(true);
        panel->setCollectionBehavior(identificationCollectionBehavior);
        panel->orderFront();
        m_identificationPanels.push_back(std::move(panel));
    }
    Scheduler &scheduler = *m_services.scheduler;
    const QPointer<DisplayCatalog> catalog(this);
    const auto close = [this] { closeIdentificationPanels(); };
    m_identificationTask = scheduler.spawn([&scheduler, catalog, close](TaskHandle self) {
        return closeLater(scheduler, catalog, close, self);
    });
}
