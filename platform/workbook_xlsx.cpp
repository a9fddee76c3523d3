// ".xlsx" workbooks: the XML members of the zip read with QXmlStreamReader. A number
// is a date when its cell style's number format is a date format: one of the built-in
// formats 14 to 22, or a format code with d, m or y outside quotes and brackets.

#include "platform/workbook_parts.h"
#include "platform/workbook_reader.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <QXmlStreamReader>
#include <algorithm>

namespace orvek {

namespace {

struct XlsxBook {
    bool date1904 = false;
    QStringList sheetTargets; // members of the sheets in workbook order; empty for a chart sheet
    QStringList sharedStrings;
    std::vector<bool> dateStyles; // by cell style index
};

bool IsTrue(QStringView value)
{
    return value == u"1" || value == u"true";
}

// "worksheets/sheet1.xml" relative to "xl/", or an absolute "/xl/..." member name.
QString MemberOfTarget(const QString& target)
{
    if (target.startsWith(u'/'))
        return target.mid(1);
    QStringList parts = QStringList { "xl" } + target.split(u'/');
    QStringList out;
    for (const QString& part : parts) {
        if (part == "..") {
            if (!out.isEmpty())
                out.removeLast();
        } else if (!part.isEmpty() && part != ".")
            out << part;
    }
    return out.join(u'/');
}

bool ReadWorkbookPart(const ZipArchive& zip, XlsxBook& book)
{
    QByteArray data;
    if (!zip.Read("xl/workbook.xml", data))
        return false;
    QStringList ids;
    QXmlStreamReader xml(data);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"workbookPr")
            book.date1904 = IsTrue(xml.attributes().value("date1904"));
        else if (xml.name() == u"sheet") {
            QString id;
            for (const QXmlStreamAttribute& a : xml.attributes())
                if (a.name() == u"id")
                    id = a.value().toString();
            ids << id;
        }
    }
    if (xml.hasError())
        return false;

    QHash<QString, QString> targets;
    if (zip.Read("xl/_rels/workbook.xml.rels", data)) {
        QXmlStreamReader rels(data);
        while (!rels.atEnd()) {
            rels.readNext();
            if (rels.isStartElement() && rels.name() == u"Relationship") {
                const QXmlStreamAttributes a = rels.attributes();
                if (a.value("Type").endsWith(u"/worksheet"))
                    targets.insert(a.value("Id").toString(), MemberOfTarget(a.value("Target").toString()));
            }
        }
        if (rels.hasError())
            return false;
    }
    for (const QString& id : ids)
        book.sheetTargets << targets.value(id);
    return true;
}

void ReadSharedStrings(const ZipArchive& zip, XlsxBook& book)
{
    QByteArray data;
    if (!zip.Read("xl/sharedStrings.xml", data))
        return;
    QXmlStreamReader xml(data);
    QString current;
    int phonetic = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == u"si")
                current.clear();
            else if (xml.name() == u"rPh")
                ++phonetic;
            else if (xml.name() == u"t" && phonetic == 0)
                current += xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (xml.isEndElement()) {
            if (xml.name() == u"si")
                book.sharedStrings << current;
            else if (xml.name() == u"rPh")
                --phonetic;
        }
    }
}

void ReadStyles(const ZipArchive& zip, XlsxBook& book)
{
    QByteArray data;
    if (!zip.Read("xl/styles.xml", data))
        return;
    QSet<int> dateFormats;
    for (int id = 0; id < 164; ++id)
        if (IsBuiltInDateFormat(id))
            dateFormats.insert(id);
    std::vector<int> styleFormats;
    bool inCellXfs = false;
    QXmlStreamReader xml(data);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QXmlStreamAttributes a = xml.attributes();
            if (xml.name() == u"numFmt") {
                const int id = a.value("numFmtId").toInt();
                if (IsDateFormatCode(a.value("formatCode").toString()))
                    dateFormats.insert(id);
                else
                    dateFormats.remove(id);
            } else if (xml.name() == u"cellXfs")
                inCellXfs = true;
            else if (xml.name() == u"xf" && inCellXfs)
                styleFormats.push_back(a.value("numFmtId").toInt());
        } else if (xml.isEndElement() && xml.name() == u"cellXfs")
            inCellXfs = false;
    }
    for (int format : styleFormats)
        book.dateStyles.push_back(dateFormats.contains(format));
}

