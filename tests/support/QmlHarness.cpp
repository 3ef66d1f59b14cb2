#include "QmlHarness.h"

#include "QmlModules.h"

#include <QCoreApplication>
#include <QQmlComponent>
#include <QQmlError>
#include <cstdio>
#include <string_view>

namespace {
// The harness that receives QML messages; the newest one while several live.
QmlHarness *current = nullptr;

// Messages that QML code or QML types wrote: console output, qmlWarning() and
// the engine's own reports, which name the QML file they come from.
bool isQmlMessage(const QMessageLogContext &context)
{
    const std::string_view category(context.category ? context.category : "");
    if (category == "qml" || category == "js" || category.starts_with("qt.qml"))
        return true;
    const std::string_view file(context.file ? context.file : "");
    return file.ends_with(".qml") || file.starts_with("qrc:") || file.starts_with("file:");
}
} // namespace

QmlHarness::View::~View()
{
    if (m_ownsWindow) {
        delete m_object;
        delete m_window;
    } else {
        delete m_window; // the window is the root object
    }
    // Delegates a view released wait for deletion; without a running event loop
    // they would outlive the objects they refer to.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QQuickItem *QmlHarness::View::item() const
{
    if (auto *item = qobject_cast<QQuickItem *>(m_object))
        return item;
    return m_window ? m_window->contentItem() : nullptr;
}

QImage QmlHarness::View::grab()
{
    QCoreApplication::processEvents();
    return m_window ? m_window->grabWindow() : QImage();
}

QmlHarness::QmlHarness()
{
    registerOrvelModules(m_engine);
    // The engine's reports arrive through the signal and are printed here, so
    // the message handler does not count them twice.
    m_engine.setOutputWarningsToStandardError(false);
    QObject::connect(&m_engine, &QQmlEngine::warnings, [this](const QList<QQmlError> &errors) {
        for (const QQmlError &error : errors) {
            std::fprintf(stderr, "%s\n", qPrintable(error.toString()));
            record(error.toString());
        }
    });
    m_previousHarness = current;
    current = this;
    m_previousHandler = qInstallMessageHandler(handleMessage);
}

QmlHarness::~QmlHarness()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    qInstallMessageHandler(m_previousHandler);
    current = m_previousHarness;
}

void QmlHarness::addImageProvider(const QString &id, QQmlImageProviderBase *provider)
{
    m_engine.addImageProvider(id, provider);
}

std::unique_ptr<QObject> QmlHarness::create(const QmlSource &source, const QVariantMap &properties)
{
    QQmlComponent component(&m_engine);
    if (source.url.isEmpty())
        component.setData(source.text, QUrl(QStringLiteral("qrc:/harness/Inline.qml")));
    else
        component.loadUrl(source.url);
    // Qt 6.4 crashes when asked to create from a component that failed to load.
    if (!component.isReady()) {
        m_errors = component.errorString();
        return nullptr;
    }
    std::unique_ptr<QObject> object(component.createWithInitialProperties(properties));
    m_errors = object ? QString() : component.errorString();
    return object;
}

std::unique_ptr<QmlHarness::View> QmlHarness::view(
    const QmlSource &source, const QVariantMap &properties, QSize size)
{
    std::unique_ptr<QObject> object = create(source, properties);
    if (!object)
        return nullptr;
    auto view = std::make_unique<View>();
    if (auto *window = qobject_cast<QQuickWindow *>(object.get())) {
        view->m_window = window;
        view->m_object = object.release();
        if (!size.isEmpty())
            window->resize(size);
    } else if (auto *item = qobject_cast<QQuickItem *>(object.get())) {
        if (size.isEmpty())
            size = QSizeF(item->implicitWidth() > 0 ? item->implicitWidth() : item->width(),
                item->implicitHeight() > 0 ? item->implicitHeight() : item->height())
                       .toSize();
        view->m_window = new QQuickWindow;
        view->m_ownsWindow = true;
        view->m_window->setColor(Qt::transparent);
        view->m_window->resize(size);
        item->setSize(size);
        item->setParentItem(view->m_window->contentItem());
        view->m_object = object.release();
    } else {
        m_errors = QStringLiteral("The root object is neither an item nor a window");
        return nullptr;
    }
    view->m_window->show();
    return view;
}

QStringList QmlHarness::warnings() const
{
    const QMutexLocker lock(&m_mutex);
    return m_warnings;
}

void QmlHarness::clearWarnings()
{
    const QMutexLocker lock(&m_mutex);
    m_warnings.clear();
}

bool QmlHarness::isBlank(const QImage &image)
{
    if (image.isNull())
        return true;
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb first = pixels.pixel(0, 0);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x)
            if (line[x] != first)
                return false;
    }
    return true;
}

void QmlHarness::handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    QmlHarness *harness = current;
    if (harness && (type == QtWarningMsg || type == QtCriticalMsg) && isQmlMessage(context))
        harness->record(message);
    if (harness && harness->m_previousHandler)
        harness->m_previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

void QmlHarness::record(const QString &warning)
{
    const QMutexLocker lock(&m_mutex);
    m_warnings << warning;
}
