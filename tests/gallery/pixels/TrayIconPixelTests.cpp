#include "Pixels.h"

#include "ScopedIconTheme.h"
#include "StatusItem.h"

#include <QPainter>
#include <QTemporaryDir>

// Where no icon theme holds the tray's image, the picture the tray gets
// still stands out on a dark panel and on a light one.
TEST(TrayIconPixels, TheUnthemedIconStandsOutOnDarkAndLightPanels)
{
    const QTemporaryDir noThemes;
    const ScopedIconTheme theme({noThemes.path()});
    const QIcon icon = StatusItem::trayIcon();
    ASSERT_TRUE(icon.name().isEmpty());
    const QImage glyph = icon.pixmap(36).toImage();
    for (const QRgb panel : {qRgb(0x1e, 0x1e, 0x1e), qRgb(0xf0, 0xf0, 0xf0)}) {
        SCOPED_TRACE(QColor(panel).name().toStdString());
        QImage onPanel(glyph.size(), QImage::Format_RGB32);
        onPanel.fill(panel);
        QPainter(&onPanel).drawImage(0, 0, glyph);
        int standing = 0;
        for (int y = 0; y < onPanel.height(); ++y)
            for (int x = 0; x < onPanel.width(); ++x)
                standing += Pixels::contrast(onPanel.pixel(x, y), panel) >= 3;
        // A glyph's worth of pixels, not a few fringes.
        EXPECT_GE(standing, 60);
    }
}
