#pragma once

#include "Date.h"
#include "RawEnum.h"

#include <QColor>
#include <QList>
#include <QPainterPath>
#include <QSize>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <QtPlugin>
#include <functional>
#include <optional>

// What the desktop's widget system provides to a widget bundle: families,
// rendering modes, timelines and the configuration of each widget.

enum class WidgetFamily { systemSmall, systemMedium, systemLarge };

template<>
struct RawEnumCases<WidgetFamily> {
    using F = WidgetFamily;
    static constexpr std::array<std::pair<F, std::string_view>, 3> cases{{{F::systemSmall, "systemSmall"},
        {F::systemMedium, "systemMedium"}, {F::systemLarge, "systemLarge"}}};
};

// fullColor on the desktop; accented and vibrant are the system's tinted looks.
enum class WidgetRenderingMode { fullColor, accented, vibrant };

template<>
struct RawEnumCases<WidgetRenderingMode> {
    using M = WidgetRenderingMode;
    static constexpr std::array<std::pair<M, std::string_view>, 3> cases{
        {{M::fullColor, "fullColor"}, {M::accented, "accented"}, {M::vibrant, "vibrant"}}};
};

class QPainter;

// The host's choices where the desktop decides: one size per family, the
// margins around a widget's content, the corner radius, and the plain looks of
// the accented and vibrant modes.
struct WidgetMetrics {
    static constexpr double contentMargin = 16;
    static constexpr double cornerRadius = 22;

    static QSize size(WidgetFamily family);
    // The widget's rounded outline in a frame of that size.
    static QPainterPath outline(QSizeF size);
    // Keeps a layer that fills the whole widget inside its outline, with
    // anti-aliased edges: the window stays clear outside it for the desktop.
    static void clipToOutline(QPainter &painter, QSizeF size);
    // The tint of the accent group in the accented mode.
    static QColor accentTint();
    // What replaces a widget's own background in the accented and vibrant modes.
    static QColor plainGround(WidgetRenderingMode mode);
    // The secondary level of the content's foreground (white on the dark widgets).
    static QColor secondary();
};

// When the host asks a widget for its next timeline.
struct TimelineReloadPolicy {
    enum class Kind { atEnd, after, never };
    Kind kind = Kind::atEnd;
    Date date;

    static TimelineReloadPolicy atEnd() { return {}; }
    static TimelineReloadPolicy after(Date date) { return {Kind::after, date}; }
    static TimelineReloadPolicy never() { return {Kind::never, {}}; }

    // The moment to ask again, given the date of the timeline's last entry.
    std::optional<Date> reloadDate(std::optional<Date> lastEntryDate) const;

    friend bool operator==(const TimelineReloadPolicy &, const TimelineReloadPolicy &) = default;
};

template<class Entry>
struct Timeline {
    QList<Entry> entries;
    TimelineReloadPolicy policy;
};

// An entry as the host keeps it: its date and the value the view receives as
// its `entry` property.
struct WidgetEntry {
    Date date;
    QVariant value;
};

// One widget of a bundle: its kind, texts, families, view and timeline provider.
struct WidgetConfiguration {
    QString kind;
    QString displayName;
    QString description;
    QList<WidgetFamily> families;
    // A QML component whose root has the property `entry`.
    QUrl view;
    std::function<WidgetEntry()> placeholder;
    std::function<WidgetEntry()> snapshot;
    std::function<Timeline<WidgetEntry>()> timeline;

    bool supports(WidgetFamily family) const { return families.contains(family); }

    WidgetConfiguration configurationDisplayName(const QString &name) &&
    {
        displayName = name;
        return std::move(*this);
    }
    WidgetConfiguration withDescription(const QString &text) &&
    {
        description = text;
        return std::move(*this);
    }
    WidgetConfiguration supportedFamilies(const QList<WidgetFamily> &list) &&
    {
        families = list;
        return std::move(*this);
    }

    // A configuration without user settings: every call goes to the provider,
    // whose entries carry a `date` and travel to the view as they are.
    template<class Provider>
    static WidgetConfiguration staticConfiguration(const QString &kind, Provider provider, const QUrl &view)
    {
        const auto wrap = [](const auto &entry) {
            return WidgetEntry{entry.date, QVariant::fromValue(entry)};
        };
        WidgetConfiguration configuration;
        configuration.kind = kind;
        configuration.view = view;
        configuration.placeholder = [provider, wrap] { return wrap(provider.placeholder()); };
        configuration.snapshot = [provider, wrap] { return wrap(provider.snapshot()); };
        configuration.timeline = [provider, wrap] {
            const auto timeline = provider.timeline();
            Timeline<WidgetEntry> result{{}, timeline.policy};
            for (const auto &entry : timeline.entries)
                result.entries.append(wrap(entry));
            return result;
        };
        return configuration;
    }
};

// The root of a widget plug-in.
class WidgetBundle {
public:
    virtual ~WidgetBundle();
    // The widgets, in the order the host lists them.
    virtual QList<WidgetConfiguration> body() const = 0;
};

#define OrvelWidgetBundle_iid "com.velbrandtoro.Orvel.WidgetBundle/1.0"
Q_DECLARE_INTERFACE(WidgetBundle, OrvelWidgetBundle_iid)
