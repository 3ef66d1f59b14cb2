#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The one rule for whether the desktop widgets exist here, and every text that
// changes with it. Asked afresh on each call; the texts are keys for localized().
struct WidgetSupport {
    static bool isSupported();
    static QString title();
    static QString subtitle();
    static QString guideButtonTitle();
    static QString guideTitle();
    static QString guideSubtitle();
    static QString setupTitle();
    static QString setupSubtitle();
    static QString surfacesSubtitle();
    static QString noPanelsHint();
};

// WidgetSupport for QML, with the texts already localized.
class WidgetSupportTexts : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(WidgetSupport)
    QML_SINGLETON
    Q_PROPERTY(bool isSupported READ isSupported CONSTANT)
    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(QString subtitle READ subtitle CONSTANT)
    Q_PROPERTY(QString guideButtonTitle READ guideButtonTitle CONSTANT)
    Q_PROPERTY(QString guideTitle READ guideTitle CONSTANT)
    Q_PROPERTY(QString guideSubtitle READ guideSubtitle CONSTANT)
    Q_PROPERTY(QString setupTitle READ setupTitle CONSTANT)
    Q_PROPERTY(QString setupSubtitle READ setupSubtitle CONSTANT)
    Q_PROPERTY(QString surfacesSubtitle READ surfacesSubtitle CONSTANT)
    Q_PROPERTY(QString noPanelsHint READ noPanelsHint CONSTANT)

public:
    explicit WidgetSupportTexts(QObject *parent = nullptr);

    bool isSupported() const { return WidgetSupport::isSupported(); }
    QString title() const;
    QString subtitle() const;
    QString guideButtonTitle() const;
    QString guideTitle() const;
    QString guideSubtitle() const;
    QString setupTitle() const;
    QString setupSubtitle() const;
    QString surfacesSubtitle() const;
    QString noPanelsHint() const;
};
