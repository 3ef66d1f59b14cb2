#pragma once

#include "AppDelegate.h"
#include "SkinPalette.h"

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>
#include <memory>

class QMenu;
class QSystemTrayIcon;
class StatusNotifierRelay;

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

    // The most a title takes of the menu a plain click opens, in its type:
    // the widest of menus, and a third of the narrowest display.
    static constexpr int titleWidth = 400;
    // The most characters of a title in the menu the tray exports, the
    // ellipsis included: the host draws it in a type we do not know, and this
    // many characters of any panel's type fit the narrowest display.
    static constexpr int exportedTitleCharacters = 60;

    // A menu title as QAction text, on one line no wider than titleWidth: a
    // track title's "&" is shown, not taken as a mnemonic.
    static QString actionText(const QString &title);
    // The same for a menu the tray exports, whose host reads "_" as the
    // mnemonic, cut to exportedTitleCharacters.
    static QString exportedText(const QString &title);
    // A title on one line: each line break (CR LF as one) and tab a space.
    static QString oneLine(const QString &title);
    // At most that many user-perceived characters, the last of them an
    // ellipsis when the title is longer; none is ever split.
    static QString shortened(const QString &title, int characters);

    // Fills a menu with the items, each chosen one handed to `perform`.
    static void fill(QMenu &menu, const QList<AppDelegate::MenuItem> &items,
        std::function<void(AppDelegate::MenuAction)> perform,
        QString (*text)(const QString &) = &StatusItem::actionText);
    // Brings a menu filled with items of the same shape up to date in place;
    // false, changing nothing, when the shape differs.
    static bool update(
        QMenu &menu, const QList<AppDelegate::MenuItem> &items, QString (*text)(const QString &));
    // The menu a plain click opens, drawn as the app's other menus in the skin.
    static void style(QMenu &menu, const SkinPalette &palette);

    QSystemTrayIcon *icon() const { return m_icon.get(); }
    // The menu the tray shows, and the one a plain click opens.
    QMenu *menu() const { return m_menu.get(); }
    QMenu *popup() const { return m_popup.get(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit StatusItem(AppDelegate &delegate);
    void rebuildMenu();
    void popUp(QPoint at);

    AppDelegate &m_delegate;
    QList<AppDelegate::MenuItem> m_items;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QMenu> m_popup;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    // Ours stands in for Qt's item on the bus, which keeps a click's place to
    // itself; gone before the icon, which then takes its own item down.
    std::unique_ptr<StatusNotifierRelay> m_relay;
};
