#pragma once

#include <QPushButton>

// A push button that paints its own rounded look: a 12-pixel medium label with an optional
// symbol before it. PrimaryButton and SoftButton choose the colours.
class CapsuleButton : public QPushButton {
    Q_OBJECT
public:
    // Symbol names are those of Symbols; an empty name shows the label alone.
    void setSymbol(const QString& symbolName);
    QString symbol() const { return symbol_; }
    // The symbol leads the label unless it is set to trail it.
    void setSymbolTrailing(bool trailing);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    CapsuleButton(const QString& text, const QString& symbolName, QWidget* parent);

    virtual QColor fillColor() const = 0;
    virtual QColor labelColor() const = 0;

    void paintEvent(QPaintEvent* event) override;
    static constexpr qreal cornerRadius = 11.0;

private:
    QString symbol_;
    bool symbolTrailing_ = false;
};
