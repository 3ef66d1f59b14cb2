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

// The maker comes from the PNP id, never from a text field: only model and serial carry the dash.
QString monitorIdentifier(const DisplayFacts &display, bool asQtLeftThem)
{
    const auto text = [asQtLeftThem](const QString &field) { return asQtLeftThem ? field : edidText(field); };
    const QString maker = part(display.manufacturer);
    const QString model = part(text(display.model));
    const QString number = part(serial(text(display.serialNumber)));
    if (maker.isEmpty() && model.isEmpty() && number.isEmpty())
        return {};
    return QStringLiteral("edid:") + maker + QLatin1Char('/') + model + QLatin1Char('/') + number;
}

QStringList identifiers(const QList<DisplayFacts> &displays, bool asQtLeftThem)
{
    QStringList ids;
    QHash<QString, int> monitors;
    for (const DisplayFacts &display : displays) {
        const QString monitor = monitorIdentifier(display, asQtLeftThem);
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
} // namespace

QString monitorIdentifier(const DisplayFacts &display)
{
    return monitorIdentifier(display, false);
}

QStringList displayIdentifiers(const QList<DisplayFacts> &displays)
{
    return identifiers(displays, false);
}

QString edidText(const QString &text)
{
    // The descriptor's text field.
    constexpr qsizetype field = 13;
    const QString trimmed = text.trimmed();
    if (trimmed.size() > field || !trimmed.endsWith(QLatin1Char('-')))
        return text;
    // A full field ending in dashes was padded with line feeds or zeros, each read as a dash.
    qsizetype end = trimmed.size() - 1;
    if (trimmed.size() == field)
        while (end > 0 && trimmed.at(end - 1) == QLatin1Char('-'))
            --end;
    return trimmed.left(end).trimmed();
}

QHash<QString, QString> edidCarryOvers(const QList<DisplayFacts> &displays)
{
    const QStringList before = identifiers(displays, true);
    const QStringList now = identifiers(displays, false);
    QHash<QString, QString> result;
    for (qsizetype index = 0; index < now.size(); ++index) {
        if (before[index] != now[index])
            result.insert(before[index], now[index]);
    }
    return result;
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

QList<qsizetype> mirrorLeaders(const QList<Rect> &frames)
{
    QList<qsizetype> leaders;
    for (qsizetype index = 0; index < frames.size(); ++index)
        leaders.append(frames.indexOf(frames[index]));
    return leaders;
}
