#include "ChoiceCardStyle.h"

#include "Localization.h"
#include "Typography.h"

QString ChoiceCardStyle::accessibleName(const QString &title, const QString &detail)
{
    return title + QStringLiteral(", ") + detail;
}

QString ChoiceCardStyle::accessibleValue(bool selected)
{
    return localized(selected ? QStringLiteral("Selected") : QStringLiteral("Not selected"));
}

ChoiceCardStyle::ChoiceCardStyle(QObject *parent)
    : QObject(parent)
{
}

template<class T>
void ChoiceCardStyle::assign(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    emit changed();
}

void ChoiceCardStyle::setCompact(bool compact)
{
    assign(m_compact, compact);
}

void ChoiceCardStyle::setSelected(bool selected)
{
    assign(m_selected, selected);
}

void ChoiceCardStyle::setTitle(const QString &title)
{
    assign(m_title, title);
}

void ChoiceCardStyle::setDetail(const QString &detail)
{
    assign(m_detail, detail);
}

QFont ChoiceCardStyle::titleFont() const
{
    return FontDescription{titleSize(m_compact), FontWeight::semibold}.toQFont();
}

QFont ChoiceCardStyle::detailFont() const
{
    FontDescription description;
    description.size = detailSize(m_compact);
    return description.toQFont();
}
