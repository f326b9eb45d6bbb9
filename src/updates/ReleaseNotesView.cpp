#include "updates/ReleaseNotesView.h"

#include "ui/Palette.h"
#include "ui/Typography.h"

#include <QDesktopServices>

ReleaseNotesView::ReleaseNotesView(QWidget* parent) : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("releaseNotes"));
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setFrameShape(QFrame::NoFrame);
    setFont(uiFont(12));
    document()->setDocumentMargin(10);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Palette::surface());
    colours.setColor(QPalette::Text, Palette::ink());
    colours.setColor(QPalette::Link, Palette::accent());
    setPalette(colours);
    connect(this, &QTextBrowser::anchorClicked, this, [](const QUrl& link) {
        if (link.scheme() == QLatin1String("https"))
            QDesktopServices::openUrl(link);
    });
}

void ReleaseNotesView::setNotes(const QString& notes, bool isHtml)
{
    if (isHtml)
        setHtml(notes);
    else
        setPlainText(notes);
}

QVariant ReleaseNotesView::loadResource(int, const QUrl&)
{
    ++refusedResources_;
    return {};
}
