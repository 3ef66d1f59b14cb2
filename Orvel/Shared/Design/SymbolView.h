#pragma once

#include "RawEnum.h"
#include "TintedGlyphItem.h"

#include <QPainterPath>

// The few desktop symbols the views name (the system's icon names), drawn from
// our own strokes on a 24 x 24 grid.
enum class SystemSymbol { wifiSlash, arrowUpRight };

template<>
struct RawEnumCases<SystemSymbol> {
    static constexpr std::array<std::pair<SystemSymbol, std::string_view>, 2> cases{
        {{SystemSymbol::wifiSlash, "wifi.slash"}, {SystemSymbol::arrowUpRight, "arrow.up.right"}}};
};

// A system symbol filled with one colour, size x size and centred in the item,
// as a symbol set in a font of that size. Decorative.
class SymbolView : public TintedGlyphItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString symbol READ symbolName WRITE setSymbolName NOTIFY symbolChanged)

public:
    explicit SymbolView(QQuickItem *parent = nullptr);

    SystemSymbol symbol() const { return m_symbol; }
    QString symbolName() const { return toRawValue(m_symbol); }
    void setSymbolName(const QString &name);

    // The filled outline of the symbol fitted to the square.
    static QPainterPath path(SystemSymbol symbol, const QRectF &square);
    void paint(QPainter *painter) override;

signals:
    void symbolChanged();

private:
    SystemSymbol m_symbol = SystemSymbol::arrowUpRight;
};
