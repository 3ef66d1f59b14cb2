#include "SkinEnvironment.h"

#include "SystemAppearance.h"

#include <QCoreApplication>
#include <QQmlEngine>
#include <set>

namespace {
// Every live attached object, so that a new root or a moved item can make the
// affected views look again. All of it lives on the main thread.
std::set<SkinnedAttached *> &registry()
{
    static std::set<SkinnedAttached *> attached;
    return attached;
}

// The same function QML registers for the attached type, so both find one
// attached object per item, also before the module is registered.
QObject *attachedTo(QObject *object, bool create)
{
    return qmlAttachedPropertiesObject(
        object, reinterpret_cast<QQmlAttachedPropertiesFunc>(&Skinned::qmlAttachedProperties), create);
}

QObject *parentOf(QObject *object)
{
    if (auto *item = qobject_cast<QQuickItem *>(object))
        return item->parentItem() ? item->parentItem() : item->parent();
    return object->parent();
}
} // namespace

SkinEnvironment::SkinEnvironment(QObject *parent)
    : QObject(parent)
{
}

SkinEnvironment *SkinEnvironment::defaultEnvironment()
{
    static SkinEnvironment *environment = [] {
        auto *result = new SkinEnvironment(QCoreApplication::instance());
        QQmlEngine::setObjectOwnership(result, QQmlEngine::CppOwnership);
        return result;
    }();
    return environment;
}

SkinEnvironment::Values SkinEnvironment::skinned(Skin skin, const Aura &aura, bool lightEffects,
    const AnimationSettings &animations, bool reduceMotion, bool reduceTransparency)
{
    return {skin, SkinPalette(skin, aura), aura, lightEffects,
        MotionPolicy{animations, lightEffects, reduceMotion}, reduceTransparency};
}

void SkinEnvironment::setValues(const Values &values)
{
    if (values == m_values)
        return;
    m_values = values;
    emit changed();
}

QString SkinEnvironment::level(const QString &feature) const
{
    const auto parsed = fromRawValue<AnimationFeature>(feature);
    return parsed ? toRawValue(m_values.motion.level(*parsed)) : toRawValue(MotionLevel::still);
}

bool SkinEnvironment::allows(const QString &feature) const
{
    const auto parsed = fromRawValue<AnimationFeature>(feature);
    return parsed && m_values.motion.allows(*parsed);
}

SkinnedAttached *Skinned::qmlAttachedProperties(QObject *object)
{
    return new SkinnedAttached(object);
}

SkinnedAttached *Skinned::of(QObject *object)
{
    return qobject_cast<SkinnedAttached *>(attachedTo(object, true));
}

SkinnedAttached::SkinnedAttached(QObject *attachee)
    : QObject(attachee)
    , m_attachee(attachee)
{
    registry().insert(this);
    connectItem();
    resolve();
}

SkinnedAttached::~SkinnedAttached()
{
    registry().erase(this);
    if (m_own) {
        // Views that read this root go back to what lies above it.
        m_own.reset();
        if (auto *app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app, [] { resolveAll(); }, Qt::QueuedConnection);
    }
}

void SkinnedAttached::connectItem()
{
    if (auto *item = qobject_cast<QQuickItem *>(m_attachee.data())) {
        // Queued: an item also loses its parent while it is being destroyed, and
        // nothing may be evaluated on it then; a pending call dies with it.
        connect(
            item, &QQuickItem::parentChanged, this, [this] { resolve(); }, Qt::QueuedConnection);
    }
}

void SkinnedAttached::setSkin(const QString &skin)
{
    makeRoot();
    m_inputs.skin = skinFromStoredValue(skin);
    recompute();
}

void SkinnedAttached::setAura(const Aura &aura)
{
    makeRoot();
    m_inputs.aura = aura;
    recompute();
}

void SkinnedAttached::setLightEffects(bool light)
{
    makeRoot();
    m_inputs.lightEffects = light;
    recompute();
}

QStringList SkinnedAttached::animations() const
{
    QStringList names;
    for (const auto feature : values().motion.settings.disabled)
        names << toRawValue(feature);
    return names;
}

