#include "engine/parser_split.h"
#include "platform/regional_locale.h"

#include <QLocale>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

// How the split search stays fast. A term is classified by the first form that fits;
// for an operator, by the first position whose two sides have allowed forms. Taken
// literally that tries every position with every side, recursively. Here each stretch
// of text is classified once (memo), and a position is only tried when it can succeed:
//
// - Sides are properly nested, so only positions at the term's own bracket level count.
// - A valid expression starts with a letter, digit, decimal point, "+", "-" or "(" and
//   ends with a letter, digit, decimal point or ")".
// - Call a "+" or "-" sign-like when it follows "*", "/", "^", "(", ",", "+", "-", "DIV",
//   "MOD", or an "E" that follows a digit or decimal point (an exponent); otherwise
//   binary-like. A term whose form is an operand, a function, a power, a unary minus or a product or
//   quotient holds no binary-like sign after its first character; a difference holds no
//   binary-like "+". So a sum can only split up to its first binary-like "+", a
//   difference only where its right side holds no binary-like sign, and the left side of
//   a product or quotient none either.
// - The left side of "*" may not be a product and so holds no "*": only the first "*"
//   can split a product. The right side of DIV, MOD and "/" holds none of "*", "/",
//   "DIV", "MOD", so only the last of those can split a quotient. Neither side of "^"
//   holds "^".
// - No side of a comma holds a comma, so two arguments split only at a single comma
//   (unless "," is the locale's decimal point).

namespace orvek {

namespace {

enum PositionType {
    ptPlus,
    ptMinus,
    ptBinaryPlus,
    ptBinarySign,
    ptStar,
    ptCaret,
    ptComma,
    ptProductOperator, // "*", "/", "DIV", "MOD"
    ptTypes
};

bool IsNameChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
}

} // namespace

OperationKind OperationKindOf(TermKind kind)
{
    switch (kind) {
    case tkMinus:
        return okMinus;
    case tkAdd:
        return okAdd;
    case tkSubtract:
        return okSubtract;
    case tkMultiply:
        return okMultiply;
    case tkDivide:
        return okDivide;
    case tkMod:
        return okMod;
    case tkDiv:
        return okDiv;
    case tkFunction1:
        return okFunction1;
    case tkFunction2:
        return okFunction2;
    default:
        throw EParserInternalError(QStringLiteral("TParser internal error"));
    }
}

OperationKind PowerKind(bool rightIsNumber, long double v)
{
    if (!rightIsNumber)
        return okPower;
    if (v == 2)
        return okSquare;
    if (v == 3)
        return okCube;
    if (v == 4)
        return okFourthPower;
    return v == std::trunc(v) ? okIntPower : okPower;
}

void CheckLevels(const ParserTree& tree)
{
    for (size_t level = 0; level < tree.Order.size(); ++level) {
        if (tree.Order[level].empty())
            continue;
        if (int(level) > MaxParserLevel)
            throw ETooManyNestings(QStringLiteral("Expression contains too many nestings"));
        int operations = 0;
        for (int i : tree.Order[level])
            operations += tree.Nodes[i].Kind != okVariable && tree.Nodes[i].Kind != okConstant;
        if (operations > MaxOperationsPerLevel)
            throw EExpressionTooComplex(QStringLiteral("Expression is too complex"));
    }
}

SplitSearch::SplitSearch(const QString& text, const TCustomParser& parser)
    : FText(text)
    , s(text.constData())
    , n(int(text.size()))
    , FParser(parser)
{
    for (const auto& entry : parser.Variables())
        FMaxVariableLength = std::max(FMaxVariableLength, int(entry.first.size()));
    if (!parser.PascalNumberformat) {
        const QString point = RegionalLocale().decimalPoint();
        if (point.size() == 1)
            FPoint = point[0].unicode();
    }
}

int SplitSearch::NextAt(int type, int from) const
{
    return from >= n ? INT_MAX : FNext[size_t(type) * n + from];
}

