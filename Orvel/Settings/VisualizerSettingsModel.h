#pragma once

#include "Scheduler.h"
#include "SkinPalette.h"
#include "VisualizerSettings.h"

#include <QColor>
#include <QObject>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <optional>

// The rules of the visualizer settings page: its value texts, the chips'
// titles, marks and colours, the custom colour as hexadecimal digits, and
// the live preview's clock, which ticks at most 30 times a second and not at
// all while the preview is paused, the visualizer is off, or motion is
// reduced or light. The page binds the stored settings, the effects mode and
// the environment in, and writes the settings itself.
class VisualizerSettingsModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    // The stored settings in their JSON form; unreadable settings read as the defaults.
    Q_PROPERTY(QVariant settings READ settingsJson WRITE setSettingsJson NOTIFY changed)
    Q_PROPERTY(bool lightEffects READ lightEffects WRITE setLightEffects NOTIFY changed)
    Q_PROPERTY(bool reduceMotion READ reduceMotion WRITE setReduceMotion NOTIFY changed)
    Q_PROPERTY(Aura aura READ aura WRITE setAura NOTIFY changed)
    // The page's own state: the preview runs when the page opens.
    Q_PROPERTY(bool previewPlaying READ previewPlaying WRITE setPreviewPlaying NOTIFY changed)
    // Whether the page can be seen (Presence.onScreen): the preview's clock stops while it cannot.
    Q_PROPERTY(bool onScreen READ onScreen WRITE setOnScreen NOTIFY changed)

    Q_PROPERTY(bool previewPaused READ previewPaused NOTIFY changed)
    Q_PROPERTY(bool previewDrawnPlaying READ previewDrawnPlaying NOTIFY changed)
    Q_PROPERTY(bool previewReducedMotion READ previewReducedMotion NOTIFY changed)
    // Seconds since 2001-01-01 of the preview's last frame.
    Q_PROPERTY(double previewTime READ previewTime NOTIFY previewTimeChanged)
    Q_PROPERTY(QString previewButtonTitle READ previewButtonTitle NOTIFY changed)
    Q_PROPERTY(QString previewButtonSymbol READ previewButtonSymbol NOTIFY changed)
    Q_PROPERTY(QString intensityText READ intensityText NOTIFY changed)
    Q_PROPERTY(QString speedText READ speedText NOTIFY changed)
    Q_PROPERTY(bool showsColorPicker READ showsColorPicker NOTIFY changed)
    Q_PROPERTY(QColor customColor READ customColor NOTIFY changed)
    // {style, title, selected, settings}: one per style, the thumbnail's settings with that style.
    Q_PROPERTY(QVariantList styleChips READ styleChips NOTIFY changed)
    // {palette, title, selected, colors}: one per palette, the swatch's gradient colours.
    Q_PROPERTY(QVariantList paletteChips READ paletteChips NOTIFY changed)
    // The system's orange, for the line that says a change was not saved.
    Q_PROPERTY(QColor warningColor READ warningColor CONSTANT)

public:
    static constexpr double previewInterval = 1.0 / 30;

    explicit VisualizerSettingsModel(QObject *parent = nullptr);
    ~VisualizerSettingsModel() override;

    // The value times 100 truncated toward zero, then "%"; a value that is not
    // a number shows the fallback, and a huge one stops at the integer range.
    static QString percentText(double value, double fallback);
    // The value times 100, truncated toward zero; `fallback` for a value that is not a number.
    static int wholePercent(double value, double fallback);
    // The value with one decimal, then "×"; not a number shows the fallback.
    static QString factorText(double value, double fallback);
    // Six upper-case hexadecimal digits of sRGB components, each clamped to
    // 0…1 and truncated (0.5 gives 7F); none when a component is not a number.
    static std::optional<QString> hexOf(double red, double green, double blue);
    // The same for a picked colour in any colour model; none for an invalid colour.
    static std::optional<QString> hexOf(const QColor &color);
    // The name of a style or palette: its raw value with a capital first letter, localised.
    static QString title(const QString &rawValue);
    // The swatch of a palette chip: the aura's two colours for the artwork,
    // else the palette's colours with the current custom colour.
    static QList<QColor> chipColors(
        const VisualizerSettings &settings, VisualizerPalette palette, const Aura &aura);

    // The settings as the page hands them around, non-finite numbers included.
    static QVariantMap toVariant(const VisualizerSettings &settings);
    // A map (or JavaScript object) of the fields; a missing or mistyped field reads as its default.
    static VisualizerSettings fromVariant(const QVariant &value);
    static bool same(const VisualizerSettings &a, const VisualizerSettings &b);

    const VisualizerSettings &settings() const { return m_settings; }
    void setSettings(const VisualizerSettings &settings);
    QVariant settingsJson() const;
    void setSettingsJson(const QVariant &json);
    bool lightEffects() const { return m_lightEffects; }
    void setLightEffects(bool light);
    bool reduceMotion() const { return m_reduceMotion; }
    void setReduceMotion(bool reduce);
    Aura aura() const { return m_aura; }
    void setAura(const Aura &aura);
    bool previewPlaying() const { return m_previewPlaying; }
    void setPreviewPlaying(bool playing);

    bool previewPaused() const;
    bool onScreen() const { return m_onScreen; }
    void setOnScreen(bool onScreen);
    bool previewDrawnPlaying() const { return m_previewPlaying && m_settings.enabled; }
    bool previewReducedMotion() const { return m_reduceMotion || m_lightEffects; }
    double previewTime() const { return m_previewTime; }
    bool clockRunning() const;
    QString previewButtonTitle() const;
    QString previewButtonSymbol() const;
    QString intensityText() const;
    QString speedText() const;
    bool showsColorPicker() const { return m_settings.palette == VisualizerPalette::custom; }
    QColor customColor() const;
    QVariantList styleChips() const;
    QVariantList paletteChips() const;

    static QColor warningColor() { return QColor::fromRgbF(1.0, 0.584, 0.0); }

    Q_INVOKABLE void togglePreview() { setPreviewPlaying(!m_previewPlaying); }
    // The custom colour to store for a picked colour, or "" to keep the stored one.
    Q_INVOKABLE QString customHexFor(const QColor &color) const;

signals:
    void changed();
    void previewTimeChanged();

private:
    friend QCoro::Task<void> runPreviewClock(Scheduler &, QPointer<VisualizerSettingsModel>, TaskHandle);
    template<class T>
    void assign(T &field, const T &value);
    void tick();
    void updateClock();

    VisualizerSettings m_settings;
    bool m_lightEffects = false;
    bool m_reduceMotion = false;
    bool m_onScreen = true;
    Aura m_aura;
    bool m_previewPlaying = true;
    double m_previewTime = 0;
    TaskHandle m_clock;
};
