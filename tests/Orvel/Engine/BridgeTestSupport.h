#pragma once

#include "PlaybackCommand.h"
#include "Started.h"

#include <QMutex>
#include <QStringList>
#include <QtGlobal>
#include <exception>

// The Spotify failure a bridge call threw.
inline SpotifyFailure failureOf(const std::exception_ptr &error)
{
    try {
        std::rethrow_exception(error);
    } catch (const SpotifyError &e) {
        return e.failure;
    }
}

// Collects the bridge's log lines.
class LogCapture {
public:
    LogCapture()
    {
        instance() = this;
        m_previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context,
                                                const QString &text) {
            if (auto *self = instance(); self && type == QtCriticalMsg
                && QLatin1String(context.category) == QLatin1String("com.velbrandtoro.Orvel.SpotifyBridge")) {
                QMutexLocker lock(&self->m_mutex);
                self->m_lines << text;
            }
        });
    }
    ~LogCapture()
    {
        qInstallMessageHandler(m_previous);
        instance() = nullptr;
    }
    QStringList lines()
    {
        QMutexLocker lock(&m_mutex);
        return m_lines;
    }

private:
    static LogCapture *&instance()
    {
        static LogCapture *capture = nullptr;
        return capture;
    }
    QtMessageHandler m_previous;
    QMutex m_mutex;
    QStringList m_lines;
};
