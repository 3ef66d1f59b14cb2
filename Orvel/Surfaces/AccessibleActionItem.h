#pragma once

#include <QQuickItem>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

// One accessible button with named actions beside its press (AT-SPI lists
// them; QML's Accessible gives an item only the standard ones). Its children
// are not part of the accessibility tree: it speaks for them. The action
// names are localisation keys, shown localised; performing one emits
// `actionTriggered` with its key, pressing emits `pressed`.
// Give it an `Accessible.role` in QML so its parent lists it.
class AccessibleActionItem : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QString value READ value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(QStringList actions READ actions WRITE setActions NOTIFY actionsChanged)

public:
    explicit AccessibleActionItem(QQuickItem *parent = nullptr);

    QString name() const { return m_name; }
    void setName(const QString &name);
    QString value() const { return m_value; }
    void setValue(const QString &value);
    QStringList actions() const { return m_actions; }
    void setActions(const QStringList &actions);

signals:
    void nameChanged();
    void valueChanged();
    void actionsChanged();
    void pressed();
    void actionTriggered(const QString &action);

private:
    QString m_name;
    QString m_value;
    QStringList m_actions;
};
