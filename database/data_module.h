#pragma once
// The data module: owner of the program's databases and of the operations on them.
// Everything above the core reaches it through the one instance DataModule1.

#include "core/string_table.h"

#include <QObject>
#include <QString>

namespace orvek {

class TDataModule1 : public QObject {
    Q_OBJECT
public:
    explicit TDataModule1(QObject* parent = nullptr);

    // The UI text number ID in the current language, formatted with Args.
    QString GetString(int id, std::initializer_list<FormatArg> args = {}) const;

    // Writes AppDir + "StringID.txt" (per row, by symbolic name: eight blanks, the
    // name, " = ", the ID and ";") and opens it in the desktop's text viewer. False
    // with Error when the table cannot be read or the file cannot be written.
    bool ExportStringIDs(QString* error = nullptr);
};

inline TDataModule1* DataModule1 = nullptr;

}  // namespace orvek
