#include "StatusItem.h"

#include "AppDelegate.h"
#include "Assets.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QLoggingCategory>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QSystemTrayIcon>

namespace {
Q_LOGGING_CATEGORY(lcStatusItem, "com.velbrandtoro.Orvel.statusItem")

// Five rounded bars of a sound wave, for desktops without our own image.
QIcon waveform()
{
    QPixmap pixmap(36, 36);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xe8, 0xe8, 0xec));
    const double heights[] = {10, 20, 30, 20, 10};
    for (int i = 0; i < 5; ++i) {
        const double x = 3 + i * 6.6;
        painter.drawRoundedRect(QRectF(x, 18 - heights[i] / 2, 3.6, heights[i]), 1.8, 1.8);
    }
    return QIcon(pixmap);
}

// The template image takes the desktop's text colour, as the tray shows it on the panel.
QIcon statusIcon()
{
    QImage image = Assets::image(QStringLiteral("MenuBarTemplate"), QSize(36, 36));
    if (image.isNull())
        return waveform();
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), QGuiApplication::palette().windowText());
    painter.end();
    return QIcon(QPixmap::fromImage(image));
}
} // namespace

std::unique_ptr<StatusItem> StatusItem::make(AppDelegate &delegate)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return nullptr;
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        qCInfo(lcStatusItem) << "No system tray on this desktop: Orvel runs without its tray item.";
        return nullptr;
    }
    return std::unique_ptr<StatusItem>(new StatusItem(delegate));
}

StatusItem::StatusItem(AppDelegate &delegate)
    : m_delegate(delegate)
    , m_menu(std::make_unique<QMenu>())
    , m_icon(std::make_unique<QSystemTrayIcon>())
{
    m_icon->setIcon(statusIcon());
    m_icon->setToolTip(QStringLiteral("Orvel"));
    connect(m_menu.get(), &QMenu::aboutToShow, this, &StatusItem::rebuildMenu);
    m_icon->setContextMenu(m_menu.get());
    // A plain click opens the menu too, as a menu-bar item does.
    connect(
        m_icon.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger)
                m_menu->popup(QCursor::pos());
        });
    m_icon->show();
}

StatusItem::~StatusItem() = default;

QString StatusItem::actionText(const QString &title)
{
    QString text = title;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

void StatusItem::rebuildMenu()
{
    m_menu->clear();
    for (const AppDelegate::MenuItem &item : m_delegate.statusMenuItems()) {
        if (item.isSeparator()) {
            m_menu->addSeparator();
            continue;
        }
        QAction *action = m_menu->addAction(actionText(item.title));
        action->setEnabled(item.isEnabled());
        if (!item.key.isEmpty())
            action->setShortcut(QKeySequence(QStringLiteral("Ctrl+") + item.key.toUpper()));
        if (item.checked) {
            action->setCheckable(true);
            action->setChecked(*item.checked);
        }
        if (const auto chosen = item.action) {
            // Queued: the menu finishes closing before a window opens or the app quits.
            connect(
                action, &QAction::triggered, this, [this, chosen = *chosen] { m_delegate.perform(chosen); },
                Qt::QueuedConnection);
        }
    }
}
