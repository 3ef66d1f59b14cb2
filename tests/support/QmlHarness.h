#pragma once

#include "QmlOwners.h"

#include <QByteArray>
#include <QImage>
#include <QMutex>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>
#include <memory>

class QQmlImageProviderBase;

// QML as a file or as inline text (loaded as if it lay at qrc:/harness/Inline.qml).
struct QmlSource {
    QmlSource(const QUrl &url)
        : url(url)
    {
    }
    QmlSource(const QByteArray &text)
        : text(text)
    {
    }
    QmlSource(const char *text)
        : text(text)
    {
    }

    QUrl url;
    QByteArray text;
};

// One QML engine with the app's modules, for tests and the gallery: owners and
// image providers go in, objects and offscreen views come out, and every QML
// warning logged meanwhile is kept so callers can fail on it.
class QmlHarness {
public:
    // A view in an offscreen window, rendered with the software backend.
    class View {
    public:
        ~View();
        QObject *object() const { return m_object; }
        // The view's root item: the created item, or the content item of a window root.
        QQuickItem *item() const;
        QQuickWindow *window() const { return m_window; }
        // Renders the next frame and returns it, at the window's device pixel ratio.
        QImage grab();

    private:
        friend class QmlHarness;
        QObject *m_object = nullptr;
        QQuickWindow *m_window = nullptr;
        bool m_ownsWindow = false;
    };

    QmlHarness();
    ~QmlHarness();
    QmlHarness(const QmlHarness &) = delete;
    QmlHarness &operator=(const QmlHarness &) = delete;

    QQmlEngine &engine() { return m_engine; }
    template<class Owner>
    void provide(Owner &owner)
    {
        QmlOwners::provide(m_engine, owner);
    }
    // The engine takes the provider.
    void addImageProvider(const QString &id, QQmlImageProviderBase *provider);

    // Null when the QML does not load; errors() then says why.
    std::unique_ptr<QObject> create(const QmlSource &source, const QVariantMap &properties = {});
    // An item shown in a new offscreen window sized to `size`, or to the item's
    // implicit size when `size` is empty; a Window root is taken as it is (and
    // resized only to a given size). Null when the QML does not load or has no
    // visual root.
    std::unique_ptr<View> view(const QmlSource &source, const QVariantMap &properties = {}, QSize size = {});
    QString errors() const { return m_errors; }

    // Warnings from the engine, qmlWarning() and console.warn() since the last clear.
    QStringList warnings() const;
    void clearWarnings();

    // True for a null image and for one whose pixels are all the same.
    static bool isBlank(const QImage &image);

private:
    static void handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message);
    void record(const QString &warning);

    QQmlEngine m_engine;
    QString m_errors;
    mutable QMutex m_mutex;
    QStringList m_warnings;
    QmlHarness *m_previousHarness = nullptr;
    QtMessageHandler m_previousHandler = nullptr;
};
