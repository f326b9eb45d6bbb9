#pragma once

#include "platform/UrlOpener.h"

#include <QList>
#include <QUrl>

// Remembers every address it is asked to open and opens none.
struct FakeUrlOpener : UrlOpener {
    QList<QUrl> opened;
    bool succeeds = true;
    bool open(const QUrl& url) override { return opened.append(url), succeeds; }
};
