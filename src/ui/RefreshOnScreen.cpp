#include "ui/RefreshOnScreen.h"

#include <QEvent>

namespace {

// Lives as the view's child, so it goes with the view. It answers only to Show, which never
// comes while the view is being destroyed.
class ShowFilter : public QObject {
public:
    ShowFilter(QWidget* view, std::function<void()> shown) : QObject(view), shown_(std::move(shown))
    {
        view->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            shown_();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> shown_;
};

}  // namespace

void refreshWhenShown(QWidget* view, std::function<void()> refresh)
{
    new ShowFilter(view, std::move(refresh));
}
