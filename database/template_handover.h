#pragma once
// Handing a template over to the main window: the template window writes the chosen
// template's tree to a transfer file in the temporary folder, every field locked as a
// template field, and keeps the new record's head in fields the main window reads after
// the window closed with OK.

#include <QDate>
#include <QString>

namespace orvek {

class TCell;

// TempDir + "TempTrasferFile.STM".
QString TransferFileName();

// Writes the transfer file whole or not at all: the diagram text of Root with every
// field marked as template-locked, and a line break. The tree Root stays as it is. False
// with Error when the file could not be written (an older file is then left as it was).
bool WriteTransferFile(TCell& root, QString* error = nullptr);

// What the window does after the checks that precede the record-head dialog.
enum class THandOverStep {
    Refused, // several templates selected: text 928 was shown
    StayOpen, // Retry on the expired-source question: the window stays open
    CancelPick, // No on the expired-source question: the window closes with Cancel
    AskRecordHead, // go on to the record-head dialog (text 761)
};

// The checks of a hand-over: with more than one selected template a warning (text 928,
// Cancel only) refuses it; a tree with a source past its validity date asks text 642
// with Yes, No and Retry. Root may be null (no tree: no question).
THandOverStep CheckHandOver(int selectedCount, TCell* root);

// The head the user typed for the new record.
struct THandOverHead {
    QDate Date;
    QString RecordName;
    QString SampleID;
};

// What the main window reads after a close with OK.
struct THandOverFields {
    int HandOverTemplateID = 0;
    QString HandOverTemplateName;
    QString HandOverRecordName;
    QString HandOverSampleID;
    QDate HandOverDate;
};

// Writes the transfer file and fills Fields from Head and the template. When the file
// cannot be written the reason is shown (text 21803), HandOverTemplateID stays 0 and
// the result is False: the window stays open.
bool CompleteHandOver(
    TCell& root, int templateId, const QString& templateName, const THandOverHead& head, THandOverFields& fields);

} // namespace orvek
