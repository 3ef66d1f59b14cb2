#pragma once

#include <QDBusVariant>
#include <QObject>
#include <optional>

// The desktop's accessibility display settings. Linux desktops expose only
// "animations off", which stands for Reduce Motion; the other two stay false.
// Tests and the command line can override each value.
class SystemAppearance : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool reduceMotion READ reduceMotion NOTIFY changed)
    Q_PROPERTY(bool reduceTransparency READ reduceTransparency NOTIFY changed)
    Q_PROPERTY(bool reducedLuminance READ reducedLuminance NOTIFY changed)

public:
    static SystemAppearance *shared();

    bool reduceMotion() const { return m_override.reduceMotion.value_or(m_desktopReduceMotion); }
    bool reduceTransparency() const { return m_override.reduceTransparency.value_or(false); }
    bool reducedLuminance() const { return m_override.reducedLuminance.value_or(false); }

    struct Overrides {
        std::optional<bool> reduceMotion;
        std::optional<bool> reduceTransparency;
        std::optional<bool> reducedLuminance;
    };
    const Overrides &overrides() const { return m_override; }
    void setOverrides(const Overrides &overrides);

signals:
    void changed();

private slots:
    void onPortalSettingChanged(const QString &group, const QString &key, const QDBusVariant &value);

private:
    explicit SystemAppearance(QObject *parent = nullptr);
    void readDesktop();

    bool m_desktopReduceMotion = false;
    Overrides m_override;
};
