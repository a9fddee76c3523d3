#pragma once
// The split search of the parser: which form a term has, where it splits, and the tree
// of terms that the operation list is built from. Internal to the parser and its checks.

#include "engine/parser.h"

#include <vector>

namespace orvek {

// The forms a term (or a side of an operator) can take.
enum TermKind : qint8 {
    tkNone = 0, // fits no form
    tkVariable,
    tkNumber,
    tkBracket, // "(" + valid expression + ")"; only as a side
    tkMinus, // unary minus
    tkAdd,
    tkSubtract,
    tkMultiply,
    tkDiv, // DIV
    tkMod, // MOD
    tkDivide, // /
    tkPower,
    tkFunction1,
    tkFunction2,
};

constexpr quint32 KindBit(TermKind k)
{
    return 1u << k;
}
constexpr quint32 OperandKinds = KindBit(tkVariable) | KindBit(tkNumber) | KindBit(tkBracket);
constexpr quint32 FunctionKinds = KindBit(tkFunction1) | KindBit(tkFunction2);
constexpr quint32 DivisionKinds = KindBit(tkDiv) | KindBit(tkMod) | KindBit(tkDivide);

// The forms each side of a binary operator may have.
struct SideRule {
    TermKind Kind;
    const char* Operator;
    quint32 Left;
    quint32 Right;
};
// In the order the operators are tried.
inline constexpr SideRule SideRules[] = {
    { tkAdd, "+",
        OperandKinds | KindBit(tkMinus) | KindBit(tkSubtract) | KindBit(tkMultiply) | DivisionKinds | KindBit(tkPower)
            | FunctionKinds,
        OperandKinds | KindBit(tkAdd) | KindBit(tkSubtract) | KindBit(tkMultiply) | DivisionKinds | KindBit(tkPower)
            | FunctionKinds },
    { tkSubtract, "-",
        OperandKinds | KindBit(tkMinus) | KindBit(tkSubtract) | KindBit(tkMultiply) | DivisionKinds | KindBit(tkPower)
            | FunctionKinds,
        OperandKinds | KindBit(tkMultiply) | DivisionKinds | KindBit(tkPower) | FunctionKinds },
    { tkMultiply, "*", OperandKinds | KindBit(tkMinus) | DivisionKinds | KindBit(tkPower) | FunctionKinds,
        OperandKinds | KindBit(tkMultiply) | DivisionKinds | KindBit(tkPower) | FunctionKinds },
    { tkDiv, "DIV", OperandKinds | KindBit(tkMinus) | DivisionKinds | KindBit(tkPower) | FunctionKinds,
        OperandKinds | KindBit(tkPower) | FunctionKinds },
    { tkMod, "MOD", OperandKinds | KindBit(tkMinus) | DivisionKinds | KindBit(tkPower) | FunctionKinds,
        OperandKinds | KindBit(tkPower) | FunctionKinds },
    { tkDivide, "/", OperandKinds | KindBit(tkMinus) | DivisionKinds | KindBit(tkPower) | FunctionKinds,
        OperandKinds | KindBit(tkPower) | FunctionKinds },
    { tkPower, "^", OperandKinds | FunctionKinds, OperandKinds | FunctionKinds },
};
// What may follow a leading "-" for the term to be a unary minus.
constexpr quint32 MinusOperandKinds = KindBit(tkBracket) | KindBit(tkVariable) | KindBit(tkPower) | FunctionKinds;

struct ParserTreeNode {
    OperationKind Kind = okConstant;
    int Child[2] = { -1, -1 };
    long double Constant = 0;
    long double* Variable = nullptr;
    OperationRoutine Function = nullptr; // kinds 14 and 15
};

// Nodes[0] is the root; Order[level] lists the nodes of each level, each level in
// breadth-first order.
struct ParserTree {
    std::vector<ParserTreeNode> Nodes;
    std::vector<std::vector<int>> Order;
};

// The kind of an operator term and of a power by its right side.
OperationKind OperationKindOf(TermKind kind);
OperationKind PowerKind(bool rightIsNumber, long double rightValue);

// Checks the nesting and the operations of each level, in level order: a term below
// level MaxParserLevel raises ETooManyNestings, a level with more than
// MaxOperationsPerLevel operations EExpressionTooComplex.
void CheckLevels(const ParserTree& tree);

// The split search over a prepared text. The form of a term and of its sides follows
// the rules above; it is memoised per stretch of text, and positions that cannot give a
// valid split are skipped on structural grounds (see parser_split.cpp).
class SplitSearch {
public:
    SplitSearch(const QString& text, const TCustomParser& parser);
    // The tree of the whole text into Tree (empty, its storage reused); raises
    // ESyntaxError when it is no expression.
    void Run(ParserTree& tree);

private:
    struct Info {
        TermKind Kind = tkNone;
        int Split = -1; // operator position, or "(" of a function, or "," of two arguments
        int Aux = -1;
    };
    Info Classify(int a, int b);
    Info Compute(int a, int b);
    TermKind SideKind(int a, int b);
    void Peel(int& a, int& b) const;
    bool TrySplit(int a, int b, int p, const SideRule& rule);
    int NextAt(int type, int from) const;
    int NextAfter(int type, int a) const;
    int PrevAt(int type, int at) const;

    // The memo: open addressing over (a, b) + 1 as the key, 0 marking a free slot.
    struct MemoSlot {
        quint64 Key = 0;
        Info Value;
    };
    const Info* FindMemo(quint64 key) const;
    void AddMemo(quint64 key, const Info& info);

public:
    // A term still to be put into the tree.
    struct Pending {
        int a, b, level, node;
    };
    // The working storage of a search. Each thread keeps one between parses, so that a
    // long text does not map and fault in fresh memory at every parse.
    struct Scratch {
        std::vector<int> Match, Next, Prev, Level, Cursor;
        std::vector<quint16> Types;
        std::vector<MemoSlot> Memo;
        std::vector<long double> Numbers; // the values of the number terms found
        std::vector<Pending> Queue;
        bool InUse = false;
    };

private:
    const QString& FText;
    const QChar* s;
    int n;
    const TCustomParser& FParser;
    int FMaxVariableLength = 0;
    char16_t FPoint = u'.'; // the decimal point of numbers
    Scratch* FScratch = nullptr;
    const int* FMatch = nullptr; // the matching bracket of each bracket
    const int* FNext = nullptr; // per type and position
    const int* FPrev = nullptr;
    size_t FMemoCount = 0;
};

} // namespace orvek
