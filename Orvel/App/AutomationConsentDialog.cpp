#include "AutomationConsentDialog.h"

#include "Assets.h"
#include "PopupStyle.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <QWindow>

AutomationConsentBox::AutomationConsentBox(
    const QString &applicationId, const SkinPalette &palette, QWidget *parent)
    : QDialog(parent)
{
    // Drawn on the panel the app's own popups use, not the desktop's style.
    setStyleSheet(PopupStyle::dialogStyleSheet(palette));
    const QString name
        = applicationId == QLatin1String("com.spotify.client") ? QStringLiteral("Spotify") : applicationId;
    setWindowTitle(QStringLiteral("Orvel"));

    // The app's own icon, the one its desktop entry names, from its resources:
    // it shows also where the icon theme lacks it.
    auto *icon = new QLabel;
    const qreal ratio = devicePixelRatioF();
    QPixmap picture
        = QPixmap::fromImage(Assets::image(QStringLiteral("AppIcon"), QSize(iconSide, iconSide) * ratio));
    picture.setDevicePixelRatio(ratio);
    icon->setPixmap(picture);
    icon->setAlignment(Qt::AlignTop);

    auto *question = new QLabel(QStringLiteral("“Orvel” wants access to control “%1”.").arg(name));
    question->setTextFormat(Qt::PlainText);
    FontDescription emphasized = PopupStyle::menuFont();
    emphasized.weight = FontWeight::bold;
    question->setFont(emphasized.toQFont());
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
    // Room a long name leaves goes below the words, not between them.
    texts->addStretch(1);
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

void AutomationConsentBox::placeOver(QWindow &owner)
{
    winId();
    windowHandle()->setTransientParent(&owner);
    // Its own size: window managers then offer no maximise for it.
    adjustSize();
    setFixedSize(size());
    move(owner.geometry().center() - rect().center());
}

namespace {

std::optional<bool> askOnGuiThread(const QString &applicationId, const ConsentSurroundings *surroundings)
{
    const Skin chosen = surroundings && surroundings->skin ? surroundings->skin() : SkinPalette().skin;
    AutomationConsentBox box(applicationId, SkinPalette(chosen, Aura()));
    QWindow *owner = surroundings && surroundings->owner ? surroundings->owner() : nullptr;
    if (owner && owner->isVisible())
        box.placeOver(*owner);
    box.exec();
    return box.answer();
}

} // namespace

ConsentPrompt automationConsentDialog(std::shared_ptr<ConsentSurroundings> surroundings)
{
    return [surroundings](const QString &applicationId) -> std::optional<bool> {
        auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
        if (!app)
            return std::nullopt;
        if (QThread::currentThread() == app->thread())
            return askOnGuiThread(applicationId, surroundings.get());
        std::optional<bool> answer;
        // The asking thread waits; the GUI thread stays free to run the dialog.
        QMetaObject::invokeMethod(
            app, [&] { answer = askOnGuiThread(applicationId, surroundings.get()); },
            Qt::BlockingQueuedConnection);
        return answer;
    };
}
