#pragma once

#include <QStringList>

// The XDG base directory variables, as the rules for them say to read them.
struct XdgBaseDirectories {
    // Unsets each of XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_STATE_HOME,
    // XDG_CACHE_HOME and XDG_RUNTIME_DIR that holds a relative path: the rules
    // say to ignore it, and Qt would take it from the current folder, so a
    // program started elsewhere would find other files. Call first thing in
    // main, before anything asks where a file lives. Returns the names unset.
    static QStringList ignoreRelative();
};
