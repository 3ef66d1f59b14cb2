#include "OrvelURL.h"

#include "Bundle.h"

#include <QRegularExpression>

QString OrvelURL::scheme(const QJsonObject &info)
{
    const auto configured = Bundle::infoString(QStringLiteral("OrvelURLScheme"), info);
    // A letter, then letters, digits, "+", "-" and "."; anything else could not
    // form the links and would leave the widgets' taps going nowhere.
    static const QRegularExpression valid(QStringLiteral("^[A-Za-z][A-Za-z0-9+.\\-]*$"));
    if (!configured || !valid.match(*configured).hasMatch())
        return defaultScheme;
    return configured->toLower();
}

const QString &OrvelURL::scheme()
{
    static const QString value = scheme(Bundle::info());
    return value;
}

const QUrl &OrvelURL::player()
{
    static const QUrl url(scheme() + QStringLiteral("://player"));
    return url;
}

const QUrl &OrvelURL::shortcuts()
{
    static const QUrl url(scheme() + QStringLiteral("://shortcuts"));
    return url;
}
