#pragma once

#include <QByteArray>
#include <QString>

// The Exec value of a desktop entry, read as the desktop, env and the shells
// read it: the entry's quoting first (single quotes, backslashes and a
// comment too, as desktops take them), then an env split string (env -S) or a shell's command string (sh,
// bash, dash or zsh -c) as its own words.
namespace ExecLine {
// The program as one argument of an Exec value: quoted when `quote` or when
// it must be, escaped as a string value.
QByteArray argument(const QString &program, bool quote = true);

// The value that starts the program with what the user wrapped around it:
// the same bytes when any of its words names the program (its path, a link
// to it, its name on the search path), at any depth; a moved program (its
// file name at another place or bare, where a command goes, behind env, a
// shell or a wrapper such as nohup; failing that, a whole absolute path among
// an unknown program's arguments, never a folder nor a NAME=value) gets the new path in
// its stead, quoted as the text around it needs, every other byte kept. A
// value that holds the program's file name anywhere else (an expansion, a
// variable's value, a string this reading cannot follow) stays as it is.
// Only a value that nowhere mentions the program gets it in another
// program's place, after its env prefix and without the other's arguments,
// or alone when the value cannot be read. Where the new path cannot stand
// (env, or a program Orvel does not know, would take a path with = for a
// variable), or the value names more programs than are looked up, holds the
// moved path in too many places or would outgrow an entry, it stays and
// `refusal` says why. Strings nested too deep or too long to read stay too.
QByteArray startingProgram(const QByteArray &value, const QString &program, QString *refusal = nullptr);
} // namespace ExecLine
