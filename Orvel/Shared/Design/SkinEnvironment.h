#pragma once

#include "Motion.h"
#include "SkinPalette.h"

#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QStringList>
#include <QtQml/qqmlregistration.h>
#include <memory>

// The five values every view draws with: skin, palette, aura, light effects
// and motion policy. One object per skinned window root; views without a
// skinned root above them read the process-wide default.
class SkinEnvironment : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Read through the Skinned attached properties")
    Q_PROPERTY(QString skin READ skinName NOTIFY changed)
    Q_PROPERTY(SkinPalette palette READ palette NOTIFY changed)
    Q_PROPERTY(Aura aura READ aura NOTIFY changed)
    Q_PROPERTY(bool lightEffects READ lightEffects NOTIFY changed)
    Q_PROPERTY(bool reduceMotion READ reduceMotion NOTIFY changed)
    Q_PROPERTY(bool reduceTransparency READ reduceTransparency NOTIFY changed)

public:
    struct Values {
        Skin skin = Skin::classico;
        SkinPalette palette;
        Aura aura;
        bool lightEffects = false;
        MotionPolicy motion;
        // The system's Reduce Transparency, read like Reduce Motion.
        bool reduceTransparency = false;
        friend bool operator==(const Values &, const Values &) = default;
    };

    explicit SkinEnvironment(QObject *parent = nullptr);

    // What a view with no skinned root above it reads: classico over the
    // brand aura, light effects off, every animation allowed.
    static SkinEnvironment *defaultEnvironment();
    // The skinned modifier's values: the palette of the skin over the aura and
    // a motion policy of the settings, the light flag and Reduce Motion.
    static Values skinned(Skin skin, const Aura &aura, bool lightEffects, const AnimationSettings &animations,
        bool reduceMotion, bool reduceTransparency = false);

    const Values &values() const { return m_values; }
    void setValues(const Values &values);

    Skin skin() const { return m_values.skin; }
    QString skinName() const { return toRawValue(m_values.skin); }
    SkinPalette palette() const { return m_values.palette; }
    Aura aura() const { return m_values.aura; }
    bool lightEffects() const { return m_values.lightEffects; }
    bool reduceMotion() const { return m_values.motion.reduceMotion; }
    bool reduceTransparency() const { return m_values.reduceTransparency; }
    const MotionPolicy &motion() const { return m_values.motion; }

    // The motion level of a feature by its raw name: "full", "reduced" or "still";
    // an unknown feature is still.
    Q_INVOKABLE QString level(const QString &feature) const;
    Q_INVOKABLE bool allows(const QString &feature) const;

signals:
    void changed();

private:
    Values m_values;
};

class SkinnedAttached;

// The skinned modifier. Setting any of skin, aura, lightEffects or animations
// on an item makes it the root of its own environment; every item reads the
// environment of the nearest such root at or above it:
//     Item { Skinned.skin: "rivista"; Skinned.aura: coordinator.aura }
//     Text { color: Skinned.palette.text }
// A view that stands outside its owner's tree, as a popup's parts do in the
// window's overlay, names the owner and reads the environment there:
//     background: Rectangle { Skinned.owner: popup.parent }
class Skinned : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Skinned is an attached property")
    QML_ATTACHED(SkinnedAttached)

public:
    static SkinnedAttached *qmlAttachedProperties(QObject *object);
    // The attached object of an item, created when needed.
    static SkinnedAttached *of(QObject *object);
};

class SkinnedAttached : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString skin READ skin WRITE setSkin NOTIFY changed)
    Q_PROPERTY(Aura aura READ aura WRITE setAura NOTIFY changed)
    Q_PROPERTY(bool lightEffects READ lightEffects WRITE setLightEffects NOTIFY changed)
    Q_PROPERTY(QStringList animations READ animations WRITE setAnimations NOTIFY changed)
    Q_PROPERTY(SkinPalette palette READ palette NOTIFY changed)
    Q_PROPERTY(bool reduceMotion READ reduceMotion NOTIFY changed)
    Q_PROPERTY(bool reduceTransparency READ reduceTransparency NOTIFY changed)
    Q_PROPERTY(SkinEnvironment *environment READ environment NOTIFY changed)
    Q_PROPERTY(QObject *owner READ owner WRITE setOwner NOTIFY ownerChanged)

public:
    explicit SkinnedAttached(QObject *attachee);
    ~SkinnedAttached() override;

    // Never null: a root that went away reads as the default until views look again.
    SkinEnvironment *environment() const
    {
        return m_environment ? m_environment.data() : SkinEnvironment::defaultEnvironment();
    }
    const SkinEnvironment::Values &values() const { return environment()->values(); }
    bool isRoot() const { return bool(m_own); }

    QString skin() const { return environment()->skinName(); }
    // Unknown skins read as classico, as stored skins do.
    void setSkin(const QString &skin);
    Aura aura() const { return environment()->aura(); }
    void setAura(const Aura &aura);
    bool lightEffects() const { return environment()->lightEffects(); }
    void setLightEffects(bool light);
    // The switched-off animation features by raw name.
    QStringList animations() const;
    void setAnimations(const QStringList &disabled);
    // Where the search for a root starts instead of the attachee's parent.
    QObject *owner() const { return m_owner; }
    void setOwner(QObject *owner);
    SkinPalette palette() const { return environment()->palette(); }
    bool reduceMotion() const { return environment()->reduceMotion(); }
    bool reduceTransparency() const { return environment()->reduceTransparency(); }

    // The same modifier from C++, all four arguments at once.
    void apply(Skin skin, const Aura &aura, bool lightEffects, const AnimationSettings &animations);

    Q_INVOKABLE QString level(const QString &feature) const { return environment()->level(feature); }
    Q_INVOKABLE bool allows(const QString &feature) const { return environment()->allows(feature); }

signals:
    void changed();
    void ownerChanged();

private:
    struct Inputs {
        Skin skin = Skin::classico;
        Aura aura;
        bool lightEffects = false;
        AnimationSettings animations;
    };
    void makeRoot();
    void recompute();
    void resolve();
    static void resolveAll();
    void connectItem();

    QPointer<QObject> m_attachee;
    QPointer<QObject> m_owner;
    QMetaObject::Connection m_ownerGone;
    std::unique_ptr<SkinEnvironment> m_own;
    Inputs m_inputs;
    QPointer<SkinEnvironment> m_environment;
    QMetaObject::Connection m_environmentConnection;
    std::vector<QMetaObject::Connection> m_ancestorConnections;
};

// How a C++ view reaches its environment: attached on first use, never in the
// view's constructor (QML gives an item its own bookkeeping only after
// constructing it), with `onChange` run whenever the environment changes.
// Views call get() from componentComplete() so QML-made ones are linked at once.
class EnvironmentLink {
public:
    template<class F>
    SkinnedAttached *get(QQuickItem *item, F onChange)
    {
        if (!m_attached) {
            m_attached = Skinned::of(item);
            QObject::connect(m_attached, &SkinnedAttached::changed, item, onChange);
        }
        return m_attached;
    }

private:
    QPointer<SkinnedAttached> m_attached;
};
