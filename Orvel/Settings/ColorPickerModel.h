#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <optional>

// The custom colour dialog's colour as hue, saturation and value (each 0…1)
// and as the six digits the page stores. A pick in the field sets saturation
// along x and value up y; one on the hue strip sets the hue along x. The hue
// is kept on its own, so that picking a grey or black and then a saturated
// point again comes back to the hue the strip shows.
class ColorPickerModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    // The colour as it would be stored; set it to start from another colour.
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY changed)
    Q_PROPERTY(double hue READ hue NOTIFY changed)
    Q_PROPERTY(double saturation READ saturation NOTIFY changed)
    Q_PROPERTY(double value READ value NOTIFY changed)
    // The pure colour of the hue: the field's top trailing corner.
    Q_PROPERTY(QColor hueColor READ hueColor NOTIFY changed)
    // Six upper-case digits, as the stored custom colour reads.
    Q_PROPERTY(QString hex READ hex NOTIFY changed)

public:
    explicit ColorPickerModel(QObject *parent = nullptr);

    // The colour at a point of the field of `hue`; also what the pictures draw.
    static QColor colorAt(double hue, double saturation, double value);
    // Six hexadecimal digits, with or without a leading "#"; none for anything else.
    static std::optional<QColor> parseHex(const QString &text);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    double hue() const { return m_hue; }
    double saturation() const { return m_saturation; }
    double value() const { return m_value; }
    QColor hueColor() const { return colorAt(m_hue, 1, 1); }
    QString hex() const;

    // A point of a field `width` by `height`; points outside pick its edge.
    Q_INVOKABLE void pickInField(double x, double y, double width, double height);
    // A point along a strip `width` long.
    Q_INVOKABLE void pickHue(double x, double width);
    // Typed digits: false, and nothing changes, until they name a colour.
    Q_INVOKABLE bool enterHex(const QString &text);

signals:
    void changed();

private:
    void pick(double hue, double saturation, double value);

    QColor m_color;
    double m_hue = 0;
    double m_saturation = 0;
    double m_value = 0;
};
