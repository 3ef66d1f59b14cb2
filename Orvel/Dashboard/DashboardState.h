#pragma once

#include "QmlOwners.h"
#include "RawEnum.h"

#include <QObject>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <optional>

enum class DashboardSection { overview, shortcuts, appearance, personalization, about };

template<>
struct RawEnumCases<DashboardSection> {
    using S = DashboardSection;
    static constexpr std::array<std::pair<S, std::string_view>, 5> cases{
        {{S::overview, "overview"}, {S::shortcuts, "shortcuts"}, {S::appearance, "appearance"},
            {S::personalization, "personalization"}, {S::about, "about"}}};
};

// The sidebar title, looked up afresh on each call. "appearance" is the page
// titled "Preferences", "personalization" the one titled "Appearance".
QString title(DashboardSection section);

// The dashboard's selected section and the skill slot waiting for a shortcut.
// Every assignment announces itself, even when the value stays the same, so
// re-opening the same section still reaches the views. Views ask for the
// dashboard here; the delegate answers by opening its window.
class DashboardState : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString section READ sectionRawValue WRITE setSectionRawValue NOTIFY sectionChanged)
    // An integer, or null for none.
    Q_PROPERTY(QVariant skillSlot READ skillSlotValue WRITE setSkillSlotValue NOTIFY skillSlotChanged)
    // The raw values in sidebar order.
    Q_PROPERTY(QStringList sections READ sections CONSTANT)

public:
    // No default constructor: QML would make a stray instance of its own
    // instead of asking create() for the app's.
    explicit DashboardState(QObject *parent);

    static DashboardState *create(QQmlEngine *engine, QJSEngine *)
    {
        return QmlOwners::lookup<DashboardState>(engine);
    }

    static constexpr int skillSlotCount = 6;

    // The localized title of a raw section value; empty for anything else.
    Q_INVOKABLE QString titleOf(const QString &section) const;

    DashboardSection section() const { return m_section; }
    std::optional<int> skillSlot() const { return m_skillSlot; }
    void setSection(DashboardSection section);
    // A slot the skill bar does not have is stored as none.
    void setSkillSlot(std::optional<int> slot);
    // Changes nothing itself: whoever shows the dashboard opens it there.
    void requestOpen(DashboardSection section, std::optional<int> skillSlot = std::nullopt);

signals:
    void sectionChanged();
    void skillSlotChanged();
    void openRequested(DashboardSection section, std::optional<int> skillSlot);

private:
    QStringList sections() const;
    QString sectionRawValue() const { return toRawValue(m_section); }
    void setSectionRawValue(const QString &value);
    QVariant skillSlotValue() const { return m_skillSlot ? QVariant(*m_skillSlot) : QVariant(); }
    void setSkillSlotValue(const QVariant &value);

    DashboardSection m_section = DashboardSection::overview;
    std::optional<int> m_skillSlot;
};