void SkinnedAttached::setAnimations(const QStringList &disabled)
{
    makeRoot();
    m_inputs.animations = {};
    for (const QString &name : disabled) {
        if (const auto feature = fromRawValue<AnimationFeature>(name))
            m_inputs.animations.disabled.insert(*feature);
    }
    recompute();
}

void SkinnedAttached::setOwner(QObject *owner)
{
    if (owner == m_owner)
        return;
    disconnect(m_ownerGone);
    m_owner = owner;
    // Queued, as for a parent change: the owner's tree is being torn down.
    if (owner)
        m_ownerGone = connect(
            owner, &QObject::destroyed, this,
            [this] {
                emit ownerChanged();
                resolveAll();
            },
            Qt::QueuedConnection);
    emit ownerChanged();
    // Views below this one search through the owner from now on.
    resolveAll();
}

void SkinnedAttached::apply(
    Skin skin, const Aura &aura, bool lightEffects, const AnimationSettings &animations)
{
    makeRoot();
    m_inputs = {skin, aura, lightEffects, animations};
    recompute();
}

void SkinnedAttached::makeRoot()
{
    if (m_own)
        return;
    m_own = std::make_unique<SkinEnvironment>();
    // Reduce Motion and Reduce Transparency are read from the system whenever
    // they change, not from the user's settings.
    connect(SystemAppearance::shared(), &SystemAppearance::changed, m_own.get(), [this] { recompute(); });
    recompute();
    resolveAll();
}

void SkinnedAttached::recompute()
{
    m_own->setValues(
        SkinEnvironment::skinned(m_inputs.skin, m_inputs.aura, m_inputs.lightEffects, m_inputs.animations,
            SystemAppearance::shared()->reduceMotion(), SystemAppearance::shared()->reduceTransparency()));
    // The item palette is inherited by everything below: text and controls
    // that do not choose their own colours take the skin's text and accent.
    if (auto *item = qobject_cast<QQuickItem *>(m_attachee.data())) {
        if (auto *palette = item->property("palette").value<QObject *>()) {
            const SkinPalette &colors = m_own->values().palette;
            for (const char *role : {"windowText", "text", "buttonText"})
                palette->setProperty(role, colors.textColor());
            for (const char *role : {"highlight", "link"})
                palette->setProperty(role, colors.accentColor());
        }
    }
}

void SkinnedAttached::resolve()
{
    // Watch every ancestor: moving any of them can put this view under another root.
    for (const auto &connection : m_ancestorConnections)
        disconnect(connection);
    m_ancestorConnections.clear();
    SkinEnvironment *found = m_own.get();
    QObject *start = m_owner ? m_owner.data() : m_attachee ? parentOf(m_attachee) : nullptr;
    std::set<QObject *> owners; // owners naming each other end the search
    for (QObject *p = start; !found && p;) {
        if (auto *item = qobject_cast<QQuickItem *>(p))
            m_ancestorConnections.push_back(
                connect(item, &QQuickItem::parentChanged, this, [this] { resolve(); }));
        auto *above = qobject_cast<SkinnedAttached *>(attachedTo(p, false));
        if (above && above->m_own)
            found = above->m_own.get();
        // A view above that names its owner hands the search over to it.
        if (above && above->m_owner)
            p = owners.insert(above->m_owner).second ? above->m_owner.data() : nullptr;
        else
            p = parentOf(p);
    }
    if (!found)
        found = SkinEnvironment::defaultEnvironment();
    if (found == m_environment)
        return;
    const bool differs = !m_environment || m_environment->values() != found->values();
    disconnect(m_environmentConnection);
    m_environment = found;
    m_environmentConnection = connect(found, &SkinEnvironment::changed, this, &SkinnedAttached::changed);
    if (differs)
        emit changed();
}

void SkinnedAttached::resolveAll()
{
    const std::vector<SkinnedAttached *> all(registry().begin(), registry().end());
    for (SkinnedAttached *attached : all)
        attached->resolve();
}
