#include "window/MainView.h"

#include "platform/UrlOpener.h"
#include "store/DewbellStore.h"
#include "ui/DarkSurface.h"
#include "ui/FilledCard.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/RefreshOnScreen.h"
#include "ui/Typography.h"
#include "window/MainSidebar.h"
#include "window/NoticeBanner.h"
#include "window/TourSheet.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {
// Room kept below a notice brought into view, so it does not sit on the window's edge.
constexpr int noticeMargin = 24;
}  // namespace

MainView::MainView(DewbellStore* store, bool staticRendering, QWidget* parent)
    : QWidget(parent), store_(store), staticRendering_(staticRendering)
{
    setObjectName(QStringLiteral("mainView"));
    setMinimumSize(minimumViewSize);
    useDarkSurface(this);

    auto* layout = makeRow(this, 0);
    sidebar_ = new MainSidebar(store_, this);
    layout->addWidget(sidebar_);
    auto* divider = new FilledCard(Palette::line(), 0, this);
    divider->setFixedWidth(1);
    layout->addWidget(divider);

    contentHost_ = makeColumn();
    layout->addLayout(contentHost_, 1);
    if (!staticRendering_) {
        scrollArea_ = new QScrollArea(this);
        scrollArea_->setObjectName(QStringLiteral("pageScroll"));
        scrollArea_->setFrameShape(QFrame::NoFrame);
        scrollArea_->setWidgetResizable(true);
        scrollArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scrollArea_->viewport()->setAutoFillBackground(false);
        contentHost_->addWidget(scrollArea_);
    }

    tourSheet_ = new TourSheet(store_, this, UrlOpener::desktop());
    showPage(mainPage(store_->selectedPage()));
    refreshWhileOnScreen(this, store_, &DewbellStore::changed, [this] { render(); });
}

void MainView::render()
{
    const MainPage wanted = mainPage(store_->selectedPage());
    if (wanted != page_ || !column_)
        showPage(wanted);
    sidebar_->refresh();
    header_->setText(headerText(QDate::currentDate()));
    showNotice();
    tourSheet_->sync();
    // The sheet is not modal: the window behind it holds still by itself.
    const bool touring = tourSheet_->isVisible();
    QWidget* content = scrollArea_ ? static_cast<QWidget*>(scrollArea_) : column_.data();
    sidebar_->setEnabled(!touring);
    content->setEnabled(!touring);
}

// Each page gets a fresh column (and so opens scrolled to its top).
void MainView::showPage(MainPage page)
{
    page_ = page;
    banner_ = nullptr;
    QWidget* column = makeContentColumn(page);
    if (scrollArea_) {
        scrollArea_->setWidget(column);
    } else {
        delete column_;
        contentHost_->addWidget(column);
    }
    column_ = column;
    showNotice();
}

QWidget* MainView::makeContentColumn(MainPage page)
{
    auto* column = new QWidget;
    column->setObjectName(QStringLiteral("mainContent"));
    column->setAutoFillBackground(false);
    columnLayout_ = new QVBoxLayout(column);
    columnLayout_->setContentsMargins(32, 20, 32, 32);
    columnLayout_->setSpacing(23);
    columnLayout_->addWidget(makeHeader(column));
    pageWidget_ = makePageWidget(page, store_, column);
    columnLayout_->addWidget(pageWidget_);
    columnLayout_->addStretch(1);
    return column;
}

QWidget* MainView::makeHeader(QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = makeRow(row);
    header_ = makeLabel(headerText(QDate::currentDate()), uiFont(11, QFont::Medium), Palette::muted(), row);
    header_->setObjectName(QStringLiteral("weekdayHeader"));
    layout->addWidget(header_);
    layout->addStretch(1);
    layout->addWidget(makeLabel(QStringLiteral("JUST YOU & YOUR BUDDY"),
                                uiFont(8, QFont::DemiBold, FontDesign::standard, 1.5), Palette::muted(), row));
    return row;
}

// The banner stands after the page and takes no room while there is no notice. A new notice
// answers what the user just did, often far up the page: it is scrolled into view.
void MainView::showNotice()
{
    const std::optional<QString> notice = store_->notice();
    if (!notice) {
        // The banner may be the sender of the close that got us here.
        if (banner_) {
            banner_->hide();
            banner_->deleteLater();
        }
        banner_ = nullptr;
        shownNotice_.reset();
        return;
    }
    if (!banner_) {
        banner_ = new NoticeBanner(column_);
        connect(banner_, &NoticeBanner::closeRequested, this, [this] { store_->setNotice(std::nullopt); });
        columnLayout_->insertWidget(columnLayout_->indexOf(pageWidget_) + 1, banner_);
        banner_->show();
    }
    banner_->setText(*notice);
    if (notice != shownNotice_) {
        shownNotice_ = notice;
        revealNotice();
    }
}

// Once the column has made room for the banner, which happens after this change is handled.
void MainView::revealNotice()
{
    if (!scrollArea_)
        return;
    QMetaObject::invokeMethod(
        banner_,
        [this, banner = banner_] {
            if (banner == banner_)
                scrollArea_->ensureWidgetVisible(banner, 0, noticeMargin);
        },
        Qt::QueuedConnection);
}

QString MainView::headerText(const QDate& date)
{
    return QLocale().dayName(date.dayOfWeek(), QLocale::LongFormat) + QStringLiteral(". A fresh little start.");
}