// The first position of the type after a, at a's bracket level.
int SplitSearch::NextAfter(int type, int a) const
{
    const int x = NextAt(type, a);
    return x == a ? NextAt(type, a + 1) : x;
}

int SplitSearch::PrevAt(int type, int at) const
{
    return at < 0 ? -1 : FPrev[size_t(type) * n + at];
}

void SplitSearch::Peel(int& a, int& b) const
{
    while (a < b && s[a] == QLatin1Char('(') && FMatch[a] == b - 1) {
        ++a;
        --b;
    }
}

TermKind SplitSearch::SideKind(int a, int b)
{
    if (a >= b)
        return tkNone;
    if (s[a] == QLatin1Char('(') && FMatch[a] == b - 1) {
        Peel(a, b);
        return a < b && Classify(a, b).Kind != tkNone ? tkBracket : tkNone;
    }
    return Classify(a, b).Kind;
}

namespace {
size_t SlotOf(quint64 key, size_t mask)
{
    return size_t((key * 0x9E3779B97F4A7C15ull) >> 20) & mask;
}
} // namespace

const SplitSearch::Info* SplitSearch::FindMemo(quint64 key) const
{
    const std::vector<MemoSlot>& memo = FScratch->Memo;
    const size_t mask = memo.size() - 1;
    for (size_t i = SlotOf(key, mask);; i = (i + 1) & mask) {
        if (memo[i].Key == key)
            return &memo[i].Value;
        if (memo[i].Key == 0)
            return nullptr;
    }
}

void SplitSearch::AddMemo(quint64 key, const Info& info)
{
    std::vector<MemoSlot>& memo = FScratch->Memo;
    if (2 * (FMemoCount + 1) > memo.size()) {
        std::vector<MemoSlot> old(2 * memo.size());
        old.swap(memo);
        const size_t mask = memo.size() - 1;
        for (const MemoSlot& slot : old) {
            if (slot.Key == 0)
                continue;
            size_t i = SlotOf(slot.Key, mask);
            while (memo[i].Key != 0)
                i = (i + 1) & mask;
            memo[i] = slot;
        }
    }
    const size_t mask = memo.size() - 1;
    size_t i = SlotOf(key, mask);
    while (memo[i].Key != 0)
        i = (i + 1) & mask;
    memo[i] = { key, info };
    ++FMemoCount;
}

SplitSearch::Info SplitSearch::Classify(int a, int b)
{
    const quint64 key = ((quint64(quint32(a)) << 32) | quint32(b)) + 1;
    if (const Info* known = FindMemo(key))
        return *known;
    const Info info = Compute(a, b);
    AddMemo(key, info);
    return info;
}

bool SplitSearch::TrySplit(int a, int b, int p, const SideRule& rule)
{
    const int length = int(std::strlen(rule.Operator));
    if (p <= a || p + length >= b)
        return false;
    const char16_t end = s[p - 1].unicode(), start = s[p + length].unicode();
    if (!(IsNameChar(s[p - 1]) || end == '.' || end == FPoint || end == ')'))
        return false;
    if (!(IsNameChar(s[p + length]) || start == '.' || start == FPoint || start == '(' || start == '+' || start == '-'))
        return false;
    if (!(rule.Left & KindBit(SideKind(a, p))))
        return false;
    return rule.Right & KindBit(SideKind(p + length, b));
}

