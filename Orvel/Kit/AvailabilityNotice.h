#pragma once

#include "Playback.h"

#include <QFont>
#include <QList>
#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// What AvailabilityView says for each availability and the one action that
// moves the user on, and how its compact and full forms are laid out. Texts
// are keys, shown through localized().
class AvailabilityNotice : public QObject {
    Q_OBJECT
    QML_ELEMENT
    // The coordinator's availability as its raw value; unknown values read as unavailable.
    Q_PROPERTY(QString availability READ availabilityName WRITE setAvailabilityName NOTIFY changed)
    Q_PROPERTY(bool compact READ compact WRITE setCompact NOTIFY changed)

    Q_PROPERTY(QString message READ message NOTIFY changed)
    // Each {title, style: "primary" | "bordered" | "plain", operation: "connect" |
    // "openSpotify" | "openAutomationSettings"}, top to bottom.
    Q_PROPERTY(QVariantList actions READ actionList NOTIFY changed)
    Q_PROPERTY(bool showsMark READ showsMark NOTIFY changed)
    Q_PROPERTY(bool centred READ centred NOTIFY changed)
    Q_PROPERTY(qreal spacing READ spacing NOTIFY changed)
    Q_PROPERTY(QFont messageFont READ messageFont NOTIFY changed)
    Q_PROPERTY(qreal markSize READ markSize CONSTANT)
    Q_PROPERTY(qreal markBottomPadding READ markBottomPadding CONSTANT)

public:
    enum class Style { primary, bordered, plain };
    enum class Operation { connect, openSpotify, openAutomationSettings };

    struct Action {
        QString title;
        Style style;
        Operation operation;
        friend bool operator==(const Action &, const Action &) = default;
    };

    struct Content {
        QString message;
        QList<Action> actions;
        friend bool operator==(const Content &, const Content &) = default;
    };

    static constexpr qreal compactSpacing = 10;
    static constexpr qreal fullSpacing = 18;
    static constexpr qreal fullMarkSize = 88;
    static constexpr qreal fullMarkBottomPadding = 4;

    // The message and actions of an availability, untranslated.
    static Content content(PlayerAvailability availability);
    // Body at regular weight when compact, subhead at medium weight otherwise.
    static QFont messageFont(bool compact);

    explicit AvailabilityNotice(QObject *parent = nullptr);

    PlayerAvailability availability() const { return m_availability; }
    void setAvailability(PlayerAvailability availability);
    QString availabilityName() const { return toRawValue(m_availability); }
    void setAvailabilityName(const QString &name);
    bool compact() const { return m_compact; }
    void setCompact(bool compact);

    QString message() const;
    QVariantList actionList() const;
    bool showsMark() const { return !m_compact; }
    bool centred() const { return !m_compact; }
    qreal spacing() const { return m_compact ? compactSpacing : fullSpacing; }
    QFont messageFont() const { return messageFont(m_compact); }
    qreal markSize() const { return fullMarkSize; }
    qreal markBottomPadding() const { return fullMarkBottomPadding; }

signals:
    void changed();

private:
    PlayerAvailability m_availability = PlayerAvailability::unavailable;
    bool m_compact = false;
};
