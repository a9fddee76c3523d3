#pragma once
// The message window of the chart windows: a fixed-size box that shows a report
// mark-up text (the violated run tests of a chart) in the report font, with a Close
// button. One instance lives for the whole process; it is emptied whenever it closes.

#include <QDialog>

class QPushButton;

namespace orvek {

class TRichEdit98;

class TfOrvekMessage : public QDialog {
    Q_OBJECT
public:
    explicit TfOrvekMessage(QWidget* parent = nullptr);

    // Replaces the content with Text rendered from mark-up; the caller shows the window.
    void ShowMarkupMessage(const QString& Text);

    TRichEdit98* MessageRichEdit = nullptr;
    QPushButton* CloseButton = nullptr;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
};

// Created at start-up by the program and kept until it ends.
inline TfOrvekMessage* fOrvekMessage = nullptr;

} // namespace orvek
