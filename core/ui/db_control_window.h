#pragma once
// Shows the four phases of a table check; the check's progress callback moves the bars.

#include <QDialog>

class QProgressBar;

namespace orvek {

class TfDBControlWindowStatus : public QDialog {
    Q_OBJECT
public:
    explicit TfDBControlWindowStatus(QWidget* parent = nullptr);

    QProgressBar* PBHeader = nullptr;
    QProgressBar* PBIndexes = nullptr;
    QProgressBar* PBData = nullptr;
    QProgressBar* PBRebuild = nullptr;
};

inline TfDBControlWindowStatus* fDBControlWindowStatus = nullptr;

} // namespace orvek
