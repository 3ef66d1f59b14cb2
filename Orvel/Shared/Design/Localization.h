#pragma once

#include <QString>
#include <QVariantList>
#include <memory>

class QTranslator;

// The user-visible text for a key; the English text is the key. Translations
// come from the application's installed QTranslators (context "Localizable");
// without an entry the key itself is the text.
QString localized(const QString &key);

// The localised text with its placeholders (%@, %d, %i, %ld, %u and their
// positional forms such as %1$@) replaced by the arguments, in order. The
// translated text is never handed to a printf-style formatter: unknown or
// unmatched placeholders stay as they are and "%%" reads as "%".
QString localized(const QString &key, const QVariantList &arguments);

// Installs the embedded table of Linux words (texts that name another
// desktop's places) into the running application, once; later calls do
// nothing. False when there is no application or the table is missing.
bool installLinuxWording();

// That table as a translator. Without a notch on any display, the texts that
// name the notch read as the top player's and its header's.
std::unique_ptr<QTranslator> linuxWording(bool notch);

// The substitution alone, for texts that are already localised.
QString substitutePlaceholders(const QString &format, const QVariantList &arguments);
