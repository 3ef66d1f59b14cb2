#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <stdexcept>

// Registering or unregistering the login item failed.
class LoginItemError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The app's own login item (start at login), whose state the desktop keeps.
class LoginItem {
public:
    enum class Status {
        notRegistered, // not set up to start at login
        enabled, // starts at login
        requiresApproval, // registered, but the user must still allow it
        notFound, // the program to start cannot be found
    };

    virtual ~LoginItem();

    virtual Status status() const = 0;
    // Both throw LoginItemError when the change could not be made.
    virtual void registerItem() = 0;
    virtual void unregisterItem() = 0;
    // What the last registration found the item may start nothing for; empty
    // when there was nothing to say.
    virtual QString warning() const { return {}; }
};

// An XDG autostart entry: a .desktop file in $XDG_CONFIG_HOME/autostart that
// the desktop starts at login, read as desktops read it (AutostartEntry). It
// counts as registered when the desktop would start it: an Exec line, not
// Hidden, X-GNOME-Autostart-enabled true where it is set and read, and a
// TryExec program that is there. Desktops ask no approval for autostart entries, so
// it never reports requiresApproval.
class AutostartLoginItem final : public LoginItem {
public:
    // program: the executable to start; empty means it cannot be found. name:
    // what the desktop's list of startup programs shows.
    AutostartLoginItem(QString desktopFilePath, QString program, QString name = QStringLiteral("Orvel"));

    // $XDG_CONFIG_HOME/autostart/com.velbrandtoro.Orvel.desktop
    static QString standardFilePath();

    Status status() const override;
    // Makes the entry start the program at login. An entry that is there keeps
    // the user's other keys (delays, names, comments): only the program's word
    // in its Exec line and the keys that switch it off are changed.
    void registerItem() override;
    // Removes the entry: a file, or a symbolic link to one or to nothing.
    // Anything else at its place (a pipe, a socket, a folder) is left there
    // and thrown as a LoginItemError that names it.
    void unregisterItem() override;
    // Makes the entry when there is none; one that is there stays as the user
    // left it, switched off or not, but for the word of a moved program.
    void keepRegistered();
    // What the last registration found the entry may start nothing for (a
    // path that is gone in a line Orvel leaves to the user), naming the
    // entry; empty when there was nothing to say.
    QString warning() const override { return m_warning; }
    // Called once each new text is made, just before it is written: for
    // checks that change the file meanwhile, as a user's editor may.
    void setBeforeWriting(std::function<void()> hook) { m_beforeWriting = std::move(hook); }

    // An entry that reads empty, or that a program has open for writing, is
    // being saved: it is read again until it is not, for at most this long
    // (as long as the widget list is left alone before it is read), then
    // taken as it is. One that stays empty is an empty file.
    static constexpr double settleSeconds = 0.3;
    static constexpr double settlePollSeconds = 0.005;
    // How the wait between those reads passes (a real sleep unless set); the
    // time is the current Scheduler's.
    void setPause(std::function<void(double seconds)> pause) { m_pause = std::move(pause); }

    // The entry's text for a program.
    static QByteArray desktopEntry(const QString &program, const QString &name = QStringLiteral("Orvel"));

    // What registering makes of an entry's text.
    struct Edit {
        QByteArray entry; // the text to write; the same bytes when nothing changes
        bool fresh = false; // no desktop reads the text as an entry: it is set aside for this one
        QString refusal; // nothing may be written, and this says why
        QString warning; // what the entry may start nothing for
    };
    // The entry's text with its Exec line starting the program
    // (ExecLine::startingProgram), TryExec following a moved program, and,
    // with `enable`, the keys that switch it off set to start it; every other
    // byte as it was. Text no desktop takes as an entry becomes
    // desktopEntry(program, name). An entry that would outgrow the 4 MB a
    // kept file may be is refused.
    static Edit edit(const QByteArray &entry, const QString &program, bool enable,
        const QString &name = QStringLiteral("Orvel"));
    // edit()'s text; a refusal leaves the text as it was and says why.
    static QByteArray editedEntry(const QByteArray &entry, const QString &program, bool enable,
        const QString &name = QStringLiteral("Orvel"), QString *refusal = nullptr);

private:
    void update(bool enable);

    QString m_filePath;
    QString m_program;
    QString m_name;
    QString m_warning;
    std::function<void()> m_beforeWriting;
    std::function<void(double)> m_pause;
};
