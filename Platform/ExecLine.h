#pragma once

#include <QByteArray>
#include <QString>

// The Exec value of a desktop entry, read as GLib reads it: the string's
// escapes undone, %% for %, then split into words as g_shell_parse_argv splits
// them. The value is the user's: only the word that starts the program
// directly is ever written anew.
namespace ExecLine {
// The program as one argument of an Exec value: quoted when `quote` or when
// it must be, escaped as a string value.
QByteArray argument(const QString &program, bool quote = true);

// What a value becomes for the program.
struct Start {
    QByteArray value; // the same bytes when nothing changes
    // It starts the program itself: first, or after env's options and
    // NAME=value words (the shape in which a moved program's word is written anew).
    bool direct = false;
    QString refusal; // the value stays, and this says why
    QByteArray gone; // a path to the program's file name, gone, in a value that stays
    // A command spelled through the home folder (~/, $HOME/), which desktops
    // do not expand, in a value that stays: it starts nothing.
    QByteArray unexpanded;
};

// The value that starts the program with what the user wrapped around it. A
// value that starts the program directly (its path, a link to it, its name on
// the search path) stays; one that starts it directly from an absolute path
// or a bare name that is no longer it gets the new path in that word alone,
// quoted as the old word was or as the path needs. Any other value that
// mentions the program's file name (shell strings, env -S, other wrappers,
// relative or ~ spellings) stays byte for byte. Only a value that nowhere
// mentions it gets the program in another program's place, after env's part.
// A new path with = that env would take for a variable is refused.
Start startingProgram(const QByteArray &value, const QString &program);

// The TryExec value that follows the program: the new one's when `value` names
// the program's file name by an absolute path or bare name that is no longer
// it, otherwise `value` itself.
QByteArray tryingProgram(const QByteArray &value, const QString &program);

// Whether a TryExec value names a program that is there, as GLib looks it up
// (on the search path for a bare name; empty asks for nothing).
bool isThere(const QByteArray &tryExec);
} // namespace ExecLine
