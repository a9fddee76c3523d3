#pragma once
// The tooltip of a cell box, built from the cell's values.

#include "core/services.h"

#include <QString>

namespace orvek {

class TCell;

QString CellHintText(const TCell& cell);

class CellHintProvider : public CellHintService {
public:
    QString HintText(const TCell& cell) override { return CellHintText(cell); }
};

} // namespace orvek
