#pragma once

#include "MusicEntry.h"
#include "SkinPalette.h"
#include "Typography.h"
#include "WidgetKit.h"

#include <QFont>
#include <QObject>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

// What the shortcuts view shows for an entry, family and rendering mode: the
// first shortcuts as tiles (or the invitation), their glyphs, the header's
// title font and the colours of the tile palette.
class ShortcutsWidgetModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QVariant entry READ entryValue WRITE setEntryValue NOTIFY changed)
    Q_PROPERTY(QString family READ familyName WRITE setFamilyName NOTIFY changed)
    Q_PROPERTY(QString renderingMode READ renderingModeName WRITE setRenderingModeName NOTIFY changed)

    Q_PROPERTY(QString skin READ skinName NOTIFY changed)
    // Each tile as {id, title, glyph, link}.
    Q_PROPERTY(QVariantList tiles READ tiles NOTIFY changed)
    Q_PROPERTY(bool empty READ empty NOTIFY changed)
    Q_PROPERTY(bool showsEmptyImage READ showsEmptyImage NOTIFY changed)
    Q_PROPERTY(double rowSpacing READ rowSpacingValue NOTIFY changed)
    Q_PROPERTY(QFont titleFont READ titleFontValue NOTIFY changed)
    Q_PROPERTY(QColor accent READ accent NOTIFY changed)
    Q_PROPERTY(QColor tileFill READ tileFill NOTIFY changed)
    Q_PROPERTY(QColor glyphColor READ glyphColor NOTIFY changed)
    Q_PROPERTY(QUrl shortcutsURL READ shortcutsURL CONSTANT)

public:
    static constexpr double tileHeight = 34;
    static constexpr double tileRadius = 9;
    static constexpr double glyphSize = 11;
    static constexpr double backdropIntensity = 0.08;

    explicit ShortcutsWidgetModel(QObject *parent = nullptr);

    // 8 in the large family, 4 in any other.
    static int limit(WidgetFamily family);
    static double rowSpacing(WidgetFamily family);
    // The first `limit` shortcuts in stored order.
    static QList<MusicShortcut> shown(const QList<MusicShortcut> &shortcuts, WidgetFamily family);
    // The stored glyph, else the standard one of the link's kind.
    static SkillGlyph tileGlyph(const MusicShortcut &shortcut);
    static FontDescription titleFont(Skin skin);
    // Tiles take their colours from the skin over the brand aura, whatever the artwork.
    static SkinPalette tilePalette(Skin skin);

    QVariant entryValue() const { return QVariant::fromValue(m_entry); }
    void setEntryValue(const QVariant &value);
    void setEntry(const MusicEntry &entry);
    QString familyName() const { return toRawValue(m_family); }
    void setFamilyName(const QString &name);
    QString renderingModeName() const { return toRawValue(m_mode); }
    void setRenderingModeName(const QString &name);

    QString skinName() const { return toRawValue(m_entry.skin); }
    QVariantList tiles() const;
    bool empty() const { return m_entry.shortcuts.isEmpty(); }
    bool showsEmptyImage() const { return m_mode == WidgetRenderingMode::fullColor; }
    double rowSpacingValue() const { return rowSpacing(m_family); }
    QFont titleFontValue() const { return titleFont(m_entry.skin).toQFont(); }
    QColor accent() const { return tilePalette(m_entry.skin).accentColor(); }
    QColor tileFill() const { return tilePalette(m_entry.skin).fillStrongColor(); }
    QColor glyphColor() const;
    QUrl shortcutsURL() const;

signals:
    void changed();

private:
    MusicEntry m_entry;
    WidgetFamily m_family = WidgetFamily::systemMedium;
    WidgetRenderingMode m_mode = WidgetRenderingMode::fullColor;
};
