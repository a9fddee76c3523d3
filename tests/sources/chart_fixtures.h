#pragma once
// Chart records and the published Shewhart factors the chart tests compute with.

#include "core/number_text.h"
#include "engine/cell_records.h"
#include "sources/chart_data.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <vector>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace orvek::test {

// The published factors (A1, A2, A3, D1, D2, D3, D4, d2, c4) for the sizes the tests use.
inline TChartFactorTable PublishedChartFactors()
{
    TChartFactorTable t {};
    t[2] = { 2.121, 1.880, 2.659, 0, 3.686, 0, 3.267, 1.128, 0.7979 };
    t[3] = { 1.732, 1.023, 1.954, 0, 4.358, 0, 2.574, 1.693, 0.8862 };
    t[4] = { 1.500, 0.729, 1.628, 0, 4.698, 0, 2.282, 2.059, 0.9213 };
    t[5] = { 1.342, 0.577, 1.427, 0, 4.918, 0, 2.114, 2.326, 0.9400 };
    t[16] = { 0.750, 0.212, 0.763, 1.605, 5.459, 0.363, 1.637, 3.532, 0.9835 };
    t[20] = { 0.671, 0.180, 0.680, 1.549, 5.921, 0.415, 1.585, 3.735, 0.9869 };
    return t;
}

// "@"-terminated list of the items.
inline QString ChartList(const QStringList& items)
{
    QString text;
    for (const QString& item : items)
        text += item + QChar('@');
    return text;
}

inline QStringList NumberTexts(std::initializer_list<double> values)
{
    QStringList texts;
    for (double v : values)
        texts << QString::number(v, 'g', 15);
    return texts;
}

inline TVstupStandardnejNeistoty IndividualsRecord(const QStringList& values)
{
    TVstupStandardnejNeistoty rec;
    rec.TSN = 11;
    rec.PM_7 = int(values.size());
    rec.VM_7.Text = ChartList(values);
    return rec;
}

inline TVstupStandardnejNeistoty SubgroupRecord(const std::vector<QStringList>& subgroups)
{
    TVstupStandardnejNeistoty rec;
    rec.TSN = 12;
    rec.PM_8 = int(subgroups.size());
    QStringList sizes, values;
    for (const QStringList& group : subgroups) {
        sizes << QString::number(group.size());
        values << group;
    }
    rec.PBM_8 = ChartList(sizes);
    rec.VM_8.Text = ChartList(values);
    return rec;
}

inline double NumberOf(const QString& text)
{
    double value = 0;
    EXPECT_TRUE(TryStrToFloatNeutral(text, value)) << text.toStdString();
    return value;
}

// A number text compared with a relative tolerance of 1e-12.
#define EXPECT_NUMBER_TEXT(text, expected)                                                                             \
    EXPECT_NEAR(::orvek::test::NumberOf(text), (expected), 1e-12 * (1 + std::abs(expected)))

// The rows of the last table block in Text, each split into its cells. The block's
// header ":TABLE_BEGIN[C,R]" is followed by the font size, the left edge and the C
// column edges, each ended by ",".
inline std::vector<QStringList> TableRows(const QString& text)
{
    const qsizetype begin = text.lastIndexOf(":TABLE_BEGIN[");
    const qsizetype end = text.indexOf(":TABLE_END", begin);
    EXPECT_GE(begin, 0);
    EXPECT_GT(end, begin);
    const qsizetype bracket = text.indexOf(']', begin);
    const int columns = text.mid(begin + 13, bracket - begin - 13).section(',', 0, 0).toInt();
    qsizetype at = bracket;
    for (int i = 0; i < columns + 2; ++i)
        at = text.indexOf(',', at + 1);
    std::vector<QStringList> rows;
    for (const QString& line : text.mid(at + 1, end - at - 1).split('\r', Qt::SkipEmptyParts))
        rows.push_back(line.split('\t'));
    return rows;
}

} // namespace orvek::test
