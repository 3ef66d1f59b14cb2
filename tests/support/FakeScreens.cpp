#include "FakeScreens.h"

QRect FakeScreens::primaryGeometry() const
{
    for (const ScreenInfo &screen : list) {
        if (screen.primary)
            return QRect(0, 0, int(screen.frame.width()), int(screen.frame.height()));
    }
    return QRect();
}

void FakeScreens::set(const QList<ScreenInfo> &screens)
{
    list = screens;
    emit changed();
}

ScreenInfo FakeScreens::display(
    const QString &name, std::uint32_t number, const Rect &frame, bool primary, double barHeight)
{
    ScreenInfo screen;
    screen.name = name;
    screen.localizedName = name;
    screen.number = number;
    screen.frame = frame;
    screen.visibleFrame = Rect(frame.minX(), frame.minY(), frame.width(), frame.height() - barHeight);
    screen.primary = primary;
    return screen;
}

ScreenInfo FakeScreens::notched(ScreenInfo screen, double width, double height)
{
    return Screens::withNotch(std::move(screen), QSizeF(width, height));
}

ScreenInfo FakeScreens::withMonitor(
    ScreenInfo screen, const QString &manufacturer, const QString &model, const QString &serialNumber)
{
    screen.manufacturer = manufacturer;
    screen.model = model;
    screen.serialNumber = serialNumber;
    return screen;
}
