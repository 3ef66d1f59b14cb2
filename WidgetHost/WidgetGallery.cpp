#include "WidgetGallery.h"

#include "ItemTree.h"
#include "Localization.h"
#include "SharedStore.h"
#include "WidgetHost.h"
#include "WidgetRenderer.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QQmlContext>
#include <QQuickItem>

namespace {

QString familyLabel(WidgetFamily family)
{
    switch (family) {
    case WidgetFamily::systemSmall:
        return localized(QStringLiteral("Small"));
    case WidgetFamily::systemMedium:
        return localized(QStringLiteral("Medium"));
    case WidgetFamily::systemLarge:
        return localized(QStringLiteral("Large"));
    }
    return {};
}

// Whether the app has written anything the widgets could show.
bool appHasWritten()
{
    const QDir directory(SharedStore().directory);
    return !directory
                .entryList(
                    {QString(SharedStore::snapshotFile), QString(SharedStore::shortcutsFile)}, QDir::Files)
                .isEmpty();
}

QList<QQuickItem *> descendants(QQuickItem *root, const QString &name)
{
    return itemsUnder(root, [&name](QQuickItem *item) { return item->objectName() == name; });
}
} // namespace

WidgetGallery::WidgetGallery(WidgetHost &host)
    : m_host(host)
{
    for (const WidgetConfiguration &configuration : host.widgets()) {
        for (const WidgetFamily family : configuration.families)
            m_items.push_back({&configuration, family});
    }
}

WidgetGallery::~WidgetGallery()
{
    // The previews go before the page that holds them.
    m_previews.clear();
}

void WidgetGallery::show()
{
    // Already up: brought to the front as it is, not drawn again.
    if (m_window && m_window->isVisible()) {
        m_window->raise();
        m_window->requestActivate();
        return;
    }
    if (!m_window) {
        m_window = std::make_unique<QQuickView>(&m_host.engine(), nullptr);
        m_window->setTitle(localized(QStringLiteral("Orvel Widgets")));
        m_window->setResizeMode(QQuickView::SizeRootObjectToView);
        m_window->setColor(QColor(0x1c, 0x1c, 0x1e));
        connect(m_window.get(), &QWindow::visibleChanged, this, [this](bool visible) {
            if (!visible)
                emit closed();
        });
    }
    build();
    m_window->show();
    m_window->raise();
    m_window->requestActivate();
}

void WidgetGallery::build()
{
    m_previews.clear();
    QVariantList kinds;
    for (qsizetype i = 0; i < qsizetype(m_items.size());) {
        const WidgetConfiguration *configuration = m_items[size_t(i)].configuration;
        QVariantList items;
        for (; i < qsizetype(m_items.size()) && m_items[size_t(i)].configuration == configuration; ++i) {
            const QSize size = WidgetMetrics::size(m_items[size_t(i)].family);
            items.append(QVariantMap{{QStringLiteral("index"), int(i)},
                {QStringLiteral("width"), size.width()}, {QStringLiteral("height"), size.height()},
                {QStringLiteral("label"),
                    configuration->displayName + QStringLiteral(", ")
                        + familyLabel(m_items[size_t(i)].family)}});
        }
        kinds.append(QVariantMap{{QStringLiteral("name"), configuration->displayName},
            {QStringLiteral("description"), configuration->description}, {QStringLiteral("items"), items}});
    }
    m_window->setInitialProperties({{QStringLiteral("kinds"), kinds},
        {QStringLiteral("hint"), localized(QStringLiteral("Click a widget to add it to your desktop."))}});
    m_window->setSource(QUrl(QStringLiteral("qrc:/Orvel/WidgetKit/WidgetGallery.qml")));
    QQuickItem *page = m_window->rootObject();
    if (!page) {
        qCWarning(lcWidgetHost) << "The gallery does not load:" << m_window->errors();
        return;
    }
    connect(page, SIGNAL(chosen(int)), this, SLOT(choose(int)));
    if (m_window->width() == 0 || !m_window->isVisible())
        m_window->resize(page->implicitWidth(), page->implicitHeight());

    const bool written = appHasWritten();
    for (QQuickItem *slot : descendants(page, QStringLiteral("slot"))) {
        const int index = slot->property("index").toInt();
        const Item &item = m_items[size_t(index)];
        QString error;
        // No actions: a preview's links and buttons do nothing, the click adds it.
        auto preview = WidgetRenderer::create(m_host.engine(), *item.configuration, entry(item, written),
            {item.family, WidgetRenderingMode::fullColor, false}, nullptr, nullptr, &error);
        if (!preview) {
            qCWarning(lcWidgetHost).noquote()
                << "The preview of" << item.configuration->kind << "does not load:" << error;
            continue;
        }
        preview->setObjectName(QStringLiteral("preview"));
        preview->setProperty("galleryIndex", index);
        preview->setParentItem(slot);
        m_previews.push_back(std::move(preview));
    }
}

WidgetEntry WidgetGallery::entry(const Item &item, bool written)
{
    return written ? item.configuration->snapshot() : item.configuration->placeholder();
}

void WidgetGallery::reload(const QString &kind)
{
    if (!m_window || !m_window->isVisible())
        return;
    const bool written = appHasWritten();
    for (const auto &preview : m_previews) {
        const Item &item = m_items[size_t(preview->property("galleryIndex").toInt())];
        if (kind.isEmpty() || item.configuration->kind == kind)
            WidgetRenderer::update(*preview, entry(item, written));
    }
}

QQuickItem *WidgetGallery::preview(int index) const
{
    for (const auto &preview : m_previews) {
        if (preview->property("galleryIndex").toInt() == index)
            return preview.get();
    }
    return nullptr;
}

void WidgetGallery::choose(int index)
{
    if (index < 0 || index >= int(m_items.size()))
        return;
    const Item &item = m_items[size_t(index)];
    m_host.add(item.configuration->kind, item.family, m_window ? m_window->screen() : nullptr);
}
