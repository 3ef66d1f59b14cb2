#include "DashboardWindow.h"

#include "DashboardState.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QScreen>

DashboardWindow::DashboardWindow(QQmlEngine &engine, DashboardState &state, QObject *parent)
    : QObject(parent)
{
    QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/Orvel/Dashboard/DashboardWindow.qml")));
    QObject *root = component.createWithInitialProperties({{"dashboardState", QVariant::fromValue(&state)}});
    m_window = qobject_cast<QQuickWindow *>(root);
    if (!m_window) {
        qCritical() << "The dashboard window could not be made:" << component.errorString();
        delete root;
        return;
    }
    m_window->setMinimumSize({minimumWidth, minimumHeight});
    m_window->resize(width, height);
    connect(m_window, SIGNAL(openDashboardRequested()), this, SIGNAL(openDashboardRequested()));
    connect(m_window, SIGNAL(quitRequested()), this, SIGNAL(quitRequested()));
}

DashboardWindow::~DashboardWindow()
{
    delete m_window.data();
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
