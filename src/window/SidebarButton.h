#pragma once

#include <QAbstractButton>

// One entry of the main window's sidebar: a symbol in a 19-point frame and the page's title,
// lilac on a faint lilac rounded rectangle while its page is shown, muted otherwise.
class SidebarButton : public QAbstractButton {
    Q_OBJECT
public:
    SidebarButton(const QString& title, const QString& symbolName, QWidget* parent = nullptr);

    void setSelected(bool selected);
    bool isSelected() const { return selected_; }
    QColor foreground() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString symbol_;
    bool selected_ = false;
};
