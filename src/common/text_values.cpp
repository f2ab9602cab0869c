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

// One reader for both widths: the magnitude limits decide which texts still are integers.
std::optional<qint64> readIntegerWithin(QStringView text, quint64 negativeLimit,
                                        quint64 positiveLimit)
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

    // Accumulate the magnitude unsigned; the negative side may reach one more than the positive.
    const quint64 limit = negative ? negativeLimit : positiveLimit;
    quint64 value = 0;
    for (; i < n; ++i) {
        const int d = digitValue(text[i], base);
        if (d < 0)
            return std::nullopt;
        if (value > (limit - d) / base)
            return std::nullopt;
        value = value * base + d;
    }
    return negative ? static_cast<qint64>(0 - value) : static_cast<qint64>(value);
}

} // namespace

std::optional<qint32> readInteger(QStringView text)
{
    const std::optional<qint64> value =
        readIntegerWithin(text, quint64(1) << 31, (quint64(1) << 31) - 1);
    if (!value)
        return std::nullopt;
    return static_cast<qint32>(*value);
}

std::optional<qint64> readInteger64(QStringView text)
{
    return readIntegerWithin(text, quint64(1) << 63, (quint64(1) << 63) - 1);
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
