#include "ansi.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

QString ToUnicode(std::string_view ansi) {
    QStringDecoder decode("GB18030");
    return decode(QByteArrayView(ansi.data(), qsizetype(ansi.size())));
}

std::string ToAnsi(const QString& text) {
    QStringEncoder encode("GB18030");
    QByteArray bytes = encode(text);
    return std::string(bytes.constData(), size_t(bytes.size()));
}

std::string NativePath(std::string_view ansiPath) {
    QByteArray native = QFile::encodeName(ToUnicode(ansiPath));
    return std::string(native.constData(), size_t(native.size()));
}

std::string AnsiFromNativePath(const std::string& nativePath) {
    return ToAnsi(QFile::decodeName(QByteArray::fromStdString(nativePath)));
}
