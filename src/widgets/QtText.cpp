#include "widgets/QtText.h"

namespace {

// Length of the well-formed UTF-8 sequence starting at s[i], or 0 if the bytes there are not
// one (overlong forms, surrogates and code points above U+10FFFF are rejected).
size_t Utf8SequenceLength(const std::string& s, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = byte(i);
    if (b0 < 0x80)
        return 1;
    size_t length;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0)
            low = 0xA0;
        else if (b0 == 0xED)
            high = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0)
            low = 0x90;
        else if (b0 == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > s.size())
        return 0;
    if (byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF)
            return 0;
    }
    return length;
}

} // namespace

QString FromCore(const std::string& text) {
    QString result;
    result.reserve(static_cast<qsizetype>(text.size()));
    size_t runStart = 0; // start of the pending run of valid UTF-8
    size_t i = 0;
    const auto flush = [&](size_t end) {
        if (end > runStart)
            result +=
                QString::fromUtf8(text.data() + runStart, static_cast<qsizetype>(end - runStart));
    };
    while (i < text.size()) {
        const size_t n = Utf8SequenceLength(text, i);
        if (n > 0) {
            i += n;
            continue;
        }
        flush(i);
        result += QChar(static_cast<char16_t>(static_cast<unsigned char>(text[i])));
        ++i;
        runStart = i;
    }
    flush(i);
    return result;
}

std::string ToCore(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString FoldCase(const QString& text) {
    QString folded;
    folded.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            const char32_t point = QChar::toCaseFolded(QChar::surrogateToUcs4(c, text.at(++i)));
            if (QChar::requiresSurrogates(point)) {
                folded += QChar(QChar::highSurrogate(point));
                folded += QChar(QChar::lowSurrogate(point));
            } else {
                folded += QChar(static_cast<char16_t>(point));
            }
        } else {
            folded += c.toCaseFolded();
        }
    }
    return folded;
}
