#pragma once

#include "DisplayScope.h"
#include "Playback.h"

#include <QJsonObject>
#include <QObject>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

// The dashboard's texts that depend on a state: the connection line, the
// display scope caption, the version and the About page's destinations.
// Every text comes back localized.
class DashboardTexts : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString versionText READ versionTextValue CONSTANT)
    Q_PROPERTY(QUrl supportMail READ supportMailValue CONSTANT)
    Q_PROPERTY(QUrl webPage READ webPageValue CONSTANT)
    Q_PROPERTY(QString webHost READ webHostValue CONSTANT)

public:
    static constexpr QLatin1String fallbackVersion{"1.2.0"};

    explicit DashboardTexts(QObject *parent = nullptr);

    // Only a ready Spotify counts as connected.
    static QString connectionCaption(PlayerAvailability availability);
    static QString displayScopeCaption(DisplayScope scope);
    static QString versionText(const QJsonObject &info);
    static QString versionText();
    // The rivista switch caption.
    static QString switchCaption(bool on);
    // mailto: the maker's address with the subject "Orvel".
    static QUrl supportMail(const QJsonObject &info);
    static QUrl webPage(const QJsonObject &info);

    Q_INVOKABLE QString connection(const QString &availability) const;
    Q_INVOKABLE QString displayScope(const QString &scope) const;
    Q_INVOKABLE QString switchState(bool on) const { return switchCaption(on); }

private:
    QString versionTextValue() const { return versionText(); }
    QUrl supportMailValue() const;
    QUrl webPageValue() const;
    QString webHostValue() const { return webPageValue().host(); }
};
