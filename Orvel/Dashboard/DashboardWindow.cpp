#include "DashboardWindow.h"

#include "DashboardState.h"
#include "FreedMemory.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QScreen>

DashboardWindow::DashboardWindow(QQmlEngine &engine, DashboardState &state, QObject *parent)
    : QObject(parent)
{
    QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/Orvel/Dashboard/DashboardContent.qml")));
    QObject *root = component.createWithInitialProperties({{"dashboardState", QVariant::fromValue(&state)}});
    m_content = qobject_cast<QQuickItem *>(root);
    if (!m_content) {
        qCritical() << "The dashboard window could not be made:" << component.errorString();
        delete root;
        return;
    }
    m_content->setParent(this);
    QQmlEngine::setObjectOwnership(m_content, QQmlEngine::CppOwnership);
    connect(m_content, SIGNAL(openDashboardRequested()), this, SIGNAL(openDashboardRequested()));
    connect(m_content, SIGNAL(quitRequested()), this, SIGNAL(quitRequested()));
    makeWindow(nullptr);
}

DashboardWindow::~DashboardWindow()
{
    delete m_content.data();
    delete m_window.data();
}

void DashboardWindow::makeWindow(const QQuickWindow *previous)
{
    auto *window = new QQuickWindow;
    window->setTitle(QStringLiteral("Orvel"));
    window->setColor(QColor(0x11, 0x11, 0x14));
    window->setMinimumSize({minimumWidth, minimumHeight});
    if (previous)
        window->setGeometry(previous->geometry());
    else
        window->resize(width, height);
    // Moved straight from the old window to the new one, so the views never
    // find themselves without a window and an open sheet stays open.
    m_content->setParentItem(window->contentItem());
    connect(window, &QWindow::visibleChanged, this,
        [this, window = QPointer<QQuickWindow>(window)](bool visible) {
            // On the next turn: whoever closed it may still be using it, and an
            // opening in the same turn keeps it.
            if (!visible)
                QMetaObject::invokeMethod(
                    this, [this, window] { releaseClosedWindow(window); }, Qt::QueuedConnection);
        });
    m_window = window;
}

void DashboardWindow::releaseClosedWindow(QQuickWindow *closed)
{
    if (!closed || closed != m_window || closed->isVisible() || !m_content)
        return;
    makeWindow(closed);
    delete closed;
    returnFreedMemory();
}

void DashboardWindow::center()
{
    if (!m_window)
        return;
    QScreen *screen = m_window->screen() ? m_window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame(QPoint(), m_window->size());
    frame.moveCenter(screen->availableGeometry().center());
    m_window->setPosition(frame.topLeft());
}

void DashboardWindow::bringToFront()
{
    if (!m_window)
        return;
    m_window->show();
    m_window->raise();
    m_window->requestActivate();
}