WorkbookCell CellOf(const XlsxBook& book, QStringView type, int style, const QString& value, const QString& inlineText)
{
    if (type == u"inlineStr")
        return WorkbookCell::FromText(inlineText);
    if (type == u"s") {
        bool ok = false;
        const int index = value.toInt(&ok);
        return ok && index >= 0 && index < book.sharedStrings.size() ? WorkbookCell::FromText(book.sharedStrings[index])
                                                                     : WorkbookCell::FromError("#REF!");
    }
    if (type == u"str")
        return WorkbookCell::FromText(value);
    if (type == u"e")
        return WorkbookCell::FromError(value);
    if (value.isEmpty())
        return {};
    if (type == u"b")
        return WorkbookCell::FromText(value.trimmed() == "1" ? "TRUE" : "FALSE");
    if (type == u"d") {
        const QDate date = QDate::fromString(value.left(10), Qt::ISODate);
        return date.isValid() ? WorkbookCell::FromDate(date) : WorkbookCell::FromText(value);
    }
    double number = 0;
    if (!ParseXmlNumber(value, number))
        return WorkbookCell::FromError("#VALUE!");
    if (style >= 0 && size_t(style) < book.dateStyles.size() && book.dateStyles[size_t(style)]) {
        const QDate date = SpreadsheetSerialToDate(number, book.date1904);
        if (date.isValid())
            return WorkbookCell::FromDate(date);
    }
    return WorkbookCell::FromNumber(number);
}

bool ReadSheet(const ZipArchive& zip, const XlsxBook& book, const QString& member, WorkbookSheet& sheet)
{
    QByteArray data;
    if (member.isEmpty())
        return true; // a chart sheet holds no cells
    if (!zip.Read(member, data))
        return false;
    QXmlStreamReader xml(data);
    int row = 0, column = 0, lastRowAdded = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"row") {
            // Rows and columns past the sheet stay one past it, so counting on cannot
            // overflow; their cells are dropped.
            const int r = xml.attributes().value("r").toInt();
            row = r > 0 ? std::min(r, WorkbookSheet::MaxRows + 1) : std::min(row + 1, WorkbookSheet::MaxRows + 1);
            column = 0;
        } else if (xml.name() == u"c") {
            const QXmlStreamAttributes a = xml.attributes();
            int r = 0, c = 0;
            if (ParseCellAddress(a.value("r").toString(), r, c))
                column = c;
            else
                column = std::min(column + 1, WorkbookSheet::MaxColumns + 1);
            const QString type = a.value("t").toString();
            const QString styleText = a.value("s").toString();
            const int style = styleText.isEmpty() ? 0 : styleText.toInt();
            QString value, inlineText;
            while (xml.readNextStartElement()) {
                if (xml.name() == u"v")
                    value = xml.readElementText();
                else if (xml.name() == u"is") {
                    while (xml.readNextStartElement()) {
                        if (xml.name() == u"t")
                            inlineText += xml.readElementText();
                        else if (xml.name() == u"r") {
                            while (xml.readNextStartElement())
                                if (xml.name() == u"t")
                                    inlineText += xml.readElementText();
                                else
                                    xml.skipCurrentElement();
                        } else
                            xml.skipCurrentElement();
                    }
                } else
                    xml.skipCurrentElement();
            }
            const WorkbookCell cell = CellOf(book, type, style, value, inlineText);
            if (cell.kind == WorkbookCell::Kind::Empty || row < 1 || row > WorkbookSheet::MaxRows)
                continue;
            if (lastRowAdded != row) {
                sheet.AddRows(row, 1);
                lastRowAdded = row;
            }
            sheet.AddCells(column, 1, cell);
        }
    }
    return !xml.hasError();
}

} // namespace

bool ReadXlsxWorkbook(const QString& fileName, std::vector<WorkbookSheet>& sheets)
{
    ZipArchive zip;
    XlsxBook book;
    if (!zip.Open(fileName) || !ReadWorkbookPart(zip, book))
        return false;
    ReadSharedStrings(zip, book);
    ReadStyles(zip, book);
    sheets.assign(size_t(book.sheetTargets.size()), WorkbookSheet());
    for (qsizetype i = 0; i < book.sheetTargets.size(); ++i)
        if (!ReadSheet(zip, book, book.sheetTargets[i], sheets[size_t(i)]))
            return false;
    return true;
}

} // namespace orvek
