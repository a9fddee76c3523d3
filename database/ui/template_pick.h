#pragma once
// Picking a template: the template window is prepared for the current group, shown
// modally, and its modal result returned (kTemplateWindowOk when a template was handed
// over).

#include <QString>

namespace orvek {

// Prepares fOrvekDB (PrepareTemplatePick) with TemplateID as the template to make
// current (0 the first row) and Caption as its caption, and shows it modally. 0 when
// the window does not exist.
int PickTemplate(int templateId, const QString& caption);

} // namespace orvek
