#pragma once
// The expression parser: an expression text is turned once into a list of operation
// records, which is then evaluated in extended precision (long double) whenever the
// value is read. Every numeric formula of the program ends here.

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace orvek {

// ---------------------------------------------------------------------------------
// Errors. Parse errors derive from EMathParserError; evaluation errors are the
// arithmetic error classes below, raised after each routine from its result. All of
// them derive from EEvaluationError.

class EEvaluationError : public std::runtime_error {
public:
    explicit EEvaluationError(const QString& message)
        : std::runtime_error(message.toStdString())
        , FMessage(message)
    {
    }
    const QString& Message() const { return FMessage; }

private:
    QString FMessage;
};

class EMathParserError : public EEvaluationError {
    using EEvaluationError::EEvaluationError;
};
class EExpressionHasBlanks : public EMathParserError {
    using EMathParserError::EMathParserError;
};
class EMissMatchingBracket : public EMathParserError {
    using EMathParserError::EMathParserError;
};
class ESyntaxError : public EMathParserError {
    using EMathParserError::EMathParserError;
};
class ETooManyNestings : public EMathParserError {
    using EMathParserError::EMathParserError;
};
class EExpressionTooComplex : public EMathParserError {
    using EMathParserError::EMathParserError;
};
class EParserInternalError : public EMathParserError {
    using EMathParserError::EMathParserError;
};

// Floating-point errors.
class EMathError : public EEvaluationError {
    using EEvaluationError::EEvaluationError;
};
class EZeroDivide : public EMathError {
    using EMathError::EMathError;
}; // division by zero, poles
class EOverflow : public EMathError {
    using EMathError::EMathError;
}; // an infinite result
class EInvalidOp : public EMathError {
    using EMathError::EMathError;
}; // NaN, out-of-range integer
// Integer errors of MOD and DIV.
class EIntError : public EEvaluationError {
    using EEvaluationError::EEvaluationError;
};
class EDivByZero : public EIntError {
    using EIntError::EIntError;
};
class EIntOverflow : public EIntError {
    using EIntError::EIntError;
};

// Parser limits: operator nesting below the whole expression, and operations per level.
constexpr int MaxParserLevel = 80;
constexpr int MaxOperationsPerLevel = 100;
// Bracket nesting and operator characters beyond which a text is refused before the
// split search (brackets add no level, so these only bound the work on absurd input).
constexpr int MaxBracketDepth = 1000;
constexpr int MaxOperatorChars = 20000;

// ---------------------------------------------------------------------------------
// Operation records.

enum OperationKind : quint8 {
    okVariable = 0,
    okConstant = 1,
    okMinus = 2,
    okAdd = 3,
    okSubtract = 4,
    okMultiply = 5,
    okDivide = 6,
    okMod = 7,
    okDiv = 8,
    okIntPower = 9,
    okPower = 10,
    okSquare = 11,
    okCube = 12,
    okFourthPower = 13,
    okFunction1 = 14,
    okFunction2 = 15,
};

struct OperationRecord;
using OperationRoutine = void (*)(OperationRecord&);

struct OperationRecord {
    long double* Operand1 = nullptr;
    long double* Operand2 = nullptr;
    long double* Result = nullptr;
    OperationRoutine Routine = nullptr;
    OperationKind Kind = okVariable;
};

// The routine of an operator kind (2 to 13); nullptr for the others.
OperationRoutine RoutineOfKind(OperationKind kind);

// The generator behind RND and RANDOM; tests reseed it to repeat a sequence.
void SeedParserRandom(std::uint64_t seed);

class TCustomParser;
using TParserExceptionEvent = std::function<void(TCustomParser* Sender, const EMathParserError& E)>;

class TCustomParser {
public:
    TCustomParser();
    virtual ~TCustomParser();
    TCustomParser(const TCustomParser&) = delete;
    TCustomParser& operator=(const TCustomParser&) = delete;

    const QString& Expression() const { return FExpression; }
    void SetExpression(const QString& Text) { ParseExpression(Text); }
    // Runs the operation list; 0 when there is none. Arithmetic errors reach the caller.
    long double Value() { return GetValue(); }
    long double GetValue();

    bool PascalNumberformat = true;
    TParserExceptionEvent OnParserError;

    bool ParseError() const { return FParseError; }
    const std::vector<OperationRecord>& Operations() const { return FOperations; }

    // Registered names (upper case), each list sorted by name; the parser does not
    // own the variables' storage.
    template <typename T> using NameList = std::vector<std::pair<QString, T>>;
    long double* FindVariable(QStringView Name) const;
    OperationRoutine FindFunction1(QStringView Name) const;
    OperationRoutine FindFunction2(QStringView Name) const;
    const NameList<long double*>& Variables() const { return FVariables; }

protected:
    void DefineVariable(const QString& Name, long double* Storage); // a duplicate is ignored
    void DefineFunction1(const QString& Name, OperationRoutine Routine); // a duplicate raises
    void DefineFunction2(const QString& Name, OperationRoutine Routine);
    // Takes over whole function tables (shared, so cheap to copy).
    void UseFunctions(const NameList<OperationRoutine>& One, const NameList<OperationRoutine>& Two);
    const NameList<OperationRoutine>& Functions1() const { return FFunctions1; }
    const NameList<OperationRoutine>& Functions2() const { return FFunctions2; }

    void ParseExpression(const QString& Text);
    void FreeOperationList();

private:
    void BuildOperationList();

    QString FExpression;
    bool FParseError = false;
    NameList<long double*> FVariables;
    NameList<OperationRoutine> FFunctions1;
    NameList<OperationRoutine> FFunctions2;
    // Records in execution order (the list's Next is the following element); every
    // constant and every result has its own cell in FStorage.
    std::vector<OperationRecord> FOperations;
    std::unique_ptr<long double[]> FStorage;
};

class TParser : public TCustomParser {
public:
    TParser();

    long double A = 0, B = 0, C = 0, D = 0, E = 0, X = 0, Y = 0, T = 0;
};

// ---------------------------------------------------------------------------------
// Pieces of the parse shared with its checks.

namespace parser_text {
// The text as the split search sees it: upper case, trimmed of blanks (character 32);
// raises EExpressionHasBlanks, EMissMatchingBracket or EExpressionTooComplex. SearchDepth
// gets a bound of the split search's recursion (operator characters and bracket levels).
QString Prepare(const QString& Text, int* SearchDepth = nullptr);
// A number term: "PI", "-PI" or the number syntax (sign, digits, ".", exponent "E"
// with sign); with Pascal false the locale's decimal point stands for ".".
bool ParseNumber(const QChar* s, int length, bool Pascal, long double& value);
// The message of a text that is not an expression.
QString SyntaxErrorMessage(const QString& prepared);
} // namespace parser_text

} // namespace orvek
