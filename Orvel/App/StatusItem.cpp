#include "StatusItem.h"

#include "AppDelegate.h"
#include "Assets.h"
#include "PopupStyle.h"
#include "Preferences.h"
#include "StatusNotifierRelay.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QIcon>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QMenu>
#include <QPainter>
#include <QSystemTrayIcon>
#include <QTextBoundaryFinder>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace {
Q_LOGGING_CATEGORY(lcStatusItem, "com.velbrandtoro.Orvel.statusItem")

// The action an entry performs, kept on it to tell the same items from others.
constexpr char actionKey[] = "orvelMenuAction";

// Five rounded bars of a sound wave, for desktops without our own image.
QImage waveform(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.scale(size.width() / 36.0, size.height() / 36.0);
    const double heights[] = {10, 20, 30, 20, 10};
    for (int i = 0; i < 5; ++i) {
        const double x = 3 + i * 6.6;
        painter.drawRoundedRect(QRectF(x, 18 - heights[i] / 2, 3.6, heights[i]), 1.8, 1.8);
    }
    return image;
}

// The glyph's shape in one colour.
QImage tinted(const QImage &glyph, const QColor &color)
{
    QImage image = glyph;
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    return image;
}

// A light glyph in a dark outline: one of the two stands out on any panel,
// dark or light, where the panel cannot colour the icon itself.
QIcon outlinedIcon()
{
    QIcon icon;
    for (const int side : {36, 72}) {
        const QSize size(side, side);
        QImage glyph = Assets::image(QStringLiteral("MenuBarTemplate"), size);
        if (glyph.isNull())
            glyph = waveform(size);
        const QImage outline = tinted(glyph, QColor(0x1c, 0x1c, 0x20));
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        const double width = side / 24.0;
        for (int step = 0; step < 16; ++step) {
            const double angle = step * M_PI / 8;
            painter.drawImage(QPointF(width * std::cos(angle), width * std::sin(angle)), outline);
        }
        painter.drawImage(0, 0, tinted(glyph, QColor(0xf4, 0xf4, 0xf6)));
        painter.end();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}
} // namespace

QIcon StatusItem::trayIcon()
{
    if (QIcon::hasThemeIcon(iconName))
        return QIcon::fromTheme(iconName);
    return outlinedIcon();
}

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
    , m_popup(std::make_unique<QMenu>())
    , m_icon(std::make_unique<QSystemTrayIcon>())
{
    m_icon->setIcon(trayIcon());
    m_icon->setToolTip(QStringLiteral("Orvel"));
    // Handed over first: the tray then says whether it exports the menu.
    m_icon->setContextMenu(m_menu.get());
    rebuildMenu();
    connect(&m_delegate, &AppDelegate::statusMenuChanged, this, &StatusItem::rebuildMenu);
    connect(m_menu.get(), &QMenu::aboutToShow, this, &StatusItem::rebuildMenu);
    // A plain click opens the menu too, as a menu-bar item does: beside the
    // icon, where the host says the click landed. Qt's own item (the older
    // X11 tray's) is clicked where the pointer is.
    connect(
        m_icon.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger)
                popUp(QCursor::pos());
        });
    m_icon->show();
    m_relay = StatusNotifierRelay::takeOver(StatusNotifierRelay::hostShowsMenu());
    if (m_relay)
        connect(m_relay.get(), &StatusNotifierRelay::activated, this, &StatusItem::popUp);
}

StatusItem::~StatusItem() = default;

QString StatusItem::oneLine(const QString &title)
{
    QString line;
    line.reserve(title.size());
    for (qsizetype i = 0; i < title.size(); ++i) {
        switch (title[i].unicode()) {
        case u'\r':
            if (i + 1 < title.size() && title[i + 1] == QLatin1Char('\n'))
                ++i;
            [[fallthrough]];
        case u'\n':
        case u'\t': // a QAction's text would show the rest as its shortcut
        case u'\v':
        case u'\f':
        case 0x0085:
        case 0x2028:
        case 0x2029:
            line += QLatin1Char(' ');
            break;
        default:
            line += title[i];
        }
    }
    return line;
}

QString StatusItem::shortened(const QString &title, int characters)
{
    // No menu line holds more than a few hundred characters, so the rest of a
    // long title is never looked at.
    constexpr qsizetype window = 4096;
    const QString head = title.left(window);
    const bool whole = head.size() == title.size();
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, head);
    QList<qsizetype> ends;
    while (ends.size() <= characters) {
        const qsizetype next = graphemes.toNextBoundary();
        if (next <= 0)
            break;
        ends.append(next);
    }
    if (whole && ends.size() <= characters)
        return title;
    // Room for the ellipsis; at the window's edge the last one may be part of a character.
    const qsizetype kept = std::min<qsizetype>(characters - 1, whole ? ends.size() : ends.size() - 1);
    return title.left(kept > 0 ? ends[kept - 1] : 0) + QChar(0x2026);
}

