#include "updates/ReleaseNotesView.h"

#include "ui/Palette.h"
#include "ui/Typography.h"

#include <QDesktopServices>
#include <QImage>

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
    setPalette(colours);
    document()->setDefaultStyleSheet(QStringLiteral("a { color: %1; }").arg(Palette::accent().name()));
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

QVariant ReleaseNotesView::loadResource(int type, const QUrl& name)
{
    refusedResources_.append(name);
    // A blank pixel rather than nothing: the rich-text engine draws a broken-picture sign otherwise.
    if (type == QTextDocument::ImageResource) {
        QImage blank(1, 1, QImage::Format_ARGB32);
        blank.fill(Qt::transparent);
        return blank;
    }
    return {};
}
