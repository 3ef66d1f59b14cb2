#include "WaylandOutputs.h"

#include <algorithm>
#include <cstdlib>

namespace WaylandOutputs {

bool samePlace(const QRect &display, const WaylandOutput &output)
{
    // XWayland and Qt each round a scaled size once.
    const auto near = [](int a, int b) { return std::abs(a - b) <= 1; };
    const QRect &area = output.area;
    return !area.isEmpty() && near(display.x(), area.x()) && near(display.y(), area.y())
        && near(display.width(), area.width()) && near(display.height(), area.height());
}

QList<std::optional<WaylandOutput>> match(const QList<QRect> &displays, const QList<WaylandOutput> &outputs)
{
    QList<std::optional<WaylandOutput>> matched;
    QSet<qsizetype> taken;
    for (const QRect &display : displays) {
        std::optional<WaylandOutput> found;
        for (qsizetype index = 0; index < outputs.size(); ++index) {
            if (!taken.contains(index) && samePlace(display, outputs[index])) {
                taken.insert(index);
                found = outputs[index];
                break;
            }
        }
        matched.append(found);
    }
    return matched;
}

QSet<std::uint32_t> fullScreenOutputs(
    const QList<WaylandToplevel> &toplevels, const QList<WaylandOutput> &outputs)
{
    QSet<std::uint32_t> known;
    for (const WaylandOutput &output : outputs)
        known.insert(output.id);
    QSet<std::uint32_t> covered;
    for (const WaylandToplevel &toplevel : toplevels) {
        if (!toplevel.fullScreen || toplevel.minimized || toplevel.elsewhere)
            continue;
        // An output that has gone, or was never announced, covers no display.
        for (const std::uint32_t id : toplevel.outputs) {
            if (known.contains(id))
                covered.insert(id);
        }
        if (!toplevel.outputs.isEmpty() || !toplevel.area || toplevel.area->isEmpty())
            continue;
        for (const WaylandOutput &output : outputs) {
            if (output.area.intersects(*toplevel.area))
                covered.insert(output.id);
        }
    }
    return covered;
}

QList<QRect> fullScreenAreas(const QList<DisplayPixels> &displays, const QList<WaylandOutput> &outputs,
    const QList<WaylandToplevel> &toplevels)
{
    const QSet<std::uint32_t> covered = fullScreenOutputs(toplevels, outputs);
    QList<QRect> areas;
    if (covered.isEmpty())
        return areas;
    for (const DisplayPixels &display : displays) {
        const QRect native = display.native();
        const bool full = std::any_of(outputs.begin(), outputs.end(), [&](const WaylandOutput &output) {
            return covered.contains(output.id) && samePlace(native, output);
        });
        if (full)
            areas.append(display.geometry);
    }
    return areas;
}

QString displayName(const WaylandOutput &output)
{
    const QString make = output.make.simplified();
    const QString model = output.model.simplified();
    if (!make.isEmpty() && !model.isEmpty()) {
        // "headless headless", "Dell Inc. Dell Inc. U2415" say the maker once.
        if (model.startsWith(make, Qt::CaseInsensitive))
            return model;
        return make + QLatin1Char(' ') + model;
    }
    if (!make.isEmpty() || !model.isEmpty())
        return make + model;
    const QString description = output.description.simplified();
    return description.isEmpty() ? output.name.simplified() : description;
}

} // namespace WaylandOutputs
