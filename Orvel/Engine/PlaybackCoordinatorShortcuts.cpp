#include "PlaybackCoordinator.h"

#include "Bundle.h"
#include "Preferences.h"
#include "SkillBar.h"
#include "SpotifyOEmbed.h"
#include "Uuid.h"
#include "WidgetCenter.h"
#include "Workspace.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTextBoundaryFinder>
#include <algorithm>

namespace {
// The first `count` user-perceived characters, never splitting one.
QString firstCharacters(const QString &text, int count)
{
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (int n = 0; n < count; ++n) {
        const qsizetype next = graphemes.toNextBoundary();
        if (next < 0)
            return text;
        end = next;
    }
    return text.left(end);
}
} // namespace

SkillBar PlaybackCoordinator::watchedSkills()
{
    Preferences &current = preferences();
    if (!m_skillsWatch) {
        m_skillsWatch = QObject::connect(
            &current, &Preferences::skillsChanged, m_shortcutModel, &ShortcutListModel::refreshSlots);
    }
    return current.skills();
}

ShortcutListModel *PlaybackCoordinator::shortcutModel()
{
    if (!m_shortcutModel) {
        m_shortcutModel = new ShortcutListModel([this] { return watchedSkills(); }, this);
        m_shortcutModel->setShortcuts(m_shortcuts);
    }
    return m_shortcutModel;
}

std::optional<MusicShortcut> PlaybackCoordinator::findShortcut(const QString &id) const
{
    const std::optional<QUuid> uuid = uuidFromString(id);
    if (!uuid)
        return std::nullopt;
    for (const MusicShortcut &shortcut : m_shortcuts) {
        if (shortcut.id == *uuid)
            return shortcut;
    }
    return std::nullopt;
}

QUrl PlaybackCoordinator::configuredOEmbedEndpoint()
{
    return QUrl(Bundle::infoString(QStringLiteral("OrvelOEmbedEndpoint")).value_or(QString()));
}

bool PlaybackCoordinator::saveShortcuts(const QList<MusicShortcut> &shortcuts)
{
    try {
        m_store.saveShortcuts(shortcuts);
    } catch (const std::exception &error) {
        qWarning() << "The shortcuts could not be saved:" << error.what();
        setStorageError(true);
        setErrorKey(saveFailedText);
        return false;
    }
    m_shortcuts = shortcuts;
    if (m_shortcutModel)
        m_shortcutModel->setShortcuts(m_shortcuts);
    emit shortcutsChanged();
    m_widgetCenter.reloadTimelines(shortcutsWidgetKind);
    return true;
}

bool PlaybackCoordinator::upsertShortcut(const std::optional<QUuid> &id, const QString &title,
    const QString &link, const std::optional<SkillGlyph> &glyph)
{
    const std::optional<SpotifyLink> parsed = SpotifyLink::parse(link);
    if (!parsed || title.trimmed().isEmpty())
        return false;
    const MusicShortcut shortcut(id.value_or(QUuid::createUuid()),
        firstCharacters(title, SpotifyOEmbed::maximumTitleLength), *parsed, glyph);
    QList<MusicShortcut> list = m_shortcuts;
    const auto existing = std::find_if(list.begin(), list.end(),
        [&](const MusicShortcut &candidate) { return candidate.id == shortcut.id; });
    if (existing != list.end())
        *existing = shortcut;
    else
        list.append(shortcut);
    return saveShortcuts(list);
}

void PlaybackCoordinator::moveShortcut(const QUuid &id, qsizetype offset)
{
    saveShortcuts(ShortcutList::moving(m_shortcuts, id, offset));
}

void PlaybackCoordinator::removeShortcut(QUuid id)
{
    QList<MusicShortcut> list = m_shortcuts;
    list.removeIf([&](const MusicShortcut &shortcut) { return shortcut.id == id; });
    if (!saveShortcuts(list))
        return;
    Preferences &preferences = this->preferences();
    SkillBar skills = preferences.skills();
    skills.remove(id);
    preferences.setSkills(skills);
}

