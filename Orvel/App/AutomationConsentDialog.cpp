#include "AutomationConsentDialog.h"

#include "PopupStyle.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QThread>
#include <QVBoxLayout>

AutomationConsentBox::AutomationConsentBox(const QString &applicationId, const SkinPalette &palette, QWidget *parent)
    : QDialog(parent)
{
    // Drawn on the panel the app's own popups use, not the desktop's style.
    setStyleSheet(PopupStyle::dialogStyleSheet(palette));
    setFont(PopupStyle::menuFont().toQFont());
    const QString name
        = applicationId == QLatin1String("com.spotify.client") ? QStringLiteral("Spotify") : applicationId;
    setWindowTitle(QStringLiteral("Orvel"));

    auto *icon = new QLabel;
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(side, side));
    icon->setAlignment(Qt::AlignTop);

    auto *question = new QLabel(QStringLiteral("“Orvel” wants access to control “%1”.").arg(name));
    question->setTextFormat(Qt::PlainText);
    QFont bold = font();
    bold.setBold(true);
    question->setFont(bold);
    question->setWordWrap(true);
    auto *detail
        = new QLabel(QStringLiteral("Allowing control lets Orvel read what %1 is playing and send it play, "
                                    "pause, skip, seek, volume, shuffle and repeat commands.")
                         .arg(name));
    detail->setTextFormat(Qt::PlainText);
    detail->setWordWrap(true);

    m_deny = new QPushButton(QStringLiteral("Don’t Allow"));
    m_allow = new QPushButton(QStringLiteral("Allow"));
    m_deny->setDefault(true);
    m_deny->setAutoDefault(true);
    m_allow->setAutoDefault(false);
    connect(m_allow, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_deny, &QPushButton::clicked, this, [this] { done(denied); });

    auto *texts = new QVBoxLayout;
    texts->addWidget(question);
    texts->addWidget(detail);
    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(texts, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_deny);
    buttons->addWidget(m_allow);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setMinimumWidth(420);
}

std::optional<bool> AutomationConsentBox::answer() const
{
    // Escape and the window's close button reject the dialog: no answer.
    if (result() == QDialog::Accepted)
        return true;
    if (result() == denied)
        return false;
    return std::nullopt;
}

namespace {

std::optional<bool> askOnGuiThread(const QString &applicationId, const std::function<Skin()> *skin)
{
    const Skin chosen = skin && *skin ? (*skin)() : SkinPalette().skin;
    AutomationConsentBox box(applicationId, SkinPalette(chosen, Aura()));
    box.exec();
    return box.answer();
}

} // namespace

ConsentPrompt automationConsentDialog(std::shared_ptr<std::function<Skin()>> skin)
{
    return [skin](const QString &applicationId) -> std::optional<bool> {
        auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
        if (!app)
            return std::nullopt;
        if (QThread::currentThread() == app->thread())
            return askOnGuiThread(applicationId, skin.get());
        std::optional<bool> answer;
        // The asking thread waits; the GUI thread stays free to run the dialog.
        QMetaObject::invokeMethod(
            app, [&] { answer = askOnGuiThread(applicationId, skin.get()); }, Qt::BlockingQueuedConnection);
        return answer;
    };
}
