#include "ui/linux/QtText.h"

#include "text/Encoding.h"

namespace tovrik::ui {

QString ToQString(TextView text) {
    const Bytes utf8 = text::TextToUtf8(text);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

Text FromQString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return text::Utf8ToText(BytesView(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString ToEditText(TextView text) {
    QString converted = ToQString(text);
    converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return converted;
}

Text FromEditText(const QString& text) {
    QString converted = text;
    converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    converted.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return FromQString(converted);
}

} // namespace tovrik::ui