void PlaybackCoordinator::moveShortcut(const QString &shortcutID, int offset)
{
    if (const auto id = uuidFromString(shortcutID))
        moveShortcut(*id, qsizetype(offset));
}

void PlaybackCoordinator::removeShortcut(const QString &shortcutID)
{
    if (const auto id = uuidFromString(shortcutID))
        removeShortcut(*id);
}

void PlaybackCoordinator::setGlyph(const std::optional<SkillGlyph> &glyph, const QUuid &id)
{
    QList<MusicShortcut> list = m_shortcuts;
    const auto found = std::find_if(
        list.begin(), list.end(), [&](const MusicShortcut &shortcut) { return shortcut.id == id; });
    if (found == list.end())
        return;
    found->glyph = glyph;
    saveShortcuts(list);
}

void PlaybackCoordinator::openInSpotify(const MusicShortcut &shortcut)
{
    const std::optional<SpotifyLink> link = SpotifyLink::parse(shortcut.link.url().toString());
    if (!link)
        return;
    m_workspace.openURL(isSpotifyInstalled() ? link->uri() : link->url());
}

void PlaybackCoordinator::openInSpotify(const QString &shortcutID)
{
    if (const auto shortcut = findShortcut(shortcutID))
        openInSpotify(*shortcut);
}

void PlaybackCoordinator::openCurrentTrack()
{
    if (!m_snapshot.track || !m_snapshot.track->spotifyURL)
        return;
    m_workspace.openURL(*m_snapshot.track->spotifyURL);
}

QCoro::Task<std::optional<QString>> PlaybackCoordinator::lookupTitle(SpotifyLink link)
{
    const QUrl url = SpotifyOEmbed::requestURL(link, m_oEmbedEndpoint);
    QNetworkRequest request(url);
    // Each redirect is weighed here: only https on the service's own host is followed.
    request.setAttribute(
        QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(titleLookupMaxRedirects);
    QNetworkReply *reply = m_artworkSession->get(request);
    // The reply belongs to the session; it goes once the look-up has read it.
    const std::unique_ptr<QNetworkReply, void (*)(QNetworkReply *)> owned(
        reply, [](QNetworkReply *r) { r->deleteLater(); });
    QObject::connect(reply, &QNetworkReply::redirected, reply, [reply, url](const QUrl &target) {
        if (SpotifyOEmbed::followsRedirect(url, target))
            emit reply->redirectAllowed();
        else
            reply->abort();
    });

    // Two limits on the scheduler's clock: the longest idle wait, which arriving
    // data restarts, and the longest whole look-up, which nothing restarts.
    Scheduler &scheduler = m_scheduler;
    const double deadline = scheduler.now() + titleLookupDeadlineMs / 1000.0;
    auto lastActivity = std::make_shared<double>(scheduler.now());
    const auto active = [&scheduler, lastActivity] { *lastActivity = scheduler.now(); };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, active);
    QObject::connect(reply, &QNetworkReply::readyRead, reply, active);
    const QPointer<QNetworkReply> watched(reply);
    const TaskHandle watchdog = scheduler.spawn(
        [&scheduler, lastActivity, deadline, watched](TaskHandle self) -> QCoro::Task<void> {
            for (;;) {
                const double end = std::min(*lastActivity + titleLookupTimeoutMs / 1000.0, deadline);
                const double remaining = end - scheduler.now();
                if (remaining <= 0)
                    break;
                const bool slept = co_await scheduler.sleep(remaining, self);
                if (!slept || !watched)
                    co_return;
            }
            if (watched && watched->isRunning())
                watched->abort();
        });
    const std::optional<QByteArray> body = co_await readBody(reply, SpotifyOEmbed::maximumBodySize);
    watchdog.cancel();
    if (!body || reply->error() != QNetworkReply::NoError)
        co_return std::nullopt;
    if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 200)
        co_return std::nullopt;
    co_return SpotifyOEmbed::title(*body);
}
