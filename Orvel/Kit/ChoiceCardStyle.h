#pragma once

#include <QFont>
#include <QObject>
#include <QtQml/qqmlregistration.h>

// The selectable card of option lists, regular or compact, and what it
// tells assistive technology: one element, "title, detail", selected or not.
class ChoiceCardStyle : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool compact READ compact WRITE setCompact NOTIFY changed)
    Q_PROPERTY(bool selected READ selected WRITE setSelected NOTIFY changed)
    Q_PROPERTY(QString title READ title WRITE setTitle NOTIFY changed)
    Q_PROPERTY(QString detail READ detail WRITE setDetail NOTIFY changed)

    Q_PROPERTY(QFont titleFont READ titleFont NOTIFY changed)
    Q_PROPERTY(QFont detailFont READ detailFont NOTIFY changed)
    Q_PROPERTY(qreal padding READ padding NOTIFY changed)
    Q_PROPERTY(qreal spacing READ spacing CONSTANT)
    Q_PROPERTY(QString accessibleName READ accessibleName NOTIFY changed)
    Q_PROPERTY(QString accessibleValue READ accessibleValue NOTIFY changed)

public:
    static constexpr double spacingValue = 6;

    static double titleSize(bool compact) { return compact ? 13 : 14; }
    static double detailSize(bool compact) { return compact ? 11 : 12; }
    static double padding(bool compact) { return compact ? 12 : 14; }
    // The two texts as given, joined by a comma and a blank.
    static QString accessibleName(const QString &title, const QString &detail);
    static QString accessibleValue(bool selected);

    explicit ChoiceCardStyle(QObject *parent = nullptr);

    bool compact() const { return m_compact; }
    void setCompact(bool compact);
    bool selected() const { return m_selected; }
    void setSelected(bool selected);
    QString title() const { return m_title; }
    void setTitle(const QString &title);
    QString detail() const { return m_detail; }
    void setDetail(const QString &detail);

    QFont titleFont() const;
    QFont detailFont() const;
    qreal padding() const { return padding(m_compact); }
    qreal spacing() const { return spacingValue; }
    QString accessibleName() const { return accessibleName(m_title, m_detail); }
    QString accessibleValue() const { return accessibleValue(m_selected); }

signals:
    void changed();

private:
    template<class T>
    void assign(T &field, const T &value);

    bool m_compact = false;
    bool m_selected = false;
    QString m_title;
    QString m_detail;
};
