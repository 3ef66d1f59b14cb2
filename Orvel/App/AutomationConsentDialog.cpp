#include "AutomationConsentDialog.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

namespace {

bool askOnGuiThread(const QString &applicationId)
{
    const QString name
        = applicationId == QLatin1String("com.spotify.client") ? QStringLiteral("Spotify") : applicationId;
    QMessageBox box;
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(QStringLiteral("Orvel"));
    box.setText(QStringLiteral("“Orvel” wants access to control “%1”.").arg(name));
    box.setInformativeText(
        QStringLiteral("Allowing control lets Orvel read what %1 is playing and send it play, "
                       "pause, skip, seek, volume, shuffle and repeat commands.")
            .arg(name));
    auto *deny = box.addButton(QStringLiteral("Don’t Allow"), QMessageBox::RejectRole);
    auto *allow = box.addButton(QStringLiteral("Allow"), QMessageBox::AcceptRole);
    box.setDefaultButton(deny);
    box.exec();
    return box.clickedButton() == static_cast<QAbstractButton *>(allow);
}

} // namespace

ConsentPrompt automationConsentDialog()
{
    return [](const QString &applicationId) -> std::optional<bool> {
        auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
        if (!app)
            return std::nullopt;
        if (QThread::currentThread() == app->thread())
            return askOnGuiThread(applicationId);
        bool allowed = false;
        // The asking thread waits; the GUI thread stays free to run the dialog.
        QMetaObject::invokeMethod(
            app, [&] { allowed = askOnGuiThread(applicationId); }, Qt::BlockingQueuedConnection);
        return allowed;
    };
}
