#include "Pixels.h"

// The custom colour dialog draws its field and hue strip under the software
// renderer: a field that shades along both axes, a strip through the hues.
namespace {
QColor at(const QImage &image, int x, int y)
{
    return QColor(image.pixel(x, y));
}
// How far a colour is from grey.
int chroma(const QColor &c)
{
    return std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()});
}
} // namespace

TEST(SettingsPixels, TheColourFieldShadesAlongBothAxesAndTheStripRunsThroughTheHues)
{
    for (const char *scene : {"CustomColorDialog.classico.open", "CustomColorDialog.rivista.open"}) {
        SCOPED_TRACE(scene);
        QRect field, strip, hueMarker;
        QList<std::pair<QRect, QPoint>> texts; // a text's rectangle and a point of its ground
        const RenderedScene picture
            = Pixels::render(QString::fromLatin1(scene), [&](ScriptedState &, QQuickItem *root) {
                  const auto find = [root](const char *name) { return root->findChild<QQuickItem *>(name); };
                  ASSERT_TRUE(find("colorField") && find("hueStrip") && find("hueMarker"));
                  field = Pixels::rectOf(find("colorField")).adjusted(3, 3, -3, -3);
                  strip = Pixels::rectOf(find("hueStrip")).adjusted(7, 0, -7, 0);
                  hueMarker = Pixels::rectOf(find("hueMarker")).adjusted(-2, 0, 2, 0);
                  for (const char *name : {"dialogTitle", "cancel"}) {
                      const QRect text = Pixels::rectOf(find(name));
                      texts.append({text, QPoint(text.left() - 3, text.center().y())});
                  }
                  // The digits on the entry's own fill, clear of them at its trailing end.
                  const QRect entry = Pixels::rectOf(find("hexField"));
                  texts.append({entry.adjusted(6, 6, -6, -6), QPoint(entry.right() - 5, entry.center().y())});
              });
        ASSERT_FALSE(field.isEmpty());
        const QImage &image = picture.image;
        EXPECT_GT(Pixels::colours(image, field).size(), 2000);

        // Grey at the leading edge to saturated at the trailing one, along the middle row.
        const int row = field.center().y();
        EXPECT_LT(chroma(at(image, field.left(), row)), 8);
        EXPECT_GT(chroma(at(image, field.right(), row)), 100);
        for (int x = field.left(); x + 20 <= field.right(); x += 20)
            EXPECT_LE(chroma(at(image, x, row)), chroma(at(image, x + 20, row)) + 1) << "x " << x;
        // Bright at the top to black at the bottom, along a column clear of the marker.
        const int column = field.left() + field.width() / 5;
        EXPECT_GT(at(image, column, field.top()).value(), 230);
        EXPECT_LT(at(image, column, field.bottom()).value(), 10);
        for (int y = field.top(); y + 16 <= field.bottom(); y += 16)
            EXPECT_GE(at(image, column, y).value() + 1, at(image, column, y + 16).value()) << "y " << y;

        // The strip's hue rises from red through green and blue, beside its marker.
        const int middle = strip.center().y();
        int last = -1;
        QSet<int> sixths;
        for (int x = strip.left(); x <= strip.right(); x += 4) {
            if (hueMarker.contains(x, middle))
                continue;
            const QColor colour = at(image, x, middle);
            EXPECT_GT(colour.hsvSaturation(), 230) << "x " << x;
            EXPECT_GE(colour.hsvHue(), last) << "x " << x;
            last = std::max(last, colour.hsvHue());
            sixths.insert(colour.hsvHue() / 60);
        }
        EXPECT_EQ(sixths.size(), 6);
        EXPECT_GT(last, 330);

        // Its texts read on its ground, taken just beside each.
        for (const auto &[text, ground] : texts)
            EXPECT_GE(Pixels::bestContrast(image, text, image.pixel(ground)), 4.5) << "at " << text.x();
    }
}
