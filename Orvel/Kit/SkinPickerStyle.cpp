#include "SkinPickerStyle.h"

#include "ChoiceCardStyle.h"
#include "Localization.h"

#include <QVariantMap>

namespace {
QString titleOf(Skin skin)
{
    return skin == Skin::rivista ? QStringLiteral("Rivista") : QStringLiteral("Classico");
}

QString detailOf(Skin skin)
{
    return skin == Skin::rivista ? QStringLiteral("Type over glass tinted by the cover.")
                                 : QStringLiteral("Solid black panels and classic controls.");
}
} // namespace

std::vector<SkinPickerStyle::Card> SkinPickerStyle::cards(Skin current)
{
    std::vector<Card> result;
    for (const Skin skin : allCases<Skin>()) {
        const QString title = localized(titleOf(skin)), detail = localized(detailOf(skin));
        const bool selected = skin == current;
        result.push_back({skin, title, detail, selected, ChoiceCardStyle::accessibleName(title, detail),
            ChoiceCardStyle::accessibleValue(selected)});
    }
    return result;
}

SkinPickerStyle::SkinPickerStyle(QObject *parent)
    : QObject(parent)
{
}

void SkinPickerStyle::setCurrent(const QString &skin)
{
    const Skin parsed = skinFromStoredValue(skin);
    if (parsed == m_current)
        return;
    m_current = parsed;
    emit changed();
}

QString SkinPickerStyle::title() const
{
    return localized(QStringLiteral("Skin"));
}

QString SkinPickerStyle::subtitle() const
{
    return localized(QStringLiteral("Choose how Orvel looks."));
}

QVariantList SkinPickerStyle::cards() const
{
    QVariantList list;
    for (const Card &card : cards(m_current)) {
        list << QVariantMap{{QStringLiteral("skin"), toRawValue(card.skin)},
            {QStringLiteral("title"), card.title}, {QStringLiteral("detail"), card.detail},
            {QStringLiteral("selected"), card.selected},
            {QStringLiteral("accessibleName"), card.accessibleName},
            {QStringLiteral("accessibleValue"), card.accessibleValue}};
    }
    return list;
}
