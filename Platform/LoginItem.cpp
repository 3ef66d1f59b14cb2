#include "LoginItem.h"

#include "AutostartEntry.h"
#include "ExecLine.h"
#include "KeptFiles.h"
#include "Scheduler.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {
constexpr char hidden[] = "Hidden";
constexpr char enabledKey[] = "X-GNOME-Autostart-enabled";

// Whether the desktop starts the entry at login. GNOME's switch is read only
// where GLib reads the file: systemd's generator and dex never read it.
bool startsAtLogin(const AutostartEntry &entry)
{
    const std::optional<QByteArray> tryExec = entry.value("TryExec");
    const bool switchedOn
        = !entry.readByGLib() || !entry.value(enabledKey) || entry.boolean(enabledKey) == true;
    return entry.isEntry() && entry.launchable() && !entry.value("Exec").value_or(QByteArray()).isEmpty()
        && entry.boolean(hidden) != true && switchedOn && (!tryExec || ExecLine::isThere(*tryExec));
}

// The entry once no program is saving it (see settleSeconds).
KeptRead settledRead(const QString &path, const std::function<void(double)> &pause)
{
    const Scheduler &clock = Scheduler::current();
    const double giveUp = clock.now() + AutostartLoginItem::settleSeconds;
    // Counted too: under a clock nobody advances, the looks still end.
    constexpr int looks = int(AutostartLoginItem::settleSeconds / AutostartLoginItem::settlePollSeconds);
    for (int look = 1;; ++look) {
        // Asked first: a save that ends between the two looks is read whole.
        const bool writing = PrivateFiles::isBeingWritten(path) == true;
        KeptRead entry = PrivateFiles::readCapped(path);
        const bool saving = writing || (entry.wasRead() && entry.data.isEmpty());
        if (!saving || clock.now() >= giveUp || look > looks)
            return entry;
        if (pause)
            pause(AutostartLoginItem::settlePollSeconds);
        else
            std::this_thread::sleep_for(std::chrono::duration<double>(AutostartLoginItem::settlePollSeconds));
    }
}

AutostartLoginItem::Edit refused(const QByteArray &text, const QString &why)
{
    AutostartLoginItem::Edit edit;
    edit.entry = text;
    edit.refusal = why;
    return edit;
}

AutostartLoginItem::Edit fresh(const QByteArray &text, bool replacing)
{
    AutostartLoginItem::Edit edit;
    edit.entry = text;
    edit.fresh = replacing;
    return edit;
}
} // namespace

LoginItem::~LoginItem() = default;

AutostartLoginItem::AutostartLoginItem(QString desktopFilePath, QString program, QString name)
    : m_filePath(std::move(desktopFilePath))
    , m_program(std::move(program))
    , m_name(std::move(name))
{
}

QString AutostartLoginItem::standardFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart/com.velbrandtoro.Orvel.desktop");
}

QByteArray AutostartLoginItem::desktopEntry(const QString &program, const QString &name)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%2\n"
                          "Exec=%1\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(QString::fromUtf8(ExecLine::argument(program)), name)
        .toUtf8();
}

LoginItem::Status AutostartLoginItem::status() const
{
    if (m_program.isEmpty())
        return Status::notFound;
    // An entry that cannot be read starts nothing at login.
    const KeptRead entry = PrivateFiles::readCapped(m_filePath);
    if (!entry.wasRead())
        return Status::notRegistered;
    return startsAtLogin(AutostartEntry(entry.data)) ? Status::enabled : Status::notRegistered;
}

AutostartLoginItem::Edit AutostartLoginItem::edit(
    const QByteArray &text, const QString &program, bool enable, const QString &name)
{
    AutostartEntry entry(text);
    if (!entry.isEntry())
        return fresh(desktopEntry(program, name), true);
    if (!entry.agreesWithGLib())
        return refused(text, QStringLiteral("GLib reads it otherwise than Orvel does"));
    // Desktops start only an application entry: turning it on makes it one.
    QByteArray type = entry.value("Type").value_or(QByteArray()).trimmed();
    if (enable && type != "Application")
        entry.setValue("Type", type = "Application");
    const std::optional<QByteArray> exec = entry.value("Exec");
    ExecLine::Start start;
    if (exec) {
        start = ExecLine::startingProgram(*exec, program);
    } else {
        start.value = ExecLine::argument(program);
        start.direct = true;
    }
    if (!start.refusal.isEmpty())
        return refused(text, QStringLiteral("its Exec line is left as it is: %1").arg(start.refusal));
    if (start.value != exec)
        entry.setValue("Exec", start.value);
    std::optional<QByteArray> tryExec = entry.value("TryExec");
    if (tryExec && start.direct) {
        if (const QByteArray followed = ExecLine::tryingProgram(*tryExec, program); followed != *tryExec)
            entry.setValue("TryExec", *(tryExec = followed));
    }
    if (enable && entry.boolean(hidden) == true)
        entry.setValue(hidden, "false");
    if (enable && entry.value(enabledKey) && entry.boolean(enabledKey) != true)
        entry.setValue(enabledKey, "true");
    Edit edited = fresh(entry.text(), false);
    if (!start.gone.isEmpty())
        edited.warning = QStringLiteral("its Exec line names %1, which is not there; the line is yours and "
                                        "stays as it is")
                             .arg(QFile::decodeName(start.gone));
    else if (!start.unexpanded.isEmpty())
        edited.warning = QStringLiteral("its Exec line starts %1, but desktops do not expand ~ or $HOME, so "
                                        "the desktop starts nothing; the line is yours and stays as it is")
                             .arg(QFile::decodeName(start.unexpanded));
    else if (type != "Application")
        edited.warning
            = QStringLiteral("it is no application entry (Type=Application), so the desktop starts "
                             "nothing");
    else if (tryExec && !ExecLine::isThere(*tryExec))
        edited.warning = QStringLiteral("its TryExec names %1, which is not there, so the desktop starts "
                                        "nothing")
                             .arg(QString::fromUtf8(*tryExec));
    if (edited.entry.size() > PrivateFiles::keptFileLimit)
        return refused(text,
            QStringLiteral("it would grow to %1 bytes, past the %2 an entry may be; left as it is")
                .arg(edited.entry.size())
                .arg(PrivateFiles::keptFileLimit));
    return edited;
}

