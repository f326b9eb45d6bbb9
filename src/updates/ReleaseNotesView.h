#pragma once

#include <QTextBrowser>

// Release notes from the feed, plain or HTML, shown as text only: the rich-text engine runs no
// scripts, and no image, style sheet or other resource is ever loaded, from the network or
// from the disk. A click on an https link opens it in the user's browser.
class ReleaseNotesView : public QTextBrowser {
    Q_OBJECT
public:
    explicit ReleaseNotesView(QWidget* parent = nullptr);

    void setNotes(const QString& notes, bool isHtml);

    // The resources the notes asked for, and were refused.
    const QList<QUrl>& refusedResources() const { return refusedResources_; }

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QList<QUrl> refusedResources_;
};
