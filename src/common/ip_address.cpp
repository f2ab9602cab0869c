#include "common/ip_address.h"

#include "common/text_values.h"

namespace swz {

namespace {

// Cuts the text before the first "." off rest; false when rest holds no ".".
bool takePart(QString &rest, QString &part)
{
    const qsizetype dot = rest.indexOf(u'.');
    if (dot < 0)
        return false;
    part = trimBlanks(QStringView(rest).left(dot));
    rest = trimBlanks(QStringView(rest).mid(dot + 1));
    return true;
}

bool isOctet(const QString &part)
{
    // 1000 stands for "no integer": out of range like any other bad value.
    const qint32 value = readIntegerOr(part, 1000);
    return value >= 0 && value <= 255;
}

} // namespace

bool Split_IP_Address(const QString &text, QString &A, QString &B, QString &C, QString &D)
{
    QString rest = trimBlanks(text);
    if (!takePart(rest, A))
        return false;
    if (!takePart(rest, B))
        return false;
    const qsizetype dot = rest.indexOf(u'.');
    if (dot < 0)
        return false;
    // The fourth part is everything after the third "."; further dots make it no integer.
    C = trimBlanks(QStringView(rest).left(dot));
    D = trimBlanks(QStringView(rest).mid(dot + 1));
    return isOctet(A) && isOctet(B) && isOctet(C) && isOctet(D);
}

} // namespace swz
