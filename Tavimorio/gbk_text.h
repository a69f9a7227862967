#pragma once

// The one conversion between text and the GBK bytes names and text values
// travel in, for the client library, the data server and the applications.

#include <QByteArray>
#include <QString>
#include <QTextCodec>

namespace tavimorio {

/// The GBK codec; every Qt build with its text codecs carries it.
inline QTextCodec* gbkCodec()
{
    static QTextCodec* const codec = QTextCodec::codecForName("GBK");
    Q_ASSERT(codec);
    return codec;
}

/// \a text in GBK. When \a exact is given it is set to false if a character
/// has no GBK code (it became '?', which would name something else).
inline QByteArray toGbk(const QString& text, bool* exact = nullptr)
{
    QTextCodec::ConverterState state;
    const QByteArray bytes = gbkCodec()->fromUnicode(text.constData(), text.size(), &state);
    if (exact)
        *exact = state.invalidChars == 0 && state.remainingChars == 0;
    return bytes;
}

/// The text of \a len GBK bytes at \a bytes.
inline QString fromGbk(const char* bytes, int len)
{
    return gbkCodec()->toUnicode(bytes, len);
}

/// The text of the GBK bytes at \a bytes up to the first NUL, at most \a capacity bytes.
inline QString fromGbkField(const char* bytes, int capacity)
{
    return fromGbk(bytes, int(qstrnlen(bytes, uint(capacity))));
}

} // namespace tavimorio
