#include "common/xml_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace swz {

XmlLoad loadXmlFile(const QString &path)
{
    XmlLoad result;
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        result.status = QFileInfo::exists(path) ? XmlLoad::Status::Unreadable
                                                : XmlLoad::Status::Missing;
        if (result.failed())
            result.error = QStringLiteral("%1 is not a file").arg(path);
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = XmlLoad::Status::Unreadable;
        result.error = file.errorString();
        return result;
    }
    QString message;
    int line = 0;
    int column = 0;
    if (!result.document.setContent(&file, &message, &line, &column)) {
        result.status = XmlLoad::Status::Malformed;
        result.document.clear();
        result.error = QStringLiteral("%1 (line %2, column %3)").arg(message).arg(line).arg(column);
        return result;
    }
    result.status = XmlLoad::Status::Loaded;
    return result;
}

QDomElement childElement(const QDomElement &parent, const QString &name)
{
    if (parent.isNull())
        return {};
    return parent.firstChildElement(name);
}

std::optional<QString> saveFileAtomically(const QString &path, const QByteArray &content)
{
    return saveFileAtomically(path, [&content](QIODevice &device) {
        return device.write(content) == content.size();
    });
}

std::optional<QString> saveFileAtomically(const QString &path,
                                          const std::function<bool(QIODevice &)> &writer)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (!writer(file)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason.isEmpty() ? QStringLiteral("write failed") : reason;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace swz
