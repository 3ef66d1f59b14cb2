#pragma once

#include "WidgetKit.h"

#include <QPointer>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

class Scheduler;

// What the host does with a widget's taps.
class WidgetActions {
public:
    virtual ~WidgetActions();
    virtual void openURL(const QUrl &url) = 0;
    // A playback intent ("toggle", "previous", "next") for the app to perform.
    virtual void perform(const QString &action) = 0;
};

// The frame the host puts around one widget view: it carries the view's
// environment (family, rendering mode, Reduce Motion), lays the view out inside
// the content margins over the view's container background, and opens the
// view's widget URL for a tap that no link or button took. In the accented and
// vibrant modes it draws its own plain ground instead of the view's background.
class WidgetContainer : public QQuickPaintedItem {
    Q_OBJECT

public:
    struct Environment {
        WidgetFamily family = WidgetFamily::systemMedium;
        WidgetRenderingMode mode = WidgetRenderingMode::fullColor;
        bool reduceMotion = false;
    };

    // actions and scheduler may be null: taps then go nowhere and timers run on
    // the current scheduler.
    WidgetContainer(const Environment &environment, WidgetActions *actions, Scheduler *scheduler,
        QQuickItem *parent = nullptr);
    ~WidgetContainer() override;

    // The container at or above an object of a view; null outside any.
    static WidgetContainer *of(const QObject *object);

    const Environment &environment() const { return m_environment; }
    // The desktop's Reduce Motion changed while the widget is shown.
    void setReduceMotion(bool reduceMotion);
    // While an intent of the widget is awaited its invalidatable content shows
    // as pending; the next entry ends it.
    void setPending(bool pending);
    bool pending() const { return m_pending; }
    WidgetActions *actions() const { return m_actions; }
    Scheduler &scheduler() const;

    // Takes the view (the container becomes its parent item) and its background.
    void setView(QQuickItem *view);
    QQuickItem *view() const { return m_view; }
    QUrl widgetURL() const;

    void paint(QPainter *painter) override;

protected:
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void layoutChildren();
    void adoptBackground();
    // Every attached environment below the container reads it again.
    void announceEnvironment();

    Environment m_environment;
    bool m_pending = false;
    WidgetActions *m_actions = nullptr;
    Scheduler *m_scheduler = nullptr;
    QPointer<QQuickItem> m_view;
    QPointer<QQuickItem> m_background;
};

class WidgetAttached;

// The widget's environment and modifiers for QML, as attached properties:
//     Item { Widget.url: model.playerURL; Widget.background: WidgetBackdrop {} }
//     GlyphView { Widget.accentable: true; color: Widget.foreground("white") }
class Widget : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Widget is an attached property")
    QML_ATTACHED(WidgetAttached)

public:
    static WidgetAttached *qmlAttachedProperties(QObject *object);
};

class WidgetAttached : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString family READ family NOTIFY environmentChanged)
    Q_PROPERTY(QString renderingMode READ renderingMode NOTIFY environmentChanged)
    Q_PROPERTY(bool reduceMotion READ reduceMotion NOTIFY environmentChanged)
    Q_PROPERTY(QColor secondary READ secondary CONSTANT)
    // The tap target of the whole widget; read from the view's root.
    Q_PROPERTY(QUrl url READ url WRITE setUrl NOTIFY urlChanged)
    // The container background; set on the view's root.
    Q_PROPERTY(QQuickItem *background READ background WRITE setBackground NOTIFY backgroundChanged)
    // Joins the item to the accent group, which the accented mode tints.
    Q_PROPERTY(bool accentable READ accentable WRITE setAccentable NOTIFY accentableChanged)
    // Marks content that may be out of date while an intent is awaited.
    Q_PROPERTY(bool invalidatable READ invalidatable WRITE setInvalidatable NOTIFY accentableChanged)
    // True for invalidatable content while the widget's intent is awaited.
    Q_PROPERTY(bool pending READ pending NOTIFY environmentChanged)

public:
    explicit WidgetAttached(QObject *attachee);

    WidgetContainer::Environment environment() const;
    QString family() const { return toRawValue(environment().family); }
    QString renderingMode() const { return toRawValue(environment().mode); }
    bool reduceMotion() const { return environment().reduceMotion; }
    QColor secondary() const { return WidgetMetrics::secondary(); }

    QUrl url() const { return m_url; }
    void setUrl(const QUrl &url);
    QQuickItem *background() const { return m_background; }
    void setBackground(QQuickItem *background);
    bool accentable() const { return m_accentable; }
    void setAccentable(bool accentable);
    bool invalidatable() const { return m_invalidatable; }
    void setInvalidatable(bool invalidatable);
    bool pending() const;

    // The colour an item draws with: the accent tint when it is accentable and
    // the widget is shown accented, else its own colour.
    Q_INVOKABLE QColor foreground(const QColor &own) const;
    Q_INVOKABLE void open(const QUrl &url) const;
    Q_INVOKABLE void perform(const QString &action) const;

signals:
    void environmentChanged();
    void urlChanged();
    void backgroundChanged();
    void accentableChanged();

private:
    QPointer<QObject> m_attachee;
    QUrl m_url;
    QPointer<QQuickItem> m_background;
    bool m_accentable = false;
    bool m_invalidatable = false;
};
