#pragma once
// The report table the chart tables are built in.

#include "sources/report_table_adapter.h"

namespace orvek {
namespace chart_report_table = report_table_adapter;
} // namespace orvek
