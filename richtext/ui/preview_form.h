#pragma once
// The print preview: one or two recorded pages at a chosen zoom, page navigation, a
// one-inch grid, a zoom tool and a hand tool. Its texts are fixed English.

#include <QDialog>
#include <QPointer>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QToolButton;
class QWidget;

namespace orvek {

class TPreviewPrinter;

class TPreviewForm : public QDialog {
    Q_OBJECT
public:
    explicit TPreviewForm(QWidget* parent = nullptr);
    ~TPreviewForm() override;

    TPreviewPrinter* PreviewPrinter = nullptr;
    int CurrentPage = 0;
    double Zoom = 1.0;
    bool Dragging = false;

    // Takes the printer's grid and zoom choice and lays the window out.
    void SetUp(bool showGrid, int zoomOption, int zoomVal);
    void ShowPage(int Index);
    void UpdateButtons();
    void LayoutPages();

    // The zoom entries, in list order.
    enum ZoomEntry { ziFitToPage, ziFitToWidth, ziCustom, zi25, zi50, zi75, zi100, zi125, zi150, zi200, zi300, zi400 };
    // Zoom presses of the zoom tool at (X, Y) of a page box: left multiplies by 1.5, right divides.
    void ZoomAt(QWidget* box, QPoint at, bool left, bool right);

    QPushButton *PrintBut, *PrevPageBut, *NextPageBut, *CloseBut;
    QComboBox* ZoomBox;
    QToolButton *FitPageBut, *FitWidthBut, *GridBut, *ZoomCursorBut, *HandCursorBut, *OnePageBut, *TwoPageBut;
    QToolButton *FirstPageSpeed, *PrevPageSpeed, *NextPageSpeed, *LastPageSpeed, *PageNumSpeed;
    QLabel *CurPageLabel, *ZoomLabel, *HintLabel;
    QScrollArea* ScrollBox1;
    QWidget* ContainPanel;
    QFrame *PagePanel, *PagePanel2;
    QWidget *PB1, *PB2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PageNumSpeedClick();
    void Go(int index);
    QPoint dragStart_;
};

class TGoPageForm : public QDialog {
    Q_OBJECT
public:
    explicit TGoPageForm(QWidget* parent = nullptr);
    QSpinBox* PageNum;
};

} // namespace orvek
