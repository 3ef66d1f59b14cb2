#pragma once

#include "Skin.h"

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// The skin picker's header and its two cards, rivista first, each with its
// localised title and detail, whether it is the current skin, and what it
// tells assistive technology.
class SkinPickerStyle : public QObject {
    Q_OBJECT
    QML_ELEMENT
    // The preferences' skin.
    Q_PROPERTY(QString current READ current WRITE setCurrent NOTIFY changed)

    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(QString subtitle READ subtitle CONSTANT)
    // [{skin, title, detail, selected, accessibleName, accessibleValue}]
    Q_PROPERTY(QVariantList cards READ cards NOTIFY changed)

public:
    struct Card {
        Skin skin;
        QString title;
        QString detail;
        bool selected = false;
        QString accessibleName;
        QString accessibleValue;
        friend bool operator==(const Card &, const Card &) = default;
    };
    static std::vector<Card> cards(Skin current);

    explicit SkinPickerStyle(QObject *parent = nullptr);

    QString current() const { return toRawValue(m_current); }
    void setCurrent(const QString &skin);
    QString title() const;
    QString subtitle() const;
    QVariantList cards() const;

signals:
    void changed();

private:
    Skin m_current = Skin::classico;
};
