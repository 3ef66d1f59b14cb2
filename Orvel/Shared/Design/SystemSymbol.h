#pragma once

#include "OrvelGlyph.h"
#include "TintedGlyphItem.h"

#include <QImage>
#include <QString>

// The few system symbols the views name ("circle", "checkmark.circle.fill",
// "wifi.slash", …), drawn from our own paths on the glyphs' 24 x 24 grid. A
// symbol of font size s fills an s-point square.
struct SystemSymbol {
    // The symbol's path-program layers; none for a name the table lacks
    // (a few symbols are drawn as strokes instead).
    static std::vector<GlyphLayer> layers(const QString &name);
    static bool exists(const QString &name) { return !layers(name).empty(); }
};

// A system symbol filled with one colour, size x size and centred in the
// item, drawn heavier above the regular weight as a font's symbol would be.
// Decorative: no pointer hits, hidden from accessibility.
class SymbolView : public TintedGlyphItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    // A font weight number (400 regular, 500 medium, 600 semibold, …).
    Q_PROPERTY(int weight READ weight WRITE setWeight NOTIFY weightChanged)

public:
    explicit SymbolView(QQuickItem *parent = nullptr);

    QString name() const { return m_name; }
    void setName(const QString &name);
    int weight() const { return m_weight; }
    void setWeight(int weight);

    void paint(QPainter *painter) override;
    static QImage render(const QString &name, int side, const QColor &color, int weight = 400);
    // How far the outline grows on each side per 100 of weight above
    // regular, in units of the symbol's 24-unit grid.
    static constexpr double growthPerHundred = 0.35;

signals:
    void nameChanged();
    void weightChanged();

private:
    QString m_name;
    int m_weight = 400;
};
