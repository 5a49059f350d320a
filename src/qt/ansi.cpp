#include "ansi.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace orvane {

QString ToUnicode(std::string_view ansi) {
    QStringDecoder decode("GB18030");
    return decode(QByteArrayView(ansi.data(), qsizetype(ansi.size())));
}

std::string ToAnsi(const QString& text) {
    QStringEncoder encode("GB18030");
    QByteArray bytes = encode(text);
    return {bytes.constData(), size_t(bytes.size())};
}

} // namespace orvane