SplitSearch::Info SplitSearch::Compute(int a, int b)
{
    const int length = b - a;
    if (length <= FMaxVariableLength && FParser.FindVariable(QStringView(s + a, length)))
        return { tkVariable };
    const char16_t c0 = s[a].unicode();
    long double number;
    if (((c0 >= '0' && c0 <= '9') || c0 == '.' || c0 == '+' || c0 == '-' || c0 == 'P' || !FParser.PascalNumberformat)
        && parser_text::ParseNumber(s + a, length, FParser.PascalNumberformat, number)) {
        // The value is kept, so that the tree need not read the number again.
        FScratch->Numbers.push_back(number);
        return { tkNumber, int(FScratch->Numbers.size() - 1) };
    }
    if (c0 == '-' && length >= 2 && (MinusOperandKinds & KindBit(SideKind(a + 1, b))))
        return { tkMinus };

    // Sum: up to the first binary-like "+".
    const int firstBinaryPlus = NextAfter(ptBinaryPlus, a);
    for (int p = NextAfter(ptPlus, a); p < b - 1 && p <= firstBinaryPlus; p = NextAt(ptPlus, p + 1))
        if (TrySplit(a, b, p, SideRules[0]))
            return { tkAdd, p };

    // Difference: where the right side holds no binary-like sign after its first character.
    const int lastBinary = PrevAt(ptBinarySign, b - 1);
    for (int p = lastBinary - 1 > a ? NextAt(ptMinus, lastBinary - 1) : NextAfter(ptMinus, a); p < b - 1;
         p = NextAt(ptMinus, p + 1))
        if (TrySplit(a, b, p, SideRules[1]))
            return { tkSubtract, p };

    const int firstBinary = NextAfter(ptBinarySign, a);
    const int firstStar = NextAfter(ptStar, a);
    // Product: at the first "*" only.
    if (firstStar < b - 1 && firstBinary >= firstStar && lastBinary < firstStar + 2
        && TrySplit(a, b, firstStar, SideRules[2]))
        return { tkMultiply, firstStar };

    // Quotients: at the last of "*", "/", "DIV", "MOD" only.
    const int lastProduct = PrevAt(ptProductOperator, b - 1);
    if (lastProduct > a && firstStar >= lastProduct && firstBinary >= lastProduct) {
        for (int r = 3; r <= 5; ++r) {
            const SideRule& rule = SideRules[r];
            const int opLength = int(std::strlen(rule.Operator));
            if (QStringView(FText).mid(lastProduct, opLength) != QLatin1String(rule.Operator))
                continue;
            if (lastBinary < lastProduct + opLength + 1 && TrySplit(a, b, lastProduct, rule))
                return { rule.Kind, lastProduct };
            break;
        }
    }

    // Power: a single "^".
    const int caret = NextAfter(ptCaret, a);
    if (caret < b - 1 && NextAt(ptCaret, caret + 1) >= b && TrySplit(a, b, caret, SideRules[6]))
        return { tkPower, caret };

    // Function calls: NAME(operand) and NAME(left,right).
    int q = a;
    while (q < b && IsNameChar(s[q]))
        ++q;
    if (q > a && q < b - 1 && s[q] == QLatin1Char('(') && FMatch[q] == b - 1) {
        const QStringView name(s + a, q - a);
        if (FParser.FindFunction1(name)) {
            if (SideKind(q + 1, b - 1) != tkNone)
                return { tkFunction1, q };
        } else if (FParser.FindFunction2(name)) {
            const bool localeComma = FPoint == u',';
            for (int c = NextAt(ptComma, q + 1); c < b - 1; c = c + 1 < b - 1 ? NextAt(ptComma, c + 1) : INT_MAX) {
                const bool single = c + 1 >= b - 1 || NextAt(ptComma, c + 1) >= b - 1;
                if ((single || localeComma) && SideKind(q + 1, c) != tkNone && SideKind(c + 1, b - 1) != tkNone)
                    return { tkFunction2, q, c };
                if (!localeComma)
                    break;
            }
        }
    }
    return {};
}

