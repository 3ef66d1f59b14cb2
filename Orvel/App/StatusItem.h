#pragma once

#include "AppDelegate.h"
#include "SkinPalette.h"

#include <QIcon>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QMenu;
class QSystemTrayIcon;

// The tray item and its menu. The menu is whole from the start and follows
// the delegate's items as they change: a tray host reads the exported layout
// before it shows it, not only when the menu opens.
class StatusItem : public QObject {
    Q_OBJECT
public:
    // Nothing without a widget application or without a tray to show it in;
    // the app then runs without it, which is logged once.
    static std::unique_ptr<StatusItem> make(AppDelegate &delegate);
    ~StatusItem() override;

    // The tray's image under this name in the icon theme, where the installed
    // tree puts it; the panel then colours it as its own symbolic icons.
    static constexpr QLatin1String iconName{"com.velbrandtoro.Orvel-status-symbolic"};
    // The themed icon by that name; where no theme holds it, a picture that
    // stands out on dark and light panels alike.
    static QIcon trayIcon();

    // A menu title as QAction text: a track title's "&" is shown, not taken as a mnemonic.
    static QString actionText(const QString &title);

    // Fills a menu with the items, each chosen one handed to `perform`.
    static void fill(QMenu &menu, const QList<AppDelegate::MenuItem> &items,
        std::function<void(AppDelegate::MenuAction)> perform);
    // The menu a plain click opens, drawn as the app's other menus in the skin.
    static void style(QMenu &menu, const SkinPalette &palette);

    QSystemTrayIcon *icon() const { return m_icon.get(); }
    QMenu *menu() const { return m_menu.get(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit StatusItem(AppDelegate &delegate);
    void rebuildMenu();
    void popUp();

    AppDelegate &m_delegate;
    QList<AppDelegate::MenuItem> m_items;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};
