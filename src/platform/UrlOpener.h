#pragma once

class QUrl;

// Hands a web address or a local folder to the desktop, which opens it in the user's default
// browser or file manager. Views and services take one so that tests can hand in a fake and
// never start a browser.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;

    // False when the desktop found nothing to open it with.
    virtual bool open(const QUrl& url) = 0;

    // The desktop's own opener, alive for the whole process.
    static UrlOpener& desktop();
};
