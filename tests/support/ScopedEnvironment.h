#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <optional>

// Sets environment variables for the guard's lifetime and puts back what was
// there before (unset stays unset).
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ~ScopedEnvironment()
    {
        for (auto it = m_saved.crbegin(); it != m_saved.crend(); ++it)
            it->second ? qputenv(it->first.constData(), *it->second) : qunsetenv(it->first.constData());
    }
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

    void set(const char *name, const QByteArray &value)
    {
        m_saved.append({name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt});
        qputenv(name, value);
    }

private:
    QList<QPair<QByteArray, std::optional<QByteArray>>> m_saved;
};