void SplitSearch::Run(ParserTree& tree)
{
    const auto syntaxError = [this]() { return ESyntaxError(parser_text::SyntaxErrorMessage(FText)); };
    if (n == 0)
        throw syntaxError();

    // The thread's scratch storage, or storage of its own where a search runs inside
    // another on the same thread.
    thread_local Scratch threadScratch;
    Scratch ownScratch;
    Scratch& scratch = threadScratch.InUse ? ownScratch : threadScratch;
    struct Release {
        Scratch& s;
        ~Release()
        {
            s.InUse = false;
            // Storage for an unusually long text is not kept.
            if (s.Next.capacity() > (size_t(1) << 21))
                s = Scratch();
        }
    } release { scratch };
    scratch.InUse = true;
    FScratch = &scratch;
    scratch.Numbers.clear();

    // Matching brackets and bracket levels ("(" and ")" stand at the level around them).
    std::vector<int>& match = scratch.Match;
    match.assign(n, -1);
    FMatch = match.data();
    std::vector<int>& level = scratch.Level;
    level.assign(n, 0);
    std::vector<int> stack;
    int maxLevel = 0;
    for (int i = 0; i < n; ++i) {
        level[i] = int(stack.size());
        if (s[i] == QLatin1Char('(')) {
            stack.push_back(i);
            maxLevel = std::max(maxLevel, int(stack.size()));
        } else if (s[i] == QLatin1Char(')')) {
            if (stack.empty())
                throw syntaxError();
            match[stack.back()] = i;
            match[i] = stack.back();
            stack.pop_back();
            level[i] = int(stack.size());
        }
    }
    if (!stack.empty())
        throw syntaxError();

    // Position types.
    std::vector<quint16>& types = scratch.Types;
    types.assign(n, 0);
    for (int i = 0; i < n; ++i) {
        const char16_t c = s[i].unicode();
        quint16 t = 0;
        if (c == '+' || c == '-') {
            t |= c == '+' ? 1 << ptPlus : 1 << ptMinus;
            bool signLike = i == 0;
            if (!signLike) {
                const char16_t p = s[i - 1].unicode();
                signLike = p == '*' || p == '/' || p == '^' || p == '(' || p == ',' || p == '+' || p == '-';
                if (!signLike && i >= 3) {
                    const QStringView before = QStringView(FText).mid(i - 3, 3);
                    signLike = before == QLatin1String("DIV") || before == QLatin1String("MOD");
                }
                if (!signLike && p == 'E' && i >= 2) {
                    const char16_t pp = s[i - 2].unicode();
                    signLike = (pp >= '0' && pp <= '9') || pp == '.' || pp == FPoint;
                }
            }
            if (!signLike)
                t |= (1 << ptBinarySign) | (c == '+' ? 1 << ptBinaryPlus : 0);
        } else if (c == '*') {
            t |= (1 << ptStar) | (1 << ptProductOperator);
        } else if (c == '/') {
            t |= 1 << ptProductOperator;
        } else if (c == '^') {
            t |= 1 << ptCaret;
        } else if (c == ',') {
            t |= 1 << ptComma;
        } else if ((c == 'D' || c == 'M') && i + 3 <= n) {
            const QStringView word = QStringView(FText).mid(i, 3);
            if (word == QLatin1String("DIV") || word == QLatin1String("MOD"))
                t |= 1 << ptProductOperator;
        }
        types[i] = t;
    }

    // Next and previous position of each type at the same bracket level, within the
    // same brackets.
    std::vector<int>& next = scratch.Next;
    std::vector<int>& prev = scratch.Prev;
    next.resize(size_t(ptTypes) * n);
    prev.resize(size_t(ptTypes) * n);
    FNext = next.data();
    FPrev = prev.data();
    std::vector<int>& cursor = scratch.Cursor;
    cursor.assign(size_t(ptTypes) * (maxLevel + 2), INT_MAX);
    for (int i = n - 1; i >= 0; --i) {
        const int l = level[i];
        if (s[i] == QLatin1Char('(') || s[i] == QLatin1Char(')'))
            for (int t = 0; t < ptTypes; ++t)
                cursor[size_t(t) * (maxLevel + 2) + l + 1] = INT_MAX;
        for (int t = 0; t < ptTypes; ++t) {
            int& c = cursor[size_t(t) * (maxLevel + 2) + l];
            if (types[i] & (1 << t))
                c = i;
            next[size_t(t) * n + i] = c;
        }
    }
    std::fill(cursor.begin(), cursor.end(), -1);
    for (int i = 0; i < n; ++i) {
        const int l = level[i];
        if (s[i] == QLatin1Char('(') || s[i] == QLatin1Char(')'))
            for (int t = 0; t < ptTypes; ++t)
                cursor[size_t(t) * (maxLevel + 2) + l + 1] = -1;
        for (int t = 0; t < ptTypes; ++t) {
            int& c = cursor[size_t(t) * (maxLevel + 2) + l];
            if (types[i] & (1 << t))
                c = i;
            prev[size_t(t) * n + i] = c;
        }
    }

    size_t slots = 64;
    while (slots < size_t(n) * 2)
        slots *= 2;
    scratch.Memo.assign(slots, MemoSlot());
    FMemoCount = 0;
    int a = 0, b = n;
    Peel(a, b);
    if (a >= b || Classify(a, b).Kind == tkNone)
        throw syntaxError();

    // The tree, breadth first.
    std::vector<Pending>& queue = scratch.Queue;
    queue.clear();
    // Two nodes for about every operator character: room enough in one allocation.
    const size_t operators = size_t(std::count_if(types.begin(), types.end(), [](quint16 t) { return t != 0; }));
    tree.Nodes.reserve(2 * operators + 2);
    queue.reserve(2 * operators + 2);
    queue.push_back({ a, b, 0, 0 });
    tree.Nodes.emplace_back();
    for (size_t head = 0; head < queue.size(); ++head) {
        const Pending t = queue[head];
        if (int(tree.Order.size()) <= t.level)
            tree.Order.resize(t.level + 1);
        tree.Order[t.level].push_back(t.node);
        const Info info = Classify(t.a, t.b);
        const auto addChild = [&](int slot, int ca, int cb) {
            Peel(ca, cb);
            const int index = int(tree.Nodes.size());
            tree.Nodes.emplace_back();
            tree.Nodes[t.node].Child[slot] = index;
            queue.push_back({ ca, cb, t.level + 1, index });
        };
        ParserTreeNode& node = tree.Nodes[t.node];
        switch (info.Kind) {
        case tkVariable:
            node.Kind = okVariable;
            node.Variable = FParser.FindVariable(QStringView(s + t.a, t.b - t.a));
            break;
        case tkNumber:
            node.Kind = okConstant;
            node.Constant = scratch.Numbers[size_t(info.Split)];
            break;
        case tkMinus:
            node.Kind = okMinus;
            addChild(0, t.a + 1, t.b);
            break;
        case tkPower: {
            const Info right = Classify(info.Split + 1, t.b);
            const bool isNumber = right.Kind == tkNumber;
            node.Kind = PowerKind(isNumber, isNumber ? scratch.Numbers[size_t(right.Split)] : 0);
            addChild(0, t.a, info.Split);
            addChild(1, info.Split + 1, t.b);
            break;
        }
        case tkFunction1:
            node.Kind = okFunction1;
            node.Function = FParser.FindFunction1(QStringView(s + t.a, info.Split - t.a));
            addChild(0, info.Split + 1, t.b - 1);
            break;
        case tkFunction2:
            node.Kind = okFunction2;
            node.Function = FParser.FindFunction2(QStringView(s + t.a, info.Split - t.a));
            addChild(0, info.Split + 1, info.Aux);
            addChild(1, info.Aux + 1, t.b - 1);
            break;
        case tkNone:
        case tkBracket:
            throw EParserInternalError(QStringLiteral("TParser internal error"));
        default: {
            node.Kind = OperationKindOf(info.Kind);
            const int opLength = info.Kind == tkDiv || info.Kind == tkMod ? 3 : 1;
            addChild(0, t.a, info.Split);
            addChild(1, info.Split + opLength, t.b);
            break;
        }
        }
    }
    CheckLevels(tree);
}

} // namespace orvek
