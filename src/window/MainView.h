#pragma once

#include "window/MainPages.h"

#include <QDate>
#include <QPointer>
#include <QWidget>
#include <optional>

class DewbellStore;
class MainSidebar;
class NoticeBanner;
class QLabel;
class QScrollArea;
class QVBoxLayout;
class TourSheet;

// The main window's content: the sidebar, a hairline, and the content column with the
// weekday header, the page the store's selectedPage names and, while the store holds a
// notice, the notice banner, scrolled into view when a new notice arrives. It also hosts the
// first-run tour sheet while the store's tourVisible is true, and takes no input while the sheet
// is open. It keeps no state of its own: everything comes from the store.
//
// Pages come from makePageWidget() (MainPages.h).
class MainView : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize minimumViewSize{920, 680};

    // `staticRendering` lays the column out without a scroll view, stretched to the height.
    explicit MainView(DewbellStore* store, bool staticRendering = false, QWidget* parent = nullptr);

    // The page on show.
    MainPage currentPage() const { return page_; }
    QWidget* pageWidget() const { return pageWidget_; }
    TourSheet* tourSheet() const { return tourSheet_; }

    // "<weekday>. A fresh little start." in the user's language.
    static QString headerText(const QDate& date);

private:
    void render();
    void showPage(MainPage page);
    QWidget* makeContentColumn(MainPage page);
    QWidget* makeHeader(QWidget* parent);
    void showNotice();
    void revealNotice();

    DewbellStore* store_;
    bool staticRendering_;
    MainSidebar* sidebar_;
    QVBoxLayout* contentHost_;
    QScrollArea* scrollArea_ = nullptr;
    QPointer<QWidget> column_;
    QVBoxLayout* columnLayout_ = nullptr;
    QLabel* header_ = nullptr;
    QWidget* pageWidget_ = nullptr;
    NoticeBanner* banner_ = nullptr;
    // The notice last shown, so that only a new one is brought into view.
    std::optional<QString> shownNotice_;
    TourSheet* tourSheet_;
    MainPage page_ = MainPage::dashboard;
};
