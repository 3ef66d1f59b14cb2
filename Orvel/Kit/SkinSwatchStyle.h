#pragma once

#include "SkinPalette.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// A miniature of the expanded player drawn in its own skin over the
// environment's aura, whatever skin the environment holds: rivista with the
// aura's gradient, a thin progress track and a white play button; classico
// black with accent details.
class SkinSwatchStyle : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString skin READ skinName WRITE setSkinName NOTIFY changed)
    Q_PROPERTY(Aura aura READ aura WRITE setAura NOTIFY changed)

    Q_PROPERTY(SkinPalette palette READ palette NOTIFY changed)
    Q_PROPERTY(QColor background READ background NOTIFY changed)
    Q_PROPERTY(QColor backgroundEnd READ backgroundEnd NOTIFY changed)
    Q_PROPERTY(QColor border READ border NOTIFY changed)
    Q_PROPERTY(qreal coverRadius READ coverRadius NOTIFY changed)
    Q_PROPERTY(QSizeF titleBar READ titleBar NOTIFY changed)
    Q_PROPERTY(qreal trackHeight READ trackHeight NOTIFY changed)
    Q_PROPERTY(QColor progress READ progress NOTIFY changed)
    Q_PROPERTY(QColor playButton READ playButton NOTIFY changed)

public:
    struct Look {
        SkinPalette palette;
        SRGBColor background, backgroundEnd, border;
        double coverRadius = 0;
        QSizeF titleBar;
        double trackHeight = 0;
        SRGBColor progress, playButton;
        friend bool operator==(const Look &, const Look &) = default;
    };
    static Look look(Skin skin, const Aura &aura);

    explicit SkinSwatchStyle(QObject *parent = nullptr);

    Skin skin() const { return m_skin; }
    QString skinName() const { return toRawValue(m_skin); }
    void setSkinName(const QString &name);
    Aura aura() const { return m_aura; }
    void setAura(const Aura &aura);

    SkinPalette palette() const { return current().palette; }
    QColor background() const { return current().background.toQColor(); }
    QColor backgroundEnd() const { return current().backgroundEnd.toQColor(); }
    QColor border() const { return current().border.toQColor(); }
    qreal coverRadius() const { return current().coverRadius; }
    QSizeF titleBar() const { return current().titleBar; }
    qreal trackHeight() const { return current().trackHeight; }
    QColor progress() const { return current().progress.toQColor(); }
    QColor playButton() const { return current().playButton.toQColor(); }

signals:
    void changed();

private:
    Look current() const { return look(m_skin, m_aura); }

    Skin m_skin = Skin::classico;
    Aura m_aura;
};