QString StatusItem::actionText(const QString &title)
{
    // A character is at least a pixel wide: the font need not lay out more.
    const QString line = oneLine(shortened(title, titleWidth));
    QString text
        = QFontMetrics(PopupStyle::menuFont().toQFont()).elidedText(line, Qt::ElideRight, titleWidth);
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString StatusItem::exportedText(const QString &title)
{
    // A host reads "_" as the mnemonic's mark and "__" as the character.
    // Qt turns the first "&" into that mark and passes the others on, so a
    // title with "&" gets one of ours in front, on its first letter.
    QString text = oneLine(shortened(title, exportedTitleCharacters));
    text.replace(QLatin1Char('_'), QStringLiteral("__"));
    if (text.contains(QLatin1Char('&')))
        text.prepend(QLatin1Char('&'));
    return text;
}

void StatusItem::style(QMenu &menu, const SkinPalette &palette)
{
    menu.setStyleSheet(PopupStyle::menuStyleSheet(palette));
    menu.setFont(PopupStyle::menuFont().toQFont());
}

void StatusItem::popUp(QPoint at)
{
    rebuildMenu();
    style(*m_popup, SkinPalette(m_delegate.preferences().skin(), Aura()));
    // Qt keeps the menu on the display and off its panels, turned up or
    // left of the point where it would not fit.
    m_popup->popup(at);
    // Opened for a click on another program's panel, the menu cannot take the
    // keyboard and pointer before it is on screen, and Qt tries only before:
    // it takes them once shown, so Escape and a click elsewhere close it. Qt
    // hands grabbed keys to the focused window (the dashboard, say), so they
    // are passed on to the menu while it is open.
    if (QWindow *window = m_popup->windowHandle())
        window->installEventFilter(this);
    qApp->installEventFilter(this);
    connect(
        m_popup.get(), &QMenu::aboutToHide, this, [this] { qApp->removeEventFilter(this); },
        Qt::SingleShotConnection);
}

bool StatusItem::eventFilter(QObject *watched, QEvent *event)
{
    QWindow *menuWindow = m_popup->windowHandle();
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (watched == menuWindow && event->type() == QEvent::Expose && menuWindow->isExposed()) {
        menuWindow->removeEventFilter(this);
        menuWindow->setKeyboardGrabEnabled(true);
        menuWindow->setMouseGrabEnabled(true);
    } else if (key && m_popup->isVisible()
        && (watched == m_popup.get() || (watched->isWindowType() && watched != menuWindow))) {
        // Its items' shortcuts work while it is open, as in the panel's menu.
        if (event->type() == QEvent::KeyPress) {
            const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
            for (QAction *action : m_popup->actions()) {
                if (action->isEnabled() && !action->shortcut().isEmpty() && action->shortcut() == pressed) {
                    m_popup->close();
                    action->trigger();
                    return true;
                }
            }
        }
        if (watched == m_popup.get())
            return false;
        QCoreApplication::sendEvent(m_popup.get(), event);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void StatusItem::rebuildMenu()
{
    QList<AppDelegate::MenuItem> items = m_delegate.statusMenuItems();
    // Polls that change nothing leave the exported layout and its revision alone.
    if (items == m_items && !m_menu->isEmpty())
        return;
    m_items = std::move(items);
    const auto perform = [this](AppDelegate::MenuAction chosen) { m_delegate.perform(chosen); };
    // Only a menu the tray exports is read by the host's rules for its text.
    for (QMenu *menu : {m_menu.get(), m_popup.get()}) {
        const auto text = menu->platformMenu() ? &StatusItem::exportedText : &StatusItem::actionText;
        if (!update(*menu, m_items, text)) {
            menu->clear();
            fill(*menu, m_items, perform, text);
        }
    }
}

bool StatusItem::update(
    QMenu &menu, const QList<AppDelegate::MenuItem> &items, QString (*text)(const QString &))
{
    const QList<QAction *> actions = menu.actions();
    if (actions.size() != items.size())
        return false;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const AppDelegate::MenuItem &item = items[i];
        if (actions[i]->isSeparator() != item.isSeparator()
            || actions[i]->property(actionKey).value<int>() != (item.action ? int(*item.action) : -1)
            || actions[i]->isCheckable() != item.checked.has_value())
            return false;
    }
    // The same items in the same places keep their ids: a click in a host's
    // open menu still reaches its item, and the keyboard keeps its place.
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items[i].isSeparator())
            continue;
        actions[i]->setText(text(items[i].title));
        actions[i]->setEnabled(items[i].isEnabled());
        if (items[i].checked)
            actions[i]->setChecked(*items[i].checked);
    }
    return true;
}

void StatusItem::fill(QMenu &menu, const QList<AppDelegate::MenuItem> &items,
    std::function<void(AppDelegate::MenuAction)> perform, QString (*text)(const QString &))
{
    for (const AppDelegate::MenuItem &item : items) {
        if (item.isSeparator()) {
            menu.addSeparator()->setProperty(actionKey, -1);
            continue;
        }
        QAction *action = menu.addAction(text(item.title));
        action->setProperty(actionKey, item.action ? int(*item.action) : -1);
        action->setEnabled(item.isEnabled());
        if (!item.key.isEmpty())
            action->setShortcut(QKeySequence(QStringLiteral("Ctrl+") + item.key.toUpper()));
        if (item.checked) {
            action->setCheckable(true);
            action->setChecked(*item.checked);
        }
        if (const auto chosen = item.action) {
            // Queued: the menu finishes closing before a window opens or the app quits.
            QObject::connect(
                action, &QAction::triggered, &menu, [perform, chosen = *chosen] { perform(chosen); },
                Qt::QueuedConnection);
        }
    }
}
