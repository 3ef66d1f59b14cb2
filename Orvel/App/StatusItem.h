#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <memory>

class AppDelegate;
class QMenu;
class QSystemTrayIcon;

// The tray item and its menu, which is rebuilt from the delegate each time it opens.
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

    QSystemTrayIcon *icon() const { return m_icon.get(); }
    QMenu *menu() const { return m_menu.get(); }

private:
    explicit StatusItem(AppDelegate &delegate);
    void rebuildMenu();

    AppDelegate &m_delegate;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};
