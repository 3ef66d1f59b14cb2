#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <ostream>

// Readable failure messages for Qt values in GoogleTest.
inline void PrintTo(const QString &value, std::ostream *os)
{
    *os << '"' << value.toStdString() << '"';
}
inline void PrintTo(const QByteArray &value, std::ostream *os)
{
    *os << '"' << value.toStdString() << '"';
}
inline void PrintTo(const QUrl &value, std::ostream *os)
{
    *os << '<' << value.toString().toStdString() << '>';
}
