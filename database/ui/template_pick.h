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
// Prepares fOrvekDB for the validation example FileName of Folder (PrepareExamplePick:
// its template, imported into the current group when missing, is made current in its
// folder) and shows it modally. 0 when the window does not exist or the example's
// template can be neither found nor imported (the window is then not shown).
int PickExample(const QString& caption, const QString& folder, const QString& fileName);

} // namespace orvek
