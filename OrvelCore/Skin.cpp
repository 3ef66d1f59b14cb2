#include "Skin.h"

#include <QStringDecoder>

Skin skinFromStoredValue(const std::optional<QString> &value)
{
    if (value && *value == toRawValue(Skin::rivista))
        return Skin::rivista;
    return standardSkin;
}

QByteArray skinFileData(Skin skin)
{
    return toRawValue(skin).toUtf8();
}

Skin skinFromFileData(const QByteArray &data)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(data);
    if (decoder.hasError())
        return standardSkin;
    return skinFromStoredValue(text.trimmed());
}
