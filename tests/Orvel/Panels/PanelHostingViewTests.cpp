#include "FloatingPanel.h"
#include "PanelModel.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QResizeEvent>
#include <gtest/gtest.h>

namespace {
QStringList hoverLog;
void keepHover(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    if (QLatin1String(context.category) == QLatin1String(lcHover().categoryName()))
        hoverLog << message;
}
} // namespace

TEST(PanelHostingView, ReportsAndLogsItsCrossingsAndItsNewBounds)
{
    PanelHostingView view;
    view.setTitle("Top player");
    QList<bool> crossings;
    view.pointerChanged = [&](bool inside) { crossings << inside; };
    const_cast<QLoggingCategory &>(lcHover()).setEnabled(QtDebugMsg, true);
    const QtMessageHandler previous = qInstallMessageHandler(keepHover);
    QEnterEvent enter({5, 5}, {5, 5}, {5, 5});
    QResizeEvent resize(QSize(284, 38), QSize());
    QEvent leave(QEvent::Leave);
    for (QEvent *event : std::initializer_list<QEvent *>{&enter, &resize, &leave})
        QCoreApplication::sendEvent(&view, event);
    qInstallMessageHandler(previous);
    const_cast<QLoggingCategory &>(lcHover()).setEnabled(QtDebugMsg, false);

    EXPECT_EQ(crossings, (QList<bool>{true, false}));
    EXPECT_EQ(hoverLog,
        (QStringList{"mouseEntered own=1 Top player", "reset tracking Top player bounds={{0, 0}, {284, 38}}",
            "mouseExited own=1 Top player"}));
}
