#pragma once
// The service user's file tools of the template window: model files (".stm") written
// out as plain diagram text (".DSTM"), and plain diagram text, perhaps edited by hand,
// written back as model files. Each file is converted on its own: one that fails is
// named with its reason and the others are still converted.

#include "database/template_storage.h"

#include <QString>
#include <QStringList>

namespace orvek {

// The plain-text name of a model file: its last three characters become "DSTM"
// ("a.stm" gives "a.DSTM").
QString DecryptedModelFileName(const QString& fileName);
// The model-file name of a plain-text file: its last five characters become
// "-repaired.STM" ("a.dstm" gives "a-repaired.STM").
QString RepairedModelFileName(const QString& fileName);

// The diagram text of a plain-text file as a model file holds it: every line trimmed,
// a non-empty line that does not end with ";" given one, lines joined with CR LF. A line
// that ends with ";" keeps it as it is, since a second ";" would become part of the
// field's value; empty lines stay empty, since a line of ";" alone would stop the read of
// the diagram before its first cell.
QString RepairedDiagramText(const QString& plainText);

struct TServiceToolResult {
    int Written = 0;
    QList<TImportFailure> Failed;
    // Empty when every file was written; otherwise the count and each failed file with
    // its reason.
    QString MessageText() const;
};

// Writes every file whose upper-cased name ends in ".STM" as plain text to its
// DecryptedModelFileName; other names are skipped. With more than two files the batch
// progress window shows Caption.
TServiceToolResult DecryptModelFiles(const QStringList& fileNames, const QString& caption);
// Writes every file whose upper-cased name ends in ".DSTM" as a model file of its
// RepairedDiagramText to its RepairedModelFileName; other names are skipped.
TServiceToolResult EncryptDecryptedFiles(const QStringList& fileNames, const QString& caption);

} // namespace orvek
