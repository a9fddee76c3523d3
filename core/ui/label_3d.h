#pragma once
// A label drawn with a raised or lowered look: the text three times, in white shifted
// by -Offset, in black shifted by +Offset and in its own colour in place (Offset
// negated for the lowered look). As a button it lowers while pressed.

#include <QLabel>

namespace orvek {

enum TLabelStyle { lsRaised, lsLowered };

class TLabel3D : public QLabel {
    Q_OBJECT
public:
    explicit TLabel3D(QWidget* parent = nullptr);

    int Offset() const { return offset_; }
    void SetOffset(int offset);
    TLabelStyle LabelStyle() const { return style_; }
    void SetLabelStyle(TLabelStyle style);
    bool AsButton() const { return asButton_; }
    // True switches to the raised look.
    void SetAsButton(bool asButton);

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int offset_ = 1;
    TLabelStyle style_ = lsRaised;
    bool asButton_ = false;
};

} // namespace orvek
