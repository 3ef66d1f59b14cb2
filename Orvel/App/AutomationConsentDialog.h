#pragma once

#include "AutomationPermission.h"

#include "SkinPalette.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

class QPushButton;
class QWindow;

// The question "may Orvel control this application?". Only the two buttons
// answer it: closing the window or pressing Escape leaves it undecided, so
// nothing is recorded and the question comes again next time.
class AutomationConsentBox : public QDialog {
    Q_OBJECT
public:
    explicit AutomationConsentBox(
        const QString &applicationId, const SkinPalette &palette = SkinPalette(), QWidget *parent = nullptr);

    QPushButton *allowButton() const { return m_allow; }
    QPushButton *denyButton() const { return m_deny; }
    // The answer once the box has finished; nothing when it was dismissed.
    std::optional<bool> answer() const;
    // Asked over the window the user acted in: the window manager keeps it
    // above that one, centred on it, without a task-bar entry of its own.
    void placeOver(QWindow &owner);

private:
    static constexpr int denied = 2;
    static constexpr int iconSide = 48;
    QPushButton *m_allow = nullptr;
    QPushButton *m_deny = nullptr;
};

// What the question takes from the app once its owners exist: the user's
// skin, and the window it is asked over (nothing: it stands on its own).
struct ConsentSurroundings {
    std::function<Skin()> skin;
    std::function<QWindow *()> owner;
};

// Asks the user on the GUI thread whether Orvel may control an application,
// from whichever thread calls it; nothing when the app has no widgets to ask
// with or the user dismissed the question. Without surroundings it is drawn
// in the default skin.
ConsentPrompt automationConsentDialog(std::shared_ptr<ConsentSurroundings> surroundings = {});
