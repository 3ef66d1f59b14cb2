#include "Localization.h"

#include "Screens.h"

#include <QCoreApplication>
#include <QTranslator>

namespace {
const char *const anyDesktop = "Localizable";
// The table's second context: the words of displays without a notch.
const char *const withoutNotch = "Localizable without a notch";

class LinuxWording final : public QTranslator {
public:
    explicit LinuxWording(bool notch)
        : m_notch(notch)
    {
    }

    QString translate(
        const char *context, const char *sourceText, const char *disambiguation, int n) const override
    {
        if (!m_notch && qstrcmp(context, anyDesktop) == 0) {
            QString words = QTranslator::translate(withoutNotch, sourceText, disambiguation, n);
            if (!words.isEmpty())
                return words;
        }
        return QTranslator::translate(context, sourceText, disambiguation, n);
    }

private:
    bool m_notch;
};
} // namespace

QString localized(const QString &key)
{
    const QByteArray utf8 = key.toUtf8();
    const QString text = QCoreApplication::translate(anyDesktop, utf8.constData());
    return text.isEmpty() ? key : text;
}

std::unique_ptr<QTranslator> linuxWording(bool notch)
{
    auto translator = std::make_unique<LinuxWording>(notch);
    if (!translator->load(QStringLiteral(":/com.velbrandtoro.Orvel/i18n/LinuxWording.qm")))
        return nullptr;
    return translator;
}

bool installLinuxWording()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return false;
    static const QLatin1String name{"orvelLinuxWording"};
    if (application->findChild<QTranslator *>(name, Qt::FindDirectChildrenOnly))
        return true;
    std::unique_ptr<QTranslator> translator = linuxWording(SystemScreens::declaredNotch().has_value());
    if (!translator)
        return false;
    translator->setObjectName(name);
    translator->setParent(application);
    return QCoreApplication::installTranslator(translator.release());
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
