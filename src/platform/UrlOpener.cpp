#include "platform/UrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

class DesktopUrlOpener : public UrlOpener {
public:
    bool open(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

}  // namespace

UrlOpener& UrlOpener::desktop()
{
    static DesktopUrlOpener opener;
    return opener;
}
