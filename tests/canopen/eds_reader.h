#pragma once

// A small reader of EDS text for the tests: sections in file order with their keys, and the
// structural checks a strict master tool makes on a data sheet.

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>

namespace eds_reader {

struct Section
{
    QString name; // without brackets, e.g. "1600sub2"
    QList<QPair<QString, QString>> keys;

    QString value(const QString &key) const
    {
        for (const auto &[k, v] : keys)
            if (k == key)
                return v;
        return QString();
    }
};

inline QList<Section> parse(const QByteArray &bytes)
{
    QList<Section> sections;
    const QStringList lines = QString::fromLocal8Bit(bytes).split(QStringLiteral("\r\n"));
    for (const QString &line : lines) {
        if (line.startsWith('[') && line.endsWith(']')) {
            sections.append({line.mid(1, line.size() - 2), {}});
        } else if (!line.isEmpty() && !sections.isEmpty()) {
            const int eq = line.indexOf('=');
            sections.last().keys.append({line.left(eq), line.mid(eq + 1)});
        }
    }
    return sections;
}

inline const Section *find(const QList<Section> &sections, const QString &name)
{
    for (const Section &s : sections)
        if (s.name == name)
            return &s;
    return nullptr;
}

// The list of faults a strict reader would report; empty for a sound file.
inline QStringList structuralFaults(const QByteArray &bytes)
{
    QStringList faults;
    if (bytes.contains('\n') && bytes.count('\n') != bytes.count("\r\n"))
        faults << QStringLiteral("line ends other than CR LF");
    const QList<Section> sections = parse(bytes);

    QSet<QString> names;
    for (const Section &s : sections) {
        if (names.contains(s.name.toUpper()))
            faults << QStringLiteral("section %1 twice").arg(s.name);
        names.insert(s.name.toUpper());
        QSet<QString> keys;
        for (const auto &[k, v] : s.keys) {
            if (keys.contains(k.toUpper()))
                faults << QStringLiteral("key %1 twice in %2").arg(k, s.name);
            keys.insert(k.toUpper());
        }
    }

    static const QRegularExpression objectRe(QStringLiteral("^([0-9A-F]{4})$"));
    static const QRegularExpression subRe(QStringLiteral("^([0-9A-F]{4})sub([0-9A-F]{1,2})$"));
    QMap<QString, int> subCount;
    QStringList objects;
    for (const Section &s : sections) {
        if (objectRe.match(s.name).hasMatch())
            objects << s.name;
        const QRegularExpressionMatch sub = subRe.match(s.name);
        if (sub.hasMatch()) {
            subCount[sub.captured(1)]++;
            if (!names.contains(sub.captured(1)))
                faults << QStringLiteral("%1 without its object").arg(s.name);
        }
    }

    // Every object in exactly one of the three lists, and every listed object present; the
    // entries numbered 1..SupportedObjects.
    QMap<QString, int> listed;
    for (const char *listName : {"MandatoryObjects", "OptionalObjects", "ManufacturerObjects"}) {
        const Section *list = find(sections, QLatin1String(listName));
        if (!list) {
            faults << QStringLiteral("no [%1]").arg(QLatin1String(listName));
            continue;
        }
        const int supported = list->value(QStringLiteral("SupportedObjects")).toInt();
        if (list->keys.size() != supported + 1)
            faults << QStringLiteral("%1 lists %2 objects, says %3")
                          .arg(QLatin1String(listName))
                          .arg(list->keys.size() - 1)
                          .arg(supported);
        for (int k = 1; k <= supported; ++k) {
            const QString entry = list->value(QString::number(k));
            if (!entry.startsWith(QStringLiteral("0x")))
                faults << QStringLiteral("%1 entry %2 missing").arg(QLatin1String(listName)).arg(k);
            listed[entry.mid(2)]++;
        }
    }
    for (const QString &object : objects) {
        if (listed.value(object) != 1)
            faults << QStringLiteral("%1 listed %2 times").arg(object).arg(listed.value(object));
    }
    for (auto it = listed.cbegin(); it != listed.cend(); ++it) {
        if (!objects.contains(it.key()))
            faults << QStringLiteral("%1 listed but absent").arg(it.key());
    }

    // SubNumber equals the number of sub sections; objects without SubNumber have none.
    for (const QString &object : objects) {
        const Section *s = find(sections, object);
        const QString subNumber = s->value(QStringLiteral("SubNumber"));
        const int expected = subNumber.isEmpty() ? 0 : subNumber.toInt();
        if (subCount.value(object) != expected)
            faults << QStringLiteral("%1 SubNumber %2 with %3 sub sections")
                          .arg(object, subNumber)
                          .arg(subCount.value(object));
    }

    // Every mapping entry names an existing sub-index of an existing object.
    static const QRegularExpression mapRe(QStringLiteral("^0x([0-9A-F]{4})([0-9A-F]{2})([0-9A-F]{2})$"));
    for (const Section &s : sections) {
        if (!(s.name.startsWith(QStringLiteral("16")) || s.name.startsWith(QStringLiteral("1A")))
            || !s.name.contains(QStringLiteral("sub")) || s.name.endsWith(QStringLiteral("sub0")))
            continue;
        const QRegularExpressionMatch m = mapRe.match(s.value(QStringLiteral("DefaultValue")));
        if (!m.hasMatch()) {
            faults << QStringLiteral("%1 mapping entry unreadable").arg(s.name);
            continue;
        }
        const QString target = m.captured(1) + QStringLiteral("sub")
                               + QString::number(m.captured(2).toInt(nullptr, 16), 16).toUpper();
        if (!find(sections, target))
            faults << QStringLiteral("%1 maps missing %2").arg(s.name, target);
    }
    return faults;
}

} // namespace eds_reader
