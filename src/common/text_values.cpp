#include "common/text_values.h"

namespace swz {

namespace {

int digitValue(QChar c, int base)
{
    const char16_t u = c.unicode();
    int v = -1;
    if (u >= u'0' && u <= u'9')
        v = u - u'0';
    else if (u >= u'a' && u <= u'f')
        v = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        v = u - u'A' + 10;
    return v < base ? v : -1;
}

} // namespace

std::optional<qint32> readInteger(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;

    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }

    int base = 10;
    if (i < n && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i < n && (text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }

    if (i >= n)
        return std::nullopt;

    // Accumulate the magnitude in 64 bits; the negative side may reach 2^31.
    const qint64 limit = negative ? qint64(1) << 31 : (qint64(1) << 31) - 1;
    qint64 value = 0;
    for (; i < n; ++i) {
        const int d = digitValue(text[i], base);
        if (d < 0)
            return std::nullopt;
        value = value * base + d;
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<qint32>(negative ? -value : value);
}

qint32 readIntegerOr(QStringView text, qint32 fallback)
{
    return readInteger(text).value_or(fallback);
}

QString trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(begin, end - begin).toString();
}

} // namespace swz
