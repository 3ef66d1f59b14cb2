#include "Localization.h"

#include <QCoreApplication>
#include <QTranslator>

QString localized(const QString &key)
{
    const QByteArray utf8 = key.toUtf8();
    const QString text = QCoreApplication::translate("Localizable", utf8.constData());
    return text.isEmpty() ? key : text;
}

bool installLinuxWording()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return false;
    static const QLatin1String name{"orvelLinuxWording"};
    if (application->findChild<QTranslator *>(name, Qt::FindDirectChildrenOnly))
        return true;
    auto *translator = new QTranslator(application);
    translator->setObjectName(name);
    if (!translator->load(QStringLiteral(":/com.velbrandtoro.Orvel/i18n/LinuxWording.qm"))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

QString localized(const QString &key, const QVariantList &arguments)
{
    return substitutePlaceholders(localized(key), arguments);
}

QString substitutePlaceholders(const QString &format, const QVariantList &arguments)
{
    QString result;
    result.reserve(format.size());
    qsizetype next = 0; // the argument the next unnumbered placeholder takes
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c != QLatin1Char('%') || i + 1 >= format.size()) {
            result += c;
            continue;
        }
        if (format[i + 1] == QLatin1Char('%')) {
            result += QLatin1Char('%');
            ++i;
            continue;
        }
        // %[n$][l|ll]conversion
        qsizetype j = i + 1;
        qsizetype position = -1;
        bool numbered = false;
        qsizetype digitsEnd = j;
        while (digitsEnd < format.size() && format[digitsEnd].isDigit() && digitsEnd - j < 3)
            ++digitsEnd;
        if (digitsEnd > j && digitsEnd < format.size() && format[digitsEnd] == QLatin1Char('$')) {
            position = format.mid(j, digitsEnd - j).toInt() - 1;
            numbered = true;
            j = digitsEnd + 1;
        }
        while (j < format.size() && format[j] == QLatin1Char('l'))
            ++j;
        if (j >= format.size() || !QStringLiteral("@diu").contains(format[j])) {
            result += c; // not a placeholder we fill: keep the text as it is
            continue;
        }
        const qsizetype index = numbered ? position : next++;
        if (index < 0 || index >= arguments.size()) {
            result += format.mid(i, j - i + 1);
        } else {
            const QVariant &argument = arguments[index];
            const bool integer = format[j] != QLatin1Char('@');
            result += integer ? QString::number(argument.toLongLong()) : argument.toString();
        }
        i = j;
    }
    return result;
}
