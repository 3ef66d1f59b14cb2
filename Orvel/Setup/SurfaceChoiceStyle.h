#pragma once

#include "PanelModel.h"

#include <QFont>
#include <QObject>
#include <QtQml/qqmlregistration.h>

// The surface choice card, full or compact: its numbers, its texts by kind
// and what it tells assistive technology. Also the effects picker's spacing.
class SurfaceChoiceStyle : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString kind READ kindName WRITE setKindName NOTIFY changed)
    Q_PROPERTY(bool compact READ compact WRITE setCompact NOTIFY changed)
    Q_PROPERTY(bool isOn READ isOn WRITE setOn NOTIFY changed)

    Q_PROPERTY(qreal illustrationHeight READ illustrationHeight NOTIFY changed)
    Q_PROPERTY(qreal spacing READ spacing NOTIFY changed)
    Q_PROPERTY(qreal padding READ padding NOTIFY changed)
    Q_PROPERTY(QFont titleFont READ titleFont NOTIFY changed)
    Q_PROPERTY(QFont captionFont READ captionFont NOTIFY changed)
    Q_PROPERTY(QFont stateFont READ stateFont CONSTANT)
    Q_PROPERTY(qreal captionMinimumHeight READ captionMinimumHeight NOTIFY changed)
    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(QString caption READ caption NOTIFY changed)
    Q_PROPERTY(QString stateText READ stateText NOTIFY changed)
    Q_PROPERTY(QString accessibleValue READ accessibleValue NOTIFY changed)
    Q_PROPERTY(QString accessibleHint READ accessibleHint CONSTANT)
    Q_PROPERTY(qreal pickerSpacing READ pickerSpacing NOTIFY changed)

public:
    struct Metrics {
        double illustrationHeight;
        double spacing;
        double padding;
        double titleSize;
        double captionSize;
        double captionMinimumHeight;
        friend bool operator==(const Metrics &, const Metrics &) = default;
    };
    static Metrics metrics(bool compact);
    // English keys.
    static QString title(SurfaceKind kind);
    static QString caption(SurfaceKind kind);
    static QString stateText(bool on) { return on ? QStringLiteral("On") : QStringLiteral("Off"); }
    static QString accessibleValue(bool on)
    {
        return on ? QStringLiteral("Enabled") : QStringLiteral("Disabled");
    }
    static double pickerSpacing(bool compact) { return compact ? 10 : 14; }

    explicit SurfaceChoiceStyle(QObject *parent = nullptr);

    QString kindName() const { return toRawValue(m_kind); }
    void setKindName(const QString &name);
    bool compact() const { return m_compact; }
    void setCompact(bool compact);
    bool isOn() const { return m_on; }
    void setOn(bool on);

    qreal illustrationHeight() const { return metrics(m_compact).illustrationHeight; }
    qreal spacing() const { return metrics(m_compact).spacing; }
    qreal padding() const { return metrics(m_compact).padding; }
    QFont titleFont() const;
    QFont captionFont() const;
    QFont stateFont() const;
    qreal captionMinimumHeight() const { return metrics(m_compact).captionMinimumHeight; }
    QString title() const;
    QString caption() const;
    QString stateText() const;
    QString accessibleValue() const;
    QString accessibleHint() const;
    qreal pickerSpacing() const { return pickerSpacing(m_compact); }

signals:
    void changed();

private:
    SurfaceKind m_kind = SurfaceKind::notch;
    bool m_compact = false;
    bool m_on = false;
};
