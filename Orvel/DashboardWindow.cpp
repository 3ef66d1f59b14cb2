#include "DashboardWindow.h"

#include "DashboardState.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QScreen>

namespace {
// The main menu's key equivalents live on the window: Ctrl+, reopens, Ctrl+W
// closes, Ctrl+Q quits. Text fields bring their own cut, copy, paste and select-all.
constexpr char placeholder[] = R"(
import QtQuick
Window {
    id: window
    required property QtObject dashboardState
    signal openDashboardRequested()
    signal quitRequested()
    width: 960; height: 750
    minimumWidth: 860; minimumHeight: 650
    title: "Orvel"
    color: "#111114"
    Shortcut { sequence: "Ctrl+,"; onActivated: window.openDashboardRequested() }
    Shortcut { sequence: "Ctrl+W"; onActivated: window.close() }
    Shortcut { sequence: "Ctrl+Q"; onActivated: window.quitRequested() }
    Column {
        anchors.centerIn: parent
        spacing: 8
        Text { anchors.horizontalCenter: parent.horizontalCenter; text: "Orvel"; color: "#f2f2f4"; font.pixelSize: 28 }
        Text { objectName: "section"; anchors.horizontalCenter: parent.horizontalCenter
               text: window.dashboardState.section; color: "#9a9aa2"; font.pixelSize: 15 }
    }
}
)";
} // namespace

DashboardWindow::DashboardWindow(DashboardState &state, QObject *parent)
    : QObject(parent)
    , m_engine(std::make_unique<QQmlEngine>())
{
    QQmlComponent component(m_engine.get());
    component.setData(placeholder, QUrl(QStringLiteral("qrc:/Orvel/DashboardWindow.qml")));
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
