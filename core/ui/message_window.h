#pragma once
// The shared batch-progress window: a bar and a Cancel button whose press sets
// BatchAborted, which the batch loop polls through StepProgress.

#include "core/services.h"

#include <QDialog>

class QProgressBar;
class QPushButton;
class QFrame;

namespace orvek {

inline bool BatchAborted = false;

class TfMessageWindow : public QDialog, public MessageWindowService {
    Q_OBJECT
public:
    explicit TfMessageWindow(QWidget* parent = nullptr);

    bool ShowCancel = true;
    QFrame* Panel2 = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QPushButton* ButtonCancel = nullptr;

    void SetupProgress(bool showBar, int min, int max) override;
    bool StepProgress(int value) override;
    void ShowBatch(const QString& caption, bool showCancel) override;
    void HideBatch() override;

protected:
    void showEvent(QShowEvent* event) override;
};

inline TfMessageWindow* fMessageWindow = nullptr;

} // namespace orvek