QByteArray AutostartLoginItem::editedEntry(
    const QByteArray &entry, const QString &program, bool enable, const QString &name, QString *refusal)
{
    const Edit edited = edit(entry, program, enable, name);
    if (refusal)
        *refusal = edited.refusal;
    return edited.entry;
}

void AutostartLoginItem::update(bool enable)
{
    if (m_program.isEmpty())
        throw LoginItemError("the program to start at login is unknown");
    m_warning.clear();
    try {
        // The autostart folder is the desktop's, not ours: ordinary permissions.
        PrivateFiles::ensureDirectory(QFileInfo(m_filePath).path(), 0755);
        // A user's save made while this one is written is never written over:
        // the new text takes the file's place only while it is the file read,
        // and a changed one is edited afresh.
        for (int attempt = 1;; ++attempt) {
            const KeptRead entry = settledRead(m_filePath, m_pause);
            if (entry.isUnreadable())
                throw FileError(m_filePath, QStringLiteral("%1; left as it is").arg(entry.description));
            const Edit edited = entry.wasRead() ? edit(entry.data, m_program, enable, m_name)
                                                : fresh(desktopEntry(m_program, m_name), false);
            if (!edited.refusal.isEmpty())
                throw FileError(m_filePath, edited.refusal);
            if (!edited.warning.isEmpty())
                m_warning = QStringLiteral("%1: %2").arg(m_filePath, edited.warning);
            if (entry.wasRead() && edited.entry == entry.data)
                return;
            // An empty file holds nothing of the user's to keep.
            const bool aside = entry.wasRead() && edited.fresh && !entry.data.trimmed().isEmpty();
            if (aside)
                PrivateFiles::setAside(m_filePath);
            const bool expectMissing = !entry.wasRead() || aside;
            if (m_beforeWriting)
                m_beforeWriting();
            if (PrivateFiles::replaceIfUnchanged(
                    m_filePath, edited.entry, expectMissing ? std::nullopt : std::optional(entry.data)))
                return;
            if (attempt == 10)
                throw FileError(
                    m_filePath, QStringLiteral("it kept changing while it was written; left as it is"));
        }
    } catch (const FileError &error) {
        throw LoginItemError(QStringLiteral("%1: %2").arg(m_filePath, error.description).toStdString());
    }
}

void AutostartLoginItem::registerItem()
{
    update(true);
}

void AutostartLoginItem::keepRegistered()
{
    update(false);
}

void AutostartLoginItem::unregisterItem()
{
    const QByteArray path = QFile::encodeName(m_filePath);
    const auto refuse = [&](const QString &what) {
        throw LoginItemError(
            QStringLiteral("%1: %2, not an entry; left as it is").arg(m_filePath, what).toStdString());
    };
    const auto fail = [&](int error) {
        throw LoginItemError(QStringLiteral("%1: %2")
                                 .arg(m_filePath, QString::fromLocal8Bit(std::strerror(error)))
                                 .toStdString());
    };
    struct stat status { };
    if (::lstat(path.constData(), &status) != 0) {
        // An entry that is not there already means "do not start at login".
        if (errno == ENOENT || errno == ENOTDIR)
            return;
        fail(errno);
    }
    // Only what could be an entry is removed: a file, or a link to one. A link
    // that leads nowhere starts nothing either.
    if (S_ISLNK(status.st_mode)) {
        struct stat target { };
        if (::stat(path.constData(), &target) == 0 && !S_ISREG(target.st_mode))
            refuse(QStringLiteral("a symbolic link to %1").arg(PrivateFiles::kindOf(target.st_mode)));
    } else if (!S_ISREG(status.st_mode)) {
        refuse(PrivateFiles::kindOf(status.st_mode));
    }
    if (::unlink(path.constData()) != 0 && errno != ENOENT)
        fail(errno);
}
