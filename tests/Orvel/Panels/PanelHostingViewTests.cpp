#include "FloatingPanel.h"
#include "PanelModel.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QResizeEvent>
#include <gtest/gtest.h>

// The window's own pointer crossings and its tracked bounds, as the hover log tells them.
namespace {
QStringList hoverLog;

void keepHover(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg && QLatin1String(context.category) == QLatin1String(lcHover().categoryName()))
        hoverLog << message;
}
} // namespace

TEST(PanelHostingView, ReportsAndLogsItsCrossingsAndItsNewBounds)
{
    PanelHostingView view;
    view.setTitle("Orvel \u2014 Top player");
    QList<bool> crossings;
    view.pointerChanged = [&](bool inside) { crossings << inside; };

    hoverLog.clear();
    // The category is quiet below warnings unless the user's logging rules open it.
    auto &category = const_cast<QLoggingCategory &>(lcHover());
    category.setEnabled(QtDebugMsg, true);
    const QtMessageHandler previous = qInstallMessageHandler(keepHover);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&view, &enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&view, &leave);
    QResizeEvent resize(QSize(284, 38), QSize(0, 0));
    QCoreApplication::sendEvent(&view, &resize);
    view.setTitle({});
    QCoreApplication::sendEvent(&view, &leave);
    qInstallMessageHandler(previous);
    category.setEnabled(QtDebugMsg, false);

    EXPECT_EQ(crossings, (QList<bool>{true, false, false}));
    EXPECT_EQ(hoverLog,
        (QStringList{QString::fromUtf8("mouseEntered own=1 Orvel \u2014 Top player"),
            QString::fromUtf8("mouseExited own=1 Orvel \u2014 Top player"),
            QString::fromUtf8("reset tracking Orvel \u2014 Top player bounds={{0, 0}, {284, 38}}"),
            "mouseExited own=1 -"}));
}
