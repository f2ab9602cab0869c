#include "common/desktop.h"

#include <QDebug>

namespace swz {

namespace {

class LogUrlOpener final : public UrlOpener
{
public:
    void openUrl(const QString &url) override { qInfo().noquote() << "Open in browser:" << url; }
};

LogUrlOpener g_logOpener;
UrlOpener *g_opener = &g_logOpener;

} // namespace

UrlOpener &urlOpener()
{
    return *g_opener;
}

void installUrlOpener(UrlOpener *opener)
{
    g_opener = opener ? opener : &g_logOpener;
}

} // namespace swz
