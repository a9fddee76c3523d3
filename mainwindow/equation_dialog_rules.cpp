#include "mainwindow/equation_dialog_rules.h"

#include "core/number_text.h"
#include "engine/cell.h"
#include "engine/expression.h"
#include "engine/parser.h"

#include <algorithm>
#include <cmath>

namespace orvek {

namespace {

constexpr int kTextEquationNotExpression = 23700;

} // namespace

// ---------------------------------------------------------------------------------
// The right-hand side

QString FilterEquationText(const QString& Text)
{
    QString out;
    out.reserve(Text.size());
    for (QChar ch : Text) {
        if (ch == QChar(0x2013) || ch == QChar(0x2014))
            out += QLatin1Char('-');
        else if (!ch.isSpace())
            out += ch;
    }
    return out;
}

TEquationAnalysis AnalyseEquationText(const QString& Text)
{
    TEquationAnalysis result;
    QString text = FilterEquationText(Text).trimmed();
    if (text.startsWith(QLatin1Char('=')))
        text.remove(0, 1);
    result.Equation = text;
    if (text.contains(QLatin1Char('='))) {
        result.Message = 154;
        return result;
    }
    TInfo_o_bunkach_typu_velicina symbols;
    const int code = ScanEquation(text, symbols);
    switch (code) {
    case 0:
    case 2:
        break;
    case 1:
        result.Message = 151;
        return result;
    case 4:
        result.Message = 153;
        break;
    case 5:
        result.Message = 666;
        break;
    case 7:
        result.Message = 743;
        break;
    case 8:
        result.Message = 744;
        break;
    case 9:
        result.Message = 745;
        break;
    case 10:
        result.Message = 22401;
        return result;
    default:
        result.Message = 744;
        break;
    }
    if (result.Message != 0) {
        result.Argument = EquationScanError.trimmed();
        return result;
    }
    for (int i = 1; i <= symbols.Count; ++i)
        result.Symbols << symbols[i].Symbol;
    std::sort(result.Symbols.begin(), result.Symbols.end(),
        [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    if (result.Symbols.isEmpty()) {
        result.Message = 572;
        result.Argument = text;
        return result;
    }
    // What the scanner lets pass and the parser refuses (an operator without its operand,
    // "c^") is refused with the parser's message: the equation is parsed with every
    // quantity replaced by 1, and a syntax error names the sides of the equation as typed.
    QString probe = text;
    for (const QString& symbol : result.Symbols)
        SubstituteSymbolValue(probe, symbol, QStringLiteral("1"));
    try {
        QString value;
        EvaluateExpression(probe, value);
    } catch (const ESyntaxError&) {
        result.Message = kTextEquationNotExpression;
        result.Argument = parser_text::SyntaxErrorMessage(text);
    } catch (const EMathParserError& error) {
        result.Message = kTextEquationNotExpression;
        result.Argument = error.Message();
    } catch (const std::exception&) {
        // An arithmetic error of the trial values says nothing about the equation.
    }
    return result;
}

bool SameSymbols(QStringList a, QStringList b)
{
    a.sort();
    b.sort();
    return a == b;
}

// ---------------------------------------------------------------------------------
// The checks of OK

TEquationRefusal CheckEquationDialog(const TEquationOkInput& In)
{
    const QString lineBreak(QLatin1Char('\r'));
    auto refuse = [](int message, TEquationField field, QStringList args = {}) {
        return TEquationRefusal { message, std::move(args), field };
    };
    if (In.QuantityNameWritable && In.QuantityName.trimmed().isEmpty())
        return refuse(143, TEquationField::QuantityName);
    // An equation cell needs a right-hand side, however its symbol is set.
    if (In.EquationWritable && In.Equation.trimmed().isEmpty())
        return refuse(149, TEquationField::Equation);
    if (In.SymbolWritable) {
        const QString symbol = In.Symbol;
        if (symbol.trimmed().isEmpty())
            return refuse(144, TEquationField::Symbol);
        const QChar first = symbol.at(0);
        if (!((first >= QLatin1Char('A') && first <= QLatin1Char('Z'))
                || (first >= QLatin1Char('a') && first <= QLatin1Char('z'))))
            return refuse(145, TEquationField::Symbol, { symbol });
        if (ContainsBlank(symbol))
            return refuse(146, TEquationField::Symbol, { symbol });
        if (HasNonIdentifierChar(symbol))
            return refuse(147, TEquationField::Symbol, { lineBreak });
    } else if (In.EquationWritable) {
        // A leading "=" is not part of the right-hand side.
        QString equation = In.Equation;
        if (equation.startsWith(QLatin1Char('=')))
            equation.remove(0, 1);
        QString atLoadNoBlanks;
        RemoveBlanks(In.EquationAtLoad, atLoadNoBlanks);
        if (equation != atLoadNoBlanks) {
            if (HasInvalidEquationChar(equation))
                return refuse(148, TEquationField::Equation, { lineBreak, lineBreak, lineBreak });
            if (equation.isEmpty())
                return refuse(149, TEquationField::Equation);
            if (equation != In.EquationAtLoad.trimmed() && !In.Analysed)
                return refuse(150, TEquationField::Equation);
        }
    }
    if (In.CoverageWritable) {
        double k = 0;
        if (!TryStrToFloatNeutral(In.CoverageFactor, k) || !(k > 0))
            return refuse(179, TEquationField::Coverage, { In.CoverageFactor });
    }
    return {};
}

// ---------------------------------------------------------------------------------
// Quantity rows

QList<TQuantityGridRow> QuantityRowsFrom(const TInfo_o_bunkach_typu_velicina& List)
{
    QList<TQuantityGridRow> rows;
    for (int i = 1; i <= List.Count; ++i) {
        const TInfo_o_bunke_typu_velicina& v = List[i];
        rows.append({ v.Symbol, v.UnitText, v.QuantityName, v.ValueType, v.ChildIndex, v.CellId });
    }
    return rows;
}

QList<TQuantityGridRow> FillQuantityGrid(TCell& Cell)
{
    Cell.FillEquationVariableList();
    return QuantityRowsFrom(EquationVariables);
}

namespace {

void WriteRow(const TQuantityGridRow& row, TInfo_o_bunke_typu_velicina& v)
{
    v.Symbol = row.Symbol;
    v.UnitText = row.Unit;
    v.QuantityName = row.QuantityName;
    v.ValueType = row.ValueType;
}

} // namespace

void ReadQuantityGrid(const QList<TQuantityGridRow>& Rows, TInfo_o_bunkach_typu_velicina& List)
{
    const int records = List.Count;
    std::vector<bool> taken(size_t(records) + 1, false);
    std::vector<int> recordOfRow(size_t(Rows.size()), 0);
    auto find = [&](auto matches) {
        for (int i = 1; i <= records; ++i)
            if (!taken[size_t(i)] && matches(List[i])) {
                taken[size_t(i)] = true;
                return i;
            }
        return 0;
    };
    for (qsizetype r = 0; r < Rows.size(); ++r)
        if (Rows[r].CellId > 0)
            recordOfRow[size_t(r)]
                = find([&](const TInfo_o_bunke_typu_velicina& v) { return v.CellId == Rows[r].CellId; });
    for (qsizetype r = 0; r < Rows.size(); ++r)
        if (recordOfRow[size_t(r)] == 0)
            recordOfRow[size_t(r)]
                = find([&](const TInfo_o_bunke_typu_velicina& v) { return v.Symbol == Rows[r].Symbol; });
    for (qsizetype r = 0; r < Rows.size(); ++r) {
        int i = recordOfRow[size_t(r)];
        if (i == 0) {
            if (List.Count >= TInfo_o_bunkach_typu_velicina::Capacity)
                continue;
            i = ++List.Count;
            List[i] = TInfo_o_bunke_typu_velicina();
        }
        WriteRow(Rows[r], List[i]);
    }
}

void ReadQuantityGridAsNew(const QList<TQuantityGridRow>& Rows, TInfo_o_bunkach_typu_velicina& List)
{
    List = TInfo_o_bunkach_typu_velicina();
    for (const TQuantityGridRow& row : Rows) {
        if (List.Count >= TInfo_o_bunkach_typu_velicina::Capacity)
            break;
        TInfo_o_bunke_typu_velicina& v = List[++List.Count];
        v.ChildIndex = row.ChildIndex;
        WriteRow(row, v);
    }
}

// ---------------------------------------------------------------------------------
// Correlation matrix

TMatrixTexts InitialCorrelationMatrix(int Size)
{
    TMatrixTexts matrix;
    for (int r = 0; r < Size; ++r) {
        QStringList row;
        for (int c = 0; c < Size; ++c)
            row << (r == c ? QStringLiteral("1.0") : QStringLiteral("0.0"));
        matrix << row;
    }
    return matrix;
}

void LoadCorrelationMatrixText(const QString& Text, TMatrixTexts& Matrix)
{
    const int n = int(Matrix.size());
    Matrix = InitialCorrelationMatrix(n);
    int row = 0, column = 0;
    QString collected;
    auto store = [&] {
        if (row < n && column < n && row != column && !collected.isEmpty())
            Matrix[row][column] = collected;
        collected.clear();
    };
    for (QChar ch : Text) {
        if (ch == QLatin1Char('#')) {
            store();
            ++column;
        } else if (ch == QLatin1Char('@')) {
            store();
            ++row;
            column = 0;
        } else {
            collected += ch;
        }
    }
}

QString SerializeCorrelationMatrix(const TMatrixTexts& Matrix)
{
    QString text;
    for (const QStringList& row : Matrix)
        for (qsizetype c = 0; c < row.size(); ++c)
            text += row[c] + QLatin1Char(c + 1 < row.size() ? '#' : '@');
    return text;
}

bool SetCorrelationCoefficient(TMatrixTexts& Matrix, int Row, int Column, const QString& Text)
{
    if (Row == Column || Row < 0 || Column < 0 || Row >= Matrix.size() || Column >= Matrix.size())
        return false;
    Matrix[Row][Column] = Text;
    Matrix[Column][Row] = Text;
    return true;
}

int ValidateCorrelationMatrix(const TMatrixTexts& Matrix, int& Row, int& Column)
{
    for (int r = 0; r < Matrix.size(); ++r)
        for (int c = 0; c < Matrix[r].size(); ++c) {
            double x = 0;
            int message = 0;
            if (!TryStrToFloatNeutral(Matrix[r][c], x))
                message = 654;
            else if (x < -1 || x > 1)
                message = 746;
            if (message) {
                Row = r + 1;
                Column = c + 1;
                return message;
            }
        }
    return 0;
}

QString RenameSymbolInEquation(const QString& Equation, const QString& Old, const QString& New)
{
    QString text = Equation;
    if (Old != New)
        ReplaceSymbolCopy(text, Old, New);
    return text;
}

} // namespace orvek
