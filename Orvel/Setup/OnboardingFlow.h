#pragma once

#include "KitAnimation.h"
#include "Motion.h"
#include "Playback.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

// The guided setup's state: which of its three steps shows, whether a
// connection attempt runs, and everything the header, footer and pages derive
// from that, the coordinator's snapshot and the panel switches. The view owns
// one; nothing of it is stored.
class OnboardingFlow : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(Preferences *preferences READ preferences WRITE setPreferences NOTIFY ownersChanged)
    Q_PROPERTY(PlaybackCoordinator *player READ player WRITE setPlayer NOTIFY ownersChanged)
    // Whether the environment lets panels animate; step changes ease only then.
    Q_PROPERTY(bool motionAllowed READ motionAllowed WRITE setMotionAllowed NOTIFY motionAllowedChanged)

    Q_PROPERTY(int step READ step NOTIFY stepChanged)
    // How the last step change runs: eased, or none for an immediate one.
    Q_PROPERTY(KitAnimation stepAnimation READ stepAnimation NOTIFY stepChanged)
    Q_PROPERTY(bool connecting READ connecting NOTIFY connectingChanged)
    Q_PROPERTY(bool connected READ connected NOTIFY situationChanged)

    // Header.
    Q_PROPERTY(QStringList stepTitles READ stepTitles NOTIFY stepChanged)
    Q_PROPERTY(QString indicatorLabel READ indicatorLabel NOTIFY stepChanged)

    // Footer.
    Q_PROPERTY(bool showsHint READ showsHint NOTIFY footerChanged)
    Q_PROPERTY(bool showsBack READ showsBack NOTIFY footerChanged)
    Q_PROPERTY(bool showsSetUpLater READ showsSetUpLater NOTIFY footerChanged)
    Q_PROPERTY(QString primaryTitle READ primaryTitle NOTIFY footerChanged)
    Q_PROPERTY(bool primaryEnabled READ primaryEnabled NOTIFY footerChanged)
    // Return presses the primary button only where it is the default action.
    Q_PROPERTY(bool returnActivates READ returnActivates NOTIFY footerChanged)

    // The surfaces page.
    Q_PROPERTY(QString surfacesHint READ surfacesHint NOTIFY surfacesChanged)
    Q_PROPERTY(bool showsMovingPlayer READ showsMovingPlayer NOTIFY surfacesChanged)

    // The Spotify page.
    Q_PROPERTY(QString spotifyTitle READ spotifyTitle NOTIFY situationChanged)
    Q_PROPERTY(QString statusText READ statusText NOTIFY situationChanged)
    Q_PROPERTY(QString installedSymbol READ installedSymbol NOTIFY situationChanged)
    Q_PROPERTY(bool showsPermissionHelp READ showsPermissionHelp NOTIFY situationChanged)

public:
    static constexpr int stepCount = 3;
    static constexpr int lastStep = stepCount - 1;
    static constexpr double stepChangeSeconds = 0.18;

    enum class PrimaryAction { advance, connect };
    struct Footer {
        bool hint = false; // the left side is the hint, else "Back"
        bool setUpLater = false;
        QString primaryTitle; // English key
        bool primaryEnabled = true;
        bool returnKey = false;
        PrimaryAction action = PrimaryAction::advance;
        friend bool operator==(const Footer &, const Footer &) = default;
    };
    // Every step but 0 and 1 counts as the last.
    static Footer footer(int step, bool connected, bool connecting);

    struct SpotifySituation {
        QString title; // English keys
        bool connected = false; // the dots on and the status in the accent colour
        QString status;
        QString installedSymbol;
        bool permissionHelp = false;
        friend bool operator==(const SpotifySituation &, const SpotifySituation &) = default;
    };
    static bool isConnected(PlayerAvailability availability, bool preview);
    // The installed line follows the look-up of the application, never the availability.
    static SpotifySituation situation(PlayerAvailability availability, bool installed, bool preview);

    // English keys; the third reads "Ready" where the desktop has no widgets.
    static QString stepTitle(int index);
    static QString indicatorLabel(int step);
    static bool showsMovingPlayer(bool notchEnabled, bool dragEnabled) { return notchEnabled && dragEnabled; }
    static QString surfacesHint(bool notchEnabled, bool sidebarEnabled);
    static KitAnimation stepAnimation(const MotionPolicy &motion);

    explicit OnboardingFlow(QObject *parent = nullptr);

    Preferences *preferences() const { return m_preferences; }
    void setPreferences(Preferences *preferences);
    PlaybackCoordinator *player() const { return m_player; }
    void setPlayer(PlaybackCoordinator *player);
    bool motionAllowed() const { return m_motionAllowed; }
    void setMotionAllowed(bool allowed);

    int step() const { return m_step; }
    KitAnimation stepAnimation() const { return m_stepAnimation; }
    bool connecting() const { return m_connecting; }
    bool connected() const;

    QStringList stepTitles() const;
    QString indicatorLabel() const { return indicatorLabel(m_step); }

    Footer footer() const { return footer(m_step, connected(), m_connecting); }
    bool showsHint() const { return footer().hint; }
    bool showsBack() const { return !footer().hint; }
    bool showsSetUpLater() const { return footer().setUpLater; }
    QString primaryTitle() const;
    bool primaryEnabled() const { return footer().primaryEnabled; }
    bool returnActivates() const { return footer().returnKey; }

    QString surfacesHint() const;
    bool showsMovingPlayer() const;

    SpotifySituation situation() const;
    QString spotifyTitle() const;
    QString statusText() const;
    QString installedSymbol() const { return situation().installedSymbol; }
    bool showsPermissionHelp() const { return situation().permissionHelp; }

    // The footer's actions.
    Q_INVOKABLE void primary();
    Q_INVOKABLE void advance();
    Q_INVOKABLE void back();
    Q_INVOKABLE void setUpLater();
    Q_INVOKABLE void connect();

signals:
    void ownersChanged();
    void motionAllowedChanged();
    void stepChanged();
    void connectingChanged();
    void footerChanged();
    void surfacesChanged();
    void situationChanged();

private:
    void goTo(int step);
    void setConnecting(bool connecting);
    void watch();

    QPointer<Preferences> m_preferences;
    QPointer<PlaybackCoordinator> m_player;
    bool m_motionAllowed = true;
    int m_step = 0;
    KitAnimation m_stepAnimation;
    bool m_connecting = false;
    QList<QMetaObject::Connection> m_watches;
};
