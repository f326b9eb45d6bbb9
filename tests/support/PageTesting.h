#pragma once

#include "support/ViewTesting.h"

#include <QSize>
#include <QWidget>
#include <memory>

// What a page test stands on: for each test function a fresh started store that saves nothing,
// and the view under test shown on it. A test class derives from it beside QObject:
//     void init() { page_ = showOnNewStore<CrewPage>(QSize(700, 1400)); }
//     void cleanup() { page_.reset(); closeStore(); }
class StoreUnderView {
protected:
    // `extra`: what the view takes after the store.
    template<typename View, typename... Extra>
    std::unique_ptr<View> showOnNewStore(QSize size, Extra&&... extra)
    {
        openNewStore();
        return showOnStore<View>(size, std::forward<Extra>(extra)...);
    }

    void openNewStore()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        store_ = StoreTesting::startedStore(folder_->path(), StoreTesting::morning(), StoreTesting::Saving::off);
    }

    template<typename View, typename... Extra>
    std::unique_ptr<View> showOnStore(QSize size, Extra&&... extra)
    {
        auto view = std::make_unique<View>(store_.get(), std::forward<Extra>(extra)...);
        view->resize(size);
        view->show();
        return view;
    }

    void closeStore()
    {
        store_.reset();
        folder_.reset();
    }

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<DewbellStore> store_;
};
