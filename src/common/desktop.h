#pragma once

#include <QString>

namespace swz {

// Opens web addresses in the user's browser. Behind an interface so that tests never start a
// browser or touch the network.
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;
    virtual void openUrl(const QString &url) = 0;
};

// The opener in use; without one installed a request is only logged.
UrlOpener &urlOpener();
void installUrlOpener(UrlOpener *opener);

} // namespace swz
