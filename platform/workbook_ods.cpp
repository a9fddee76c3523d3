// ".ods" workbooks: "content.xml" of the zip read with QXmlStreamReader. Cells carry
// their type and value as attributes; repeated rows and cells stay runs, so the
// million empty rows a sheet may declare cost nothing.

#include "platform/workbook_parts.h"
#include "platform/workbook_reader.h"

#include <QXmlStreamReader>
#include <algorithm>

namespace orvek {

namespace {

const QString kOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kTable = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kCalcExt = QStringLiteral("urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0");

bool IsTrueValue(QStringView value)
{
    return value == u"true" || value == u"1";
}

// A repeat count, at most Limit (the rows or columns of a sheet), so that counting on
// from a place within the sheet cannot overflow.
int RepeatOf(const QXmlStreamAttributes& a, const char* name, int limit)
{
    const int n = a.value(kTable, QLatin1String(name)).toInt();
    return std::clamp(n, 1, limit);
}

// The text of the element now open, up to its end: paragraphs separated by line
// ends, "text:s" as blanks, tabs and line breaks kept, annotations left out. Nested
// elements (spans, links) are counted rather than followed by recursion, so that no
// depth of nesting exhausts the stack.
void ReadParagraphText(QXmlStreamReader& xml, QString& out)
{
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        xml.readNext();
        if (xml.isCharacters())
            out += xml.text();
        else if (xml.isEndElement())
            --depth;
        else if (xml.isStartElement()) {
            const QStringView name = xml.name();
            const bool text = xml.namespaceUri() == kText;
            if (text && name == u"s") {
                const int n = xml.attributes().value(kText, QLatin1String("c")).toInt();
                out += QString(std::clamp(n, 1, 1000), u' ');
                xml.skipCurrentElement();
            } else if (text && name == u"tab") {
                out += u'\t';
                xml.skipCurrentElement();
            } else if (text && name == u"line-break") {
                out += u'\n';
                xml.skipCurrentElement();
            } else if (xml.namespaceUri() == kOffice && name == u"annotation")
                xml.skipCurrentElement();
            else
                ++depth;
        }
    }
}

QString CellText(QXmlStreamReader& xml)
{
    QString text;
    bool first = true;
    while (xml.readNextStartElement()) {
        if (xml.namespaceUri() == kText && xml.name() == u"p") {
            if (!first)
                text += u'\n';
            first = false;
            ReadParagraphText(xml, text);
        } else
            xml.skipCurrentElement();
    }
    return text;
}

WorkbookCell ReadCell(QXmlStreamReader& xml)
{
    const QXmlStreamAttributes a = xml.attributes();
    const QString type = a.value(kOffice, QLatin1String("value-type")).toString();
    const QString text = CellText(xml);
    if (a.value(kCalcExt, QLatin1String("value-type")) == u"error")
        return WorkbookCell::FromError(text);
    if (type == "float" || type == "percentage" || type == "currency") {
        double number = 0;
        return ParseXmlNumber(a.value(kOffice, QLatin1String("value")), number) ? WorkbookCell::FromNumber(number)
                                                                                : WorkbookCell::FromError("#VALUE!");
    }
    if (type == "date") {
        const QDate date = QDate::fromString(a.value(kOffice, QLatin1String("date-value")).left(10), Qt::ISODate);
        return date.isValid() ? WorkbookCell::FromDate(date) : WorkbookCell::FromText(text);
    }
    if (type == "boolean")
        return WorkbookCell::FromText(IsTrueValue(a.value(kOffice, QLatin1String("boolean-value"))) ? "TRUE" : "FALSE");
    if (type.isEmpty() && text.isEmpty())
        return {};
    // Strings, and times, which keep the text the sheet shows.
    const QStringView stringValue = a.value(kOffice, QLatin1String("string-value"));
    return WorkbookCell::FromText(stringValue.isNull() ? text : stringValue.toString());
}

} // namespace

bool ReadOdsWorkbook(const QString& fileName, std::vector<WorkbookSheet>& sheets)
{
    ZipArchive zip;
    QByteArray data;
    if (!zip.Open(fileName) || !zip.Read("content.xml", data))
        return false;
    sheets.clear();
    QXmlStreamReader xml(data);
    int row = 1, column = 1, tableDepth = 0;
    struct Run {
        int column, count;
        WorkbookCell cell;
    };
    std::vector<Run> cells;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.namespaceUri() == kTable && xml.name() == u"table")
            --tableDepth;
        if (!xml.isStartElement() || xml.namespaceUri() != kTable)
            continue;
        const QStringView name = xml.name();
        if (name == u"table") {
            // A table inside a cell is part of that cell, not a sheet.
            if (tableDepth++ > 0)
                continue;
            sheets.emplace_back();
            row = 1;
        } else if (name == u"table-row" && tableDepth == 1 && !sheets.empty()) {
            const int repeat = RepeatOf(xml.attributes(), "number-rows-repeated", WorkbookSheet::MaxRows);
            cells.clear();
            column = 1;
            while (xml.readNextStartElement()) {
                if (xml.namespaceUri() == kTable
                    && (xml.name() == u"table-cell" || xml.name() == u"covered-table-cell")) {
                    const int count = RepeatOf(xml.attributes(), "number-columns-repeated", WorkbookSheet::MaxColumns);
                    const WorkbookCell cell = ReadCell(xml);
                    if (cell.kind != WorkbookCell::Kind::Empty)
                        cells.push_back({ column, count, cell });
                    column = std::min(column + count, WorkbookSheet::MaxColumns + 1);
                } else
                    xml.skipCurrentElement();
            }
            if (!cells.empty()) {
                sheets.back().AddRows(row, repeat);
                for (const Run& run : cells)
                    sheets.back().AddCells(run.column, run.count, run.cell);
            }
            row = std::min(row + repeat, WorkbookSheet::MaxRows + 1);
        }
    }
    return !xml.hasError();
}

} // namespace orvek
