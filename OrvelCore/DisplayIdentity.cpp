#include "DisplayIdentity.h"

#include <QRegularExpression>

namespace {
// The separators of an id never appear inside one of its parts.
QString part(const QString &text)
{
    QString result = text.simplified();
    result.replace(QLatin1Char('%'), QLatin1String("%25"));
    result.replace(QLatin1Char('/'), QLatin1String("%2F"));
    result.replace(QLatin1Char('@'), QLatin1String("%40"));
    result.replace(QLatin1Char('#'), QLatin1String("%23"));
    return result;
}

// Many monitors fill the serial number's field with zeros.
QString serial(const QString &text)
{
    static const QRegularExpression zeros(
        QStringLiteral("^(0x)?0*$"), QRegularExpression::CaseInsensitiveOption);
    const QString simplified = text.simplified();
    return zeros.match(simplified).hasMatch() ? QString() : simplified;
}

QString outputOrNumber(const DisplayFacts &display)
{
    return display.output.isEmpty() ? QStringLiteral("display-") + QString::number(display.number)
                                    : display.output;
}
} // namespace

QString monitorIdentifier(const DisplayFacts &display)
{
    const QString maker = part(display.manufacturer);
    const QString model = part(display.model);
    const QString number = part(serial(display.serialNumber));
    if (maker.isEmpty() && model.isEmpty() && number.isEmpty())
        return {};
    return QStringLiteral("edid:") + maker + QLatin1Char('/') + model + QLatin1Char('/') + number;
}

QStringList displayIdentifiers(const QList<DisplayFacts> &displays)
{
    QStringList ids;
    QHash<QString, int> monitors;
    for (const DisplayFacts &display : displays) {
        const QString monitor = monitorIdentifier(display);
        ids.append(monitor.isEmpty() ? outputOrNumber(display) : monitor);
        if (!monitor.isEmpty())
            ++monitors[monitor];
    }
    // Twins are told apart by where they are plugged in, which rearranging leaves alone.
    for (qsizetype index = 0; index < ids.size(); ++index) {
        if (monitors.value(ids[index]) > 1)
            ids[index] += QLatin1Char('@') + part(outputOrNumber(displays[index]));
    }
    // Whatever is still alike is numbered in the list's order, so no two displays share an id.
    QHash<QString, int> seen;
    for (QString &id : ids) {
        const int count = ++seen[id];
        if (count > 1)
            id += QLatin1Char('#') + QString::number(count);
    }
    return ids;
}

QHash<QString, QString> outputCarryOvers(const QList<DisplayFacts> &displays, const QStringList &ids)
{
    QHash<QString, QString> result;
    for (qsizetype index = 0; index < displays.size() && index < ids.size(); ++index) {
        const QString &output = displays[index].output;
        if (!output.isEmpty() && ids[index] != output)
            result.insert(output, ids[index]);
    }
    return result;
}

std::optional<QString> carriedOver(
    const std::optional<QString> &id, const QHash<QString, QString> &carryOvers)
{
    if (!id)
        return id;
    const auto found = carryOvers.constFind(*id);
    return found == carryOvers.cend() ? id : std::optional<QString>(found.value());
}
