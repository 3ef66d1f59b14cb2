#pragma once

#include "SkinPalette.h"

#include <QObject>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

// One skill slot's rules: its flags against the coordinator's casting,
// last-started and failed ids, its face in each skin and state, its help
// and accessibility texts and its menu.
class SkillSlotStyle : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(SkinPalette palette READ palette WRITE setPalette NOTIFY changed)
    Q_PROPERTY(int index READ index WRITE setIndex NOTIFY changed)
    // The shortcut's id, title and link kind; an empty id is an empty slot.
    Q_PROPERTY(QString shortcutID READ shortcutID WRITE setShortcutID NOTIFY changed)
    Q_PROPERTY(QString title READ title WRITE setTitle NOTIFY changed)
    Q_PROPERTY(QString kind READ kind WRITE setKind NOTIFY changed)
    Q_PROPERTY(QVariant casting READ casting WRITE setCasting NOTIFY changed)
    Q_PROPERTY(QVariant lastCast READ lastCast WRITE setLastCast NOTIFY changed)
    Q_PROPERTY(QVariant failedCast READ failedCast WRITE setFailedCast NOTIFY changed)
    Q_PROPERTY(QVariant errorKey READ errorKey WRITE setErrorKey NOTIFY changed)
    Q_PROPERTY(bool hovering READ hovering WRITE setHovering NOTIFY changed)
    // The motion level of the skill-cast feature: "full", "reduced" or "still".
    Q_PROPERTY(QString castLevel READ castLevel WRITE setCastLevel NOTIFY changed)

    Q_PROPERTY(bool filled READ filled NOTIFY changed)
    Q_PROPERTY(bool isCasting READ isCasting NOTIFY changed)
    Q_PROPERTY(bool isLastCast READ isLastCast NOTIFY changed)
    Q_PROPERTY(bool isFailed READ isFailed NOTIFY changed)
    Q_PROPERTY(bool clickable READ clickable NOTIFY changed)
    Q_PROPERTY(bool circle READ circle NOTIFY changed)
    Q_PROPERTY(qreal radius READ radius CONSTANT)
    Q_PROPERTY(QColor groundFill READ groundFill NOTIFY changed)
    Q_PROPERTY(QColor groundStroke READ groundStroke NOTIFY changed)
    Q_PROPERTY(qreal groundStrokeWidth READ groundStrokeWidth NOTIFY changed)
    Q_PROPERTY(QColor glyphColor READ glyphColor NOTIFY changed)
    // "none", "wedge" or "flat": what covers the slot while it starts.
    Q_PROPERTY(QString cover READ cover NOTIFY changed)
    Q_PROPERTY(QColor wedgeColor READ wedgeColor CONSTANT)
    Q_PROPERTY(QColor flatColor READ flatColor CONSTANT)
    Q_PROPERTY(bool lastDot READ lastDot NOTIFY changed)
    Q_PROPERTY(QColor failedRing READ failedRing CONSTANT)
    Q_PROPERTY(QColor dashColor READ dashColor NOTIFY changed)
    Q_PROPERTY(QColor addColor READ addColor NOTIFY changed)
    Q_PROPERTY(QString help READ help NOTIFY changed)
    Q_PROPERTY(QString accessibleName READ accessibleName NOTIFY changed)
    Q_PROPERTY(QString accessibleValue READ accessibleValue NOTIFY changed)
    Q_PROPERTY(QString accessibleHint READ accessibleHint NOTIFY changed)
    Q_PROPERTY(QVariantList menu READ menu NOTIFY changed)

public:
    static constexpr double radiusValue = 8;
    static constexpr double glyphScale = 0.46;
    static constexpr double addScale = 0.42;
    static constexpr double ringWidth = 1.5;
    static constexpr double dotSize = 3;
    static constexpr double dotDrop = 6;
    static constexpr double wedgeOpacity = 0.45;
    static constexpr double flatOpacity = 0.35;

    // The name of a link kind as the user reads it: "Track", "Album", …
    static QString kindName(const QString &kind);

    explicit SkillSlotStyle(QObject *parent = nullptr);

    SkinPalette palette() const { return m_palette; }
    void setPalette(const SkinPalette &palette);
    int index() const { return m_index; }
    void setIndex(int index);
    QString shortcutID() const { return m_shortcutID; }
    void setShortcutID(const QString &id);
    QString title() const { return m_title; }
    void setTitle(const QString &title);
    QString kind() const { return m_kind; }
    void setKind(const QString &kind);
    QVariant casting() const { return m_casting; }
    void setCasting(const QVariant &id);
    QVariant lastCast() const { return m_lastCast; }
    void setLastCast(const QVariant &id);
    QVariant failedCast() const { return m_failedCast; }
    void setFailedCast(const QVariant &id);
    QVariant errorKey() const { return m_errorKey; }
    void setErrorKey(const QVariant &key);
    bool hovering() const { return m_hovering; }
    void setHovering(bool hovering);
    QString castLevel() const { return m_castLevel; }
    void setCastLevel(const QString &level);

    bool filled() const { return !m_shortcutID.isEmpty(); }
    bool isCasting() const { return names(m_casting); }
    bool isLastCast() const { return names(m_lastCast); }
    bool isFailed() const { return names(m_failedCast); }
    // Filled slots wait while another shortcut starts; empty ones never do.
    bool clickable() const;
    bool circle() const { return m_palette.skin != Skin::classico; }
    qreal radius() const { return radiusValue; }
    QColor groundFill() const;
    QColor groundStroke() const;
    qreal groundStrokeWidth() const;
    QColor glyphColor() const;
    QString cover() const;
    QColor wedgeColor() const { return QColor::fromRgbF(0, 0, 0, wedgeOpacity); }
    QColor flatColor() const { return QColor::fromRgbF(0, 0, 0, flatOpacity); }
    bool lastDot() const { return circle() && isLastCast(); }
    QColor failedRing() const;
    QColor dashColor() const;
    QColor addColor() const;
    QString help() const;
    QString accessibleName() const;
    QString accessibleValue() const;
    QString accessibleHint() const;
    // Items {text, action, destructive, enabled} for the context menu: a
    // filled slot's four, none for an empty one.
    QVariantList menu() const;

signals:
    void changed();

private:
    bool names(const QVariant &id) const;
    template<class T>
    void assign(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        emit changed();
    }

    SkinPalette m_palette;
    int m_index = 0;
    QString m_shortcutID;
    QString m_title;
    QString m_kind;
    QVariant m_casting;
    QVariant m_lastCast;
    QVariant m_failedCast;
    QVariant m_errorKey;
    bool m_hovering = false;
    QString m_castLevel = QStringLiteral("full");
};
