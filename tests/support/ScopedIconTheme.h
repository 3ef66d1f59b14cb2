#pragma once

#include <QIcon>
#include <QStringList>

// Points Qt's icon-theme look-up at the given folders and at the theme every
// desktop's falls back to, for the guard's lifetime, so a test sees only the
// icons it installed (the offscreen platform names no theme of its own).
class ScopedIconTheme {
public:
    explicit ScopedIconTheme(const QStringList &folders)
        : m_folders(QIcon::themeSearchPaths())
        , m_name(QIcon::themeName())
    {
        QIcon::setThemeSearchPaths(folders);
        QIcon::setThemeName(QStringLiteral("hicolor"));
    }
    ~ScopedIconTheme()
    {
        QIcon::setThemeName(m_name);
        QIcon::setThemeSearchPaths(m_folders);
    }
    ScopedIconTheme(const ScopedIconTheme &) = delete;
    ScopedIconTheme &operator=(const ScopedIconTheme &) = delete;

private:
    QStringList m_folders;
    QString m_name;
};
