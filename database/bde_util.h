#pragma once
// The table-repair object of the data module: it routes the progress of a table
// verify or rebuild to the table-control window.

#include <QString>

namespace orvek {

class DatabaseSession;

// The table-control window as the repair routines move it: a caption naming the
// table and four bars (0 headers, 1 indexes, 2 data, 3 rebuild), each 0..100.
class TableControlStatus {
public:
    virtual ~TableControlStatus() = default;
    virtual void ShowStatus() = 0;
    virtual void HideStatus() = 0;
    virtual void SetTableCaption(const QString& caption) = 0;
    virtual void SetBar(int bar, int percent) = 0;
};

// The window the program installs; null when there is none (nothing is shown).
TableControlStatus* TableControlWindow();
void SetTableControlWindow(TableControlStatus* window);

class TBDEUtil {
public:
    explicit TBDEUtil(DatabaseSession* session);
    ~TBDEUtil();
    TBDEUtil(const TBDEUtil&) = delete;
    TBDEUtil& operator=(const TBDEUtil&) = delete;

    // Sends the session's progress to BDEProgressCallback, or stops sending it.
    void RegisterProgressCallback();
    void UnregisterProgressCallback();

    // The progress callback type of general progress.
    static constexpr int kGeneralProgress = 23;
    // Moves the bar of the phase (0 headers, 1 indexes, 2 data, 8 repair) to Percent;
    // other phases and other callback types move nothing. Always returns 0 (go on).
    static int BDEProgressCallback(int callbackType, int phase, int percent);

private:
    DatabaseSession* session_;
};

} // namespace orvek
