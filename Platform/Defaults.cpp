#include "Defaults.h"

#include "KeptFiles.h"
#include "Scheduler.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <cmath>
#include <limits>

Q_LOGGING_CATEGORY(lcDefaults, "com.velbrandtoro.Orvel.defaults")

// File format: one JSON object whose members are the keys; each value is
// tagged with its kind, since JSON alone cannot keep them apart:
//   {"type":"bool","value":true}      {"type":"integer","value":42}
//   {"type":"double","value":0.3}     {"type":"double","value":"nan"}
//   {"type":"string","value":"all"}   {"type":"data","value":"<base64>"}
// A non-finite double, which JSON numbers cannot carry, is one of the strings
// "nan", "inf" and "-inf". Entries that do not follow this form are skipped.

namespace {
const QString typeKey = QStringLiteral("type");
const QString valueKey = QStringLiteral("value");

QJsonValue encodeDouble(double value)
{
    if (std::isnan(value))
        return QStringLiteral("nan");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    return value;
}

std::optional<double> decodeDouble(const QJsonValue &json)
{
    if (json.isDouble())
        return json.toDouble();
    const QString text = json.toString();
    if (text == QLatin1String("nan"))
        return std::numeric_limits<double>::quiet_NaN();
    if (text == QLatin1String("inf"))
        return std::numeric_limits<double>::infinity();
    if (text == QLatin1String("-inf"))
        return -std::numeric_limits<double>::infinity();
    return std::nullopt;
}
} // namespace

Defaults::Defaults(QString filePath)
    : m_filePath(std::move(filePath))
{
    load();
}

Defaults::Defaults(QString filePath, Scheduler &coalesceOn)
    : m_filePath(std::move(filePath))
    , m_scheduler(&coalesceOn)
    , m_pendingSave(std::make_unique<TaskHandle>())
{
    load();
}

Defaults::~Defaults()
{
    if (m_scheduler)
        flush();
}

QString Defaults::standardFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/com.velbrandtoro.Orvel/defaults.json");
}

std::optional<Defaults::Value> Defaults::object(const QString &key) const
{
    const auto it = m_values.constFind(key);
    if (it == m_values.cend())
        return std::nullopt;
    return *it;
}

QStringList Defaults::keys() const
{
    QStringList result = m_values.keys();
    result.sort();
    return result;
}

bool Defaults::boolean(const QString &key) const
{
    const auto stored = object(key);
    if (!stored)
        return false;
    if (const bool *b = std::get_if<bool>(&*stored))
        return *b;
    if (const qint64 *i = std::get_if<qint64>(&*stored))
        return *i != 0;
    if (const double *d = std::get_if<double>(&*stored))
        return *d != 0 && !std::isnan(*d);
    return false;
}

qint64 Defaults::integer(const QString &key) const
{
    const auto stored = object(key);
    if (!stored)
        return 0;
    if (const qint64 *i = std::get_if<qint64>(&*stored))
        return *i;
    if (const bool *b = std::get_if<bool>(&*stored))
        return *b ? 1 : 0;
    if (const double *d = std::get_if<double>(&*stored)) {
        // Out of range or non-finite has no integer meaning.
        if (std::isfinite(*d) && std::abs(*d) < 9.2e18)
            return qint64(std::trunc(*d));
    }
    return 0;
}

void Defaults::set(const QString &key, Value value)
{
    apply({{key, std::move(value)}});
}

void Defaults::remove(const QString &key)
{
    apply({{key, std::nullopt}});
}

void Defaults::apply(const std::vector<Change> &changes)
{
    for (const auto &[key, value] : changes) {
        m_unreadEntries.remove(key);
        if (value)
            m_values.insert(key, *value);
        else
            m_values.remove(key);
    }
    if (!m_scheduler) {
        flush();
        return;
    }
    // Held by the saver at once, so any end of the process still writes it.
    KeptFiles::keepUnsaved(m_filePath, encoded());
    m_pendingSave->cancel();
    *m_pendingSave = m_scheduler->spawn([this](TaskHandle task) -> QCoro::Task<void> {
        const bool quiet = co_await m_scheduler->sleep(saveDelaySeconds, task);
        if (!quiet)
            co_return;
        // Written on the saving thread; the next change after a failure writes every value again.
        KeptFiles::saveKept(m_filePath);
    });
}

void Defaults::flush()
{
    if (!m_scheduler) {
        try {
            KeptFiles::save(m_filePath, encoded());
        } catch (const FileError &) {
            // Logged once by KeptFiles; the values stay in memory and the next change writes them all.
        }
        return;
    }
    m_pendingSave->cancel();
    KeptFiles::saveKept(m_filePath);
    KeptFiles::finishSaves();
}

QJsonValue Defaults::encode(const Value &value)
{
    QJsonObject tagged;
    std::visit(
        [&tagged](const auto &v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool>) {
                tagged.insert(typeKey, QStringLiteral("bool"));
                tagged.insert(valueKey, v);
            } else if constexpr (std::is_same_v<T, qint64>) {
                tagged.insert(typeKey, QStringLiteral("integer"));
                tagged.insert(valueKey, v);
            } else if constexpr (std::is_same_v<T, double>) {
                tagged.insert(typeKey, QStringLiteral("double"));
                tagged.insert(valueKey, encodeDouble(v));
            } else if constexpr (std::is_same_v<T, QString>) {
                tagged.insert(typeKey, QStringLiteral("string"));
                tagged.insert(valueKey, v);
            } else {
                tagged.insert(typeKey, QStringLiteral("data"));
                tagged.insert(valueKey, QString::fromLatin1(v.toBase64()));
            }
        },
        value);
    return tagged;
}

std::optional<Defaults::Value> Defaults::decode(const QJsonValue &json)
{
    if (!json.isObject())
        return std::nullopt;
    const QJsonObject tagged = json.toObject();
    const QString type = tagged.value(typeKey).toString();
    const QJsonValue value = tagged.value(valueKey);
    if (type == QLatin1String("bool") && value.isBool())
        return value.toBool();
    if (type == QLatin1String("integer") && value.isDouble()) {
        const qint64 integer = value.toInteger();
        if (double(integer) == value.toDouble())
            return integer;
        return std::nullopt;
    }
    if (type == QLatin1String("double")) {
        if (auto d = decodeDouble(value))
            return *d;
        return std::nullopt;
    }
    if (type == QLatin1String("string") && value.isString())
        return value.toString();
    if (type == QLatin1String("data") && value.isString()) {
        auto decoded = QByteArray::fromBase64Encoding(
            value.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (decoded)
            return *decoded;
    }
    return std::nullopt;
}

void Defaults::load()
{
    QJsonObject root;
    const auto understood = KeptFiles::load(m_filePath, [&root](const QByteArray &data) {
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(data, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject())
            return false;
        root = document.object();
        return true;
    });
    if (!understood)
        return;
    for (auto it = root.begin(); it != root.end(); ++it) {
        if (auto value = decode(it.value())) {
            m_values.insert(it.key(), *value);
        } else {
            // Kept as it is until the key is written: a later version may know it.
            m_unreadEntries.insert(it.key(), it.value());
            qCWarning(lcDefaults) << "Ignoring the malformed setting" << it.key();
        }
    }
}

QByteArray Defaults::encoded() const
{
    QJsonObject root = m_unreadEntries;
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it)
        root.insert(it.key(), encode(it.value()));
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}
