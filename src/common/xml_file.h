#pragma once

#include <QByteArray>
#include <QDomDocument>
#include <QDomElement>
#include <QString>

#include <functional>
#include <optional>

class QIODevice;

namespace swz {

// Result of reading an XML file. A missing file is not an error: callers use their defaults.
struct XmlLoad
{
    enum class Status { Loaded, Missing, Malformed, Unreadable };

    Status status = Status::Missing;
    QDomDocument document;
    QString error; // parser or system message when Malformed or Unreadable

    bool loaded() const { return status == Status::Loaded; }
    bool failed() const { return status == Status::Malformed || status == Status::Unreadable; }
    // The document element, whatever its name; null unless loaded.
    QDomElement root() const { return document.documentElement(); }
};

XmlLoad loadXmlFile(const QString &path);

// The first child element of parent with that name, or a null element.
QDomElement childElement(const QDomElement &parent, const QString &name);

// Writes a whole file atomically: the old file stays untouched until the new content is
// complete. Returns the reason on failure, nothing on success.
std::optional<QString> saveFileAtomically(const QString &path, const QByteArray &content);

// Same, for writers that stream into the device. The writer returns false when it failed;
// a device error is then taken as the reason.
std::optional<QString> saveFileAtomically(const QString &path,
                                          const std::function<bool(QIODevice &)> &writer);

} // namespace swz
