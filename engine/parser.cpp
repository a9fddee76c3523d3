#include "engine/parser.h"

#include "engine/parser_split.h"
#include "platform/regional_locale.h"

#include <QLocale>
#include <QThread>

#include <charconv>
#include <climits>
#include <cmath>
#include <exception>
#include <random>

namespace orvek {

namespace {

constexpr long double Pi = 3.141592653589793238462643383279502884L;

// The split search recurses at most about once per operator character and bracket
// level; texts up to this bound are searched on the caller's stack.
constexpr int CallerStackSearchDepth = 3000;
constexpr uint LongTextStackBytes = 512u << 20;

// ---------------------------------------------------------------------------------
// Arithmetic checks: the result of every routine is tested, since C++ raises nothing.

[[noreturn]] void RaiseZeroDivide()
{
    throw EZeroDivide(QStringLiteral("Floating point division by zero"));
}
[[noreturn]] void RaiseOverflow()
{
    throw EOverflow(QStringLiteral("Floating point overflow"));
}
[[noreturn]] void RaiseInvalidOp()
{
    throw EInvalidOp(QStringLiteral("Invalid floating point operation"));
}

// A NaN from operands that are not NaN is an invalid operation; an infinity from
// finite operands is an overflow.
long double Checked(long double r, long double a)
{
    if (std::isnan(r) && !std::isnan(a))
        RaiseInvalidOp();
    if (std::isinf(r) && std::isfinite(a))
        RaiseOverflow();
    return r;
}

long double Checked(long double r, long double a, long double b)
{
    if (std::isnan(r) && !std::isnan(a) && !std::isnan(b))
        RaiseInvalidOp();
    if (std::isinf(r) && std::isfinite(a) && std::isfinite(b))
        RaiseOverflow();
    return r;
}

// Trunc to a 64-bit integer; a value outside that range is an invalid operation.
qint64 TruncToInt64(long double v)
{
    const long double t = std::trunc(v);
    if (!(t >= -9223372036854775808.0L && t < 9223372036854775808.0L))
        RaiseInvalidOp();
    return static_cast<qint64>(t);
}

// a to the whole power Trunc(b): repeated multiplication up to |n| = 64, squaring
// beyond; a negative exponent gives the reciprocal.
long double IntegerPower(long double a, long double b)
{
    if (!std::isfinite(b))
        RaiseInvalidOp();
    long double n = std::trunc(b);
    const bool negative = n < 0;
    if (negative)
        n = -n;
    long double r = 1;
    if (n <= 64) {
        for (int i = 0; i < static_cast<int>(n); ++i)
            r *= a;
    } else {
        long double base = a;
        while (n > 0) {
            if (std::fmod(n, 2) != 0)
                r *= base;
            n = std::floor(n / 2);
            if (n > 0)
                base *= base;
        }
    }
    if (negative) {
        if (r == 0)
            RaiseZeroDivide();
        r = 1 / r;
    }
    return Checked(r, a);
}

long double GeneralPower(long double a, long double b)
{
    if (a == 0 && b < 0)
        RaiseZeroDivide();
    return Checked(std::pow(a, b), a, b);
}

long double Logarithm(long double a, long double (*log)(long double))
{
    if (a == 0)
        RaiseZeroDivide();
    return Checked(log(a), a);
}

std::mt19937_64& Random()
{
    static std::mt19937_64 generator(std::random_device {}());
    return generator;
}

// Uniform in [0, 1): 64 random bits fit the long double mantissa exactly.
long double RandomFraction()
{
    return static_cast<long double>(Random()()) * 0x1p-64L;
}

// ---------------------------------------------------------------------------------
// Routines. a = Operand1, b = Operand2.

#define A (*r.Operand1)
#define B (*r.Operand2)

void NoOperation(OperationRecord&) { }
void DoMinus(OperationRecord& r)
{
    *r.Result = -A;
}
void DoAdd(OperationRecord& r)
{
    *r.Result = Checked(A + B, A, B);
}
void DoSubtract(OperationRecord& r)
{
    *r.Result = Checked(A - B, A, B);
}
void DoMultiply(OperationRecord& r)
{
    *r.Result = Checked(A * B, A, B);
}
void DoDivide(OperationRecord& r)
{
    if (B == 0)
        RaiseZeroDivide();
    *r.Result = Checked(A / B, A, B);
}
void DoMod(OperationRecord& r)
{
    const qint64 a = TruncToInt64(A), b = TruncToInt64(B);
    if (b == 0)
        throw EDivByZero(QStringLiteral("Division by zero"));
    *r.Result = b == -1 ? 0 : static_cast<long double>(a % b);
}
void DoDiv(OperationRecord& r)
{
    const qint64 a = TruncToInt64(A), b = TruncToInt64(B);
    if (b == 0)
        throw EDivByZero(QStringLiteral("Division by zero"));
    if (a == LLONG_MIN && b == -1)
        throw EIntOverflow(QStringLiteral("Integer overflow"));
    *r.Result = static_cast<long double>(a / b);
}
void DoIntPower(OperationRecord& r)
{
    *r.Result = IntegerPower(A, B);
}
void DoPower(OperationRecord& r)
{
    *r.Result = GeneralPower(A, B);
}
void DoSquare(OperationRecord& r)
{
    *r.Result = Checked(A * A, A);
}
void DoCube(OperationRecord& r)
{
    *r.Result = Checked(A * A * A, A);
}
void DoFourthPower(OperationRecord& r)
{
    *r.Result = Checked((A * A) * (A * A), A);
}

void FnTan(OperationRecord& r)
{
    *r.Result = Checked(std::tan(A), A);
}
void FnSin(OperationRecord& r)
{
    *r.Result = Checked(std::sin(A), A);
}
void FnCos(OperationRecord& r)
{
    *r.Result = Checked(std::cos(A), A);
}
void FnSinh(OperationRecord& r)
{
    *r.Result = Checked((std::exp(A) - std::exp(-A)) * 0.5L, A);
}
void FnCosh(OperationRecord& r)
{
    *r.Result = Checked((std::exp(A) + std::exp(-A)) * 0.5L, A);
}
void FnArcTan(OperationRecord& r)
{
    *r.Result = Checked(std::atan(A), A);
}
void FnCoTan(OperationRecord& r)
{
    const long double t = Checked(std::tan(A), A);
    if (t == 0)
        RaiseZeroDivide();
    *r.Result = Checked(1 / t, t);
}
void FnExp(OperationRecord& r)
{
    *r.Result = Checked(std::exp(A), A);
}
void FnLn(OperationRecord& r)
{
    *r.Result = Logarithm(A, ::logl);
}
void FnLog2(OperationRecord& r)
{
    *r.Result = Logarithm(A, ::log2l);
}
void FnLog10(OperationRecord& r)
{
    *r.Result = Logarithm(A, ::log10l);
}
void FnSqr(OperationRecord& r)
{
    *r.Result = Checked(A * A, A);
}
void FnSqrt(OperationRecord& r)
{
    *r.Result = Checked(std::sqrt(A), A);
}
void FnAbs(OperationRecord& r)
{
    *r.Result = std::fabs(A);
}
void FnTrunc(OperationRecord& r)
{
    *r.Result = std::trunc(A);
}
// CEIL and FLOOR through the integer part and the fraction.
void FnCeil(OperationRecord& r)
{
    const long double a = A;
    *r.Result = (a - std::trunc(a)) > 0 ? std::trunc(a + 1) : std::trunc(a);
}
void FnFloor(OperationRecord& r)
{
    const long double a = A;
    *r.Result = (a - std::trunc(a)) >= 0 ? std::trunc(a) : std::trunc(a - 1);
}
void FnHeav(OperationRecord& r)
{
    *r.Result = A >= 0 ? 1 : 0;
}
void FnSign(OperationRecord& r)
{
    *r.Result = A > 0 ? 1 : (A == 0 ? 0 : -1);
}
void FnZero(OperationRecord& r)
{
    *r.Result = A == 0 ? 0 : 1;
}
// The phase within a quarter turn: Round is to the nearest, halves to even.
void FnPh(OperationRecord& r)
{
    const long double q = A / 0.6366197723675813431L;
    *r.Result = Checked((q - std::nearbyint(q)) * (2 * Pi), A);
}
void FnRnd(OperationRecord& r)
{
    *r.Result = std::trunc(A) * RandomFraction();
}
void FnRandom(OperationRecord& r)
{
    *r.Result = RandomFraction();
}

void FnMax(OperationRecord& r)
{
    *r.Result = A > B ? A : B;
}
void FnMin(OperationRecord& r)
{
    *r.Result = A < B ? A : B;
}
void FnPower(OperationRecord& r)
{
    *r.Result = GeneralPower(A, B);
}
void FnIntPower(OperationRecord& r)
{
    *r.Result = IntegerPower(A, B);
}
void FnLogN(OperationRecord& r)
{
    const long double base = Logarithm(A, ::logl);
    const long double x = Logarithm(B, ::logl);
    if (base == 0)
        RaiseZeroDivide();
    *r.Result = Checked(x / base, A, B);
}
// The angle of the point (a, b); not atan2: ARG(-1,-1) = 5π/4 and ARG(0,0) = -π/2.
void FnArg(OperationRecord& r)
{
    const long double a = A, b = B;
    long double v;
    if (a < 0)
        v = std::atan(b / a) + Pi;
    else if (a > 0)
        v = std::atan(b / a);
    else
        v = b > 0 ? Pi / 2 : -Pi / 2;
    *r.Result = Checked(v, a, b);
}

#undef A
#undef B

} // namespace

OperationRoutine RoutineOfKind(OperationKind kind)
{
    switch (kind) {
    case okMinus:
        return DoMinus;
    case okAdd:
        return DoAdd;
    case okSubtract:
        return DoSubtract;
    case okMultiply:
        return DoMultiply;
    case okDivide:
        return DoDivide;
    case okMod:
        return DoMod;
    case okDiv:
        return DoDiv;
    case okIntPower:
        return DoIntPower;
    case okPower:
        return DoPower;
    case okSquare:
        return DoSquare;
    case okCube:
        return DoCube;
    case okFourthPower:
        return DoFourthPower;
    default:
        return nullptr;
    }
}

void SeedParserRandom(std::uint64_t seed)
{
    Random().seed(seed);
}

// ---------------------------------------------------------------------------------
// Text pieces.

namespace parser_text {

QString Prepare(const QString& Text, int* SearchDepth)
{
    QString s = Text.toUpper();
    qsizetype first = 0, last = s.size();
    while (first < last && s[first] == QLatin1Char(' '))
        ++first;
    while (last > first && s[last - 1] == QLatin1Char(' '))
        --last;
    s = s.mid(first, last - first);
    if (s.contains(QLatin1Char(' ')))
        throw EExpressionHasBlanks(QStringLiteral("Expression has blanks"));
    int open = 0, close = 0, depth = 0, maxDepth = 0, operators = 0;
    for (QChar c : s) {
        switch (c.unicode()) {
        case '(':
            ++open;
            maxDepth = std::max(maxDepth, ++depth);
            break;
        case ')':
            ++close;
            --depth;
            break;
        case '+':
        case '-':
        case '*':
        case '/':
        case '^':
        case ',':
            ++operators;
            break;
        default:
            break;
        }
    }
    if (open != close)
        throw EMissMatchingBracket(QStringLiteral("Missing brackets in expression"));
    if (maxDepth > MaxBracketDepth || operators > MaxOperatorChars)
        throw EExpressionTooComplex(QStringLiteral("Expression is too complex"));
    if (SearchDepth)
        *SearchDepth = operators + maxDepth;
    return s;
}

namespace {

// Reads a number of the checked syntax whose digits make a mantissa below 10^19 and
// whose scale is a power of ten from 10^-27 to 10^27: both are exact in long double (5^27
// fits 64 bits), so the one multiplication or division rounds the value correctly, as
// the full conversion does. False for every other number.
bool ReadShortDecimal(const QChar* s, int length, char16_t point, long double& value)
{
    static constexpr long double kPowers[]
        = { 1e0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L, 1e8L, 1e9L, 1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L,
              1e17L, 1e18L, 1e19L, 1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L };
    int i = 0;
    const bool negative = s[0] == QLatin1Char('-');
    if (negative || s[0] == QLatin1Char('+'))
        ++i;
    quint64 mantissa = 0;
    int digits = 0, scale = 0;
    bool fraction = false;
    for (; i < length; ++i) {
        const char16_t c = s[i].unicode();
        if (c == point) {
            fraction = true;
            continue;
        }
        if (c < '0' || c > '9')
            break;
        if (mantissa != 0 || c != '0') {
            if (++digits > 19)
                return false;
            mantissa = mantissa * 10 + (c - '0');
        }
        if (fraction)
            --scale;
    }
    if (i < length) { // the exponent
        ++i;
        bool negativeExponent = false;
        if (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))
            negativeExponent = s[i++] == QLatin1Char('-');
        int exponent = 0;
        for (; i < length; ++i) {
            exponent = exponent * 10 + (s[i].unicode() - '0');
            if (exponent > 1000)
                return false;
        }
        scale += negativeExponent ? -exponent : exponent;
    }
    if (scale < -27 || scale > 27)
        return false;
    long double v = static_cast<long double>(mantissa);
    v = scale >= 0 ? v * kPowers[scale] : v / kPowers[-scale];
    value = negative ? -v : v;
    return true;
}

} // namespace

bool ParseNumber(const QChar* s, int length, bool Pascal, long double& value)
{
    if (length == 2 && s[0] == QLatin1Char('P') && s[1] == QLatin1Char('I')) {
        value = Pi;
        return true;
    }
    if (length == 3 && s[0] == QLatin1Char('-') && s[1] == QLatin1Char('P') && s[2] == QLatin1Char('I')) {
        value = -Pi;
        return true;
    }
    char16_t point = u'.';
    if (!Pascal) {
        const QString localePoint = RegionalLocale().decimalPoint();
        if (localePoint.size() == 1)
            point = localePoint[0].unicode();
    }
    const auto isDigit = [&](int i) { return i < length && s[i].unicode() >= '0' && s[i].unicode() <= '9'; };
    // The syntax first, so that the many terms that are no number cost nothing more.
    int i = 0;
    if (i < length && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        ++i;
    int digits = 0;
    while (isDigit(i))
        ++i, ++digits;
    if (i < length && s[i].unicode() == point) {
        ++i;
        while (isDigit(i))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    bool negativeExponent = false;
    if (i < length && s[i] == QLatin1Char('E')) {
        ++i;
        if (i < length && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
            negativeExponent = s[i++] == QLatin1Char('-');
        if (!isDigit(i))
            return false;
        while (isDigit(i))
            ++i;
    }
    if (i != length)
        return false;

    if (ReadShortDecimal(s, length, point, value))
        return true;
    std::string buffer;
    buffer.reserve(length);
    for (int k = s[0] == QLatin1Char('+') ? 1 : 0; k < length; ++k) {
        const char16_t c = s[k].unicode();
        buffer.push_back(c == point ? '.' : c == 'E' ? 'e' : char(c));
    }
    long double v = 0;
    const auto [end, error] = std::from_chars(buffer.data(), buffer.data() + buffer.size(), v);
    if (error == std::errc::result_out_of_range && negativeExponent) {
        value = buffer[0] == '-' ? -0.0L : 0.0L; // below the extended range
        return true;
    }
    if (error != std::errc() || end != buffer.data() + buffer.size())
        return false; // beyond the extended range
    value = v;
    return true;
}

QString SyntaxErrorMessage(const QString& s)
{
    // The first place where an operator leaves two non-empty sides with as many "("
    // as ")" names the two sides; otherwise the whole text is named.
    static const char* const operators[] = { "+", "-", "*", "DIV", "MOD", "/", "^" };
    const int n = int(s.size());
    std::vector<int> balance(n + 1, 0);
    for (int i = 0; i < n; ++i)
        balance[i + 1] = balance[i] + (s[i] == QLatin1Char('(') ? 1 : s[i] == QLatin1Char(')') ? -1 : 0);
    int open = 0, close = 0;
    std::vector<int> opens(n + 1, 0), closes(n + 1, 0);
    for (int i = 0; i < n; ++i) {
        open += s[i] == QLatin1Char('(');
        close += s[i] == QLatin1Char(')');
        opens[i + 1] = open;
        closes[i + 1] = close;
    }
    for (const char* op : operators) {
        const QLatin1String o(op);
        for (int p = 1; p + o.size() < n; ++p) {
            if (QStringView(s).mid(p, o.size()) != o)
                continue;
            const int q = p + int(o.size());
            if (opens[p] == closes[p] && opens[n] - opens[q] == closes[n] - closes[q])
                return QStringLiteral("Error parsing expression:\r%1\r%2").arg(s.left(p), s.mid(q));
        }
    }
    return QStringLiteral("Error parsing expression:\r%1").arg(s);
}

} // namespace parser_text

// ---------------------------------------------------------------------------------
// TCustomParser

TCustomParser::TCustomParser() = default;

TCustomParser::~TCustomParser()
{
    FreeOperationList();
}

namespace {

template <typename T> T FindName(const TCustomParser::NameList<T>& list, QStringView name)
{
    const auto it = std::lower_bound(list.begin(), list.end(), name,
        [](const std::pair<QString, T>& entry, QStringView n) { return QStringView(entry.first) < n; });
    return it != list.end() && QStringView(it->first) == name ? it->second : T();
}

// Inserts in name order; False when the name is there already.
template <typename T> bool InsertName(TCustomParser::NameList<T>& list, const QString& name, T value)
{
    const auto it = std::lower_bound(list.begin(), list.end(), name,
        [](const std::pair<QString, T>& entry, const QString& n) { return entry.first < n; });
    if (it != list.end() && it->first == name)
        return false;
    list.insert(it, { name, value });
    return true;
}

} // namespace

long double* TCustomParser::FindVariable(QStringView Name) const
{
    return FindName(FVariables, Name);
}
OperationRoutine TCustomParser::FindFunction1(QStringView Name) const
{
    return FindName(FFunctions1, Name);
}
OperationRoutine TCustomParser::FindFunction2(QStringView Name) const
{
    return FindName(FFunctions2, Name);
}

void TCustomParser::DefineVariable(const QString& Name, long double* Storage)
{
    InsertName(FVariables, Name.toUpper(), Storage);
}

void TCustomParser::DefineFunction1(const QString& Name, OperationRoutine Routine)
{
    if (!InsertName(FFunctions1, Name.toUpper(), Routine))
        throw EParserInternalError(QStringLiteral("TParser internal error"));
}

void TCustomParser::DefineFunction2(const QString& Name, OperationRoutine Routine)
{
    if (!InsertName(FFunctions2, Name.toUpper(), Routine))
        throw EParserInternalError(QStringLiteral("TParser internal error"));
}

void TCustomParser::UseFunctions(const NameList<OperationRoutine>& One, const NameList<OperationRoutine>& Two)
{
    FFunctions1 = One;
    FFunctions2 = Two;
}

void TCustomParser::FreeOperationList()
{
    FOperations.clear();
    FStorage.reset();
}

void TCustomParser::ParseExpression(const QString& Text)
{
    FreeOperationList();
    FExpression = Text;
    try {
        if (!Text.isEmpty())
            BuildOperationList();
        FParseError = false;
    } catch (const EMathParserError& e) {
        FreeOperationList();
        FParseError = true;
        if (!OnParserError)
            throw;
        OnParserError(this, e);
    }
}

long double TCustomParser::GetValue()
{
    if (FOperations.empty())
        return 0;
    for (OperationRecord& r : FOperations)
        r.Routine(r);
    return *FOperations.back().Result;
}

void TCustomParser::BuildOperationList()
{
    int searchDepth = 0;
    const QString text = parser_text::Prepare(FExpression, &searchDepth);
    // The tree's storage is kept by the thread between parses, as the search's is.
    thread_local ParserTree reused;
    ParserTree& tree = reused;
    struct Trim {
        ParserTree& tree;
        ~Trim()
        {
            if (tree.Nodes.capacity() > (size_t(1) << 16))
                tree = ParserTree();
        }
    } trim { tree };
    tree.Nodes.clear();
    for (std::vector<int>& level : tree.Order)
        level.clear();
    if (searchDepth <= CallerStackSearchDepth) {
        SplitSearch(text, *this).Run(tree);
    } else {
        // A thread of its own, with room for the deepest search the limits allow.
        std::exception_ptr failure;
        std::unique_ptr<QThread> worker(QThread::create([&]() {
            try {
                SplitSearch(text, *this).Run(tree);
            } catch (...) {
                failure = std::current_exception();
            }
        }));
        worker->setStackSize(LongTextStackBytes);
        worker->start();
        worker->wait();
        if (failure)
            std::rethrow_exception(failure);
        if (tree.Nodes.empty()) // the thread did not run
            throw EExpressionTooComplex(QStringLiteral("Expression is too complex"));
    }

    // Storage: one cell for every constant and every operation result.
    int cells = 0;
    for (const ParserTreeNode& node : tree.Nodes)
        cells += node.Kind != okVariable;
    FStorage = std::make_unique<long double[]>(std::max(cells, 1));
    int next = 0;
    thread_local std::vector<long double*> value;
    value.assign(tree.Nodes.size(), nullptr);
    for (size_t i = 0; i < tree.Nodes.size(); ++i) {
        const ParserTreeNode& node = tree.Nodes[i];
        if (node.Kind == okVariable) {
            value[i] = node.Variable;
        } else {
            value[i] = &FStorage[next++];
            *value[i] = node.Kind == okConstant ? node.Constant : 0;
        }
    }
    if (tree.Nodes.size() == 1) {
        OperationRecord r;
        r.Kind = tree.Nodes[0].Kind;
        r.Result = value[0];
        r.Routine = NoOperation;
        FOperations.push_back(r);
        return;
    }
    // Deepest level first, within a level in the order of the breadth-first walk, so
    // that every operand is computed before it is used; the root comes last.
    FOperations.reserve(tree.Nodes.size());
    for (auto it = tree.Order.rbegin(); it != tree.Order.rend(); ++it) {
        for (int i : *it) {
            const ParserTreeNode& node = tree.Nodes[i];
            if (node.Kind == okVariable || node.Kind == okConstant)
                continue;
            OperationRecord r;
            r.Kind = node.Kind;
            r.Result = value[i];
            r.Operand1 = node.Child[0] >= 0 ? value[node.Child[0]] : nullptr;
            r.Operand2 = node.Child[1] >= 0 ? value[node.Child[1]] : nullptr;
            r.Routine = node.Function ? node.Function : RoutineOfKind(node.Kind);
            if (!r.Routine)
                throw EParserInternalError(QStringLiteral("TParser internal error"));
            FOperations.push_back(r);
        }
    }
}

// ---------------------------------------------------------------------------------
// TParser

namespace {

// The function tables of TParser, built once and shared by every parser.
struct DefaultFunctions : TCustomParser {
    DefaultFunctions()
    {
        const std::pair<const char*, OperationRoutine> one[]
            = { { "TAN", FnTan }, { "SIN", FnSin }, { "COS", FnCos }, { "SINH", FnSinh }, { "COSH", FnCosh },
                  { "ARCTAN", FnArcTan }, { "COTAN", FnCoTan }, { "EXP", FnExp }, { "LN", FnLn }, { "LOG2", FnLog2 },
                  { "LOG10", FnLog10 }, { "SQR", FnSqr }, { "SQRT", FnSqrt }, { "ABS", FnAbs }, { "TRUNC", FnTrunc },
                  { "INT", FnTrunc }, { "CEIL", FnCeil }, { "FLOOR", FnFloor }, { "HEAV", FnHeav }, { "SIGN", FnSign },
                  { "ZERO", FnZero }, { "PH", FnPh }, { "RND", FnRnd }, { "RANDOM", FnRandom } };
        for (const auto& [name, routine] : one)
            DefineFunction1(QLatin1String(name), routine);
        const std::pair<const char*, OperationRoutine> two[] = { { "MAX", FnMax }, { "MIN", FnMin },
            { "POWER", FnPower }, { "INTPOWER", FnIntPower }, { "LOGN", FnLogN }, { "ARG", FnArg } };
        for (const auto& [name, routine] : two)
            DefineFunction2(QLatin1String(name), routine);
    }
    NameList<OperationRoutine> One() const { return Functions1(); }
    NameList<OperationRoutine> Two() const { return Functions2(); }
};

} // namespace

TParser::TParser()
{
    static const char16_t* const names[] = { u"A", u"B", u"C", u"D", u"E", u"X", u"Y", u"T" };
    long double* const fields[] = { &A, &B, &C, &D, &E, &X, &Y, &T };
    for (int i = 0; i < 8; ++i)
        DefineVariable(QString::fromRawData(reinterpret_cast<const QChar*>(names[i]), 1), fields[i]);
    static const DefaultFunctions defaults;
    static const NameList<OperationRoutine> one = defaults.One(), two = defaults.Two();
    UseFunctions(one, two);
}

} // namespace orvek
