#include "tests/engine/reference_parser.h"

#include "engine/parser_split.h"

#include <map>

namespace orvek::test {

namespace {

class ReferenceSplit {
public:
    ReferenceSplit(const QString& text, const TCustomParser& parser)
        : s(text)
        , P(parser)
    {
        opens.assign(s.size() + 1, 0);
        closes.assign(s.size() + 1, 0);
        for (int i = 0; i < int(s.size()); ++i) {
            opens[i + 1] = opens[i] + (s[i] == QLatin1Char('('));
            closes[i + 1] = closes[i] + (s[i] == QLatin1Char(')'));
        }
    }

    struct Info {
        TermKind Kind = tkNone;
        int Split = -1, Aux = -1, Length = 0;
    };

    bool Balanced(int a, int b) const { return opens[b] - opens[a] == closes[b] - closes[a]; }

    // A valid expression, once its enclosing brackets are removed.
    bool Valid(int a, int b)
    {
        if (a >= b)
            return false;
        Strip(a, b);
        return Classify(a, b).Kind != tkNone;
    }

    void Strip(int& a, int& b)
    {
        while (b - a >= 2 && s[a] == QLatin1Char('(') && s[b - 1] == QLatin1Char(')') && Valid(a + 1, b - 1)) {
            ++a;
            --b;
        }
    }

    TermKind Side(int a, int b)
    {
        if (a >= b)
            return tkNone;
        if (b - a >= 2 && s[a] == QLatin1Char('(') && s[b - 1] == QLatin1Char(')') && Valid(a + 1, b - 1))
            return tkBracket;
        return Classify(a, b).Kind;
    }

    Info Classify(int a, int b)
    {
        const auto key = std::make_pair(a, b);
        const auto it = memo.find(key);
        if (it != memo.end())
            return it->second;
        const Info info = Compute(a, b);
        memo[key] = info;
        return info;
    }

    Info Compute(int a, int b)
    {
        const QString term = s.mid(a, b - a);
        if (P.FindVariable(term))
            return { tkVariable };
        long double v;
        if (parser_text::ParseNumber(term.constData(), int(term.size()), P.PascalNumberformat, v))
            return { tkNumber };
        if (term.startsWith(QLatin1Char('-')) && (MinusOperandKinds & KindBit(Side(a + 1, b))))
            return { tkMinus };
        for (const SideRule& rule : SideRules) {
            const int length = int(strlen(rule.Operator));
            for (int p = a + 1; p < b - 1; ++p) {
                if (QStringView(s).mid(p, length) != QLatin1String(rule.Operator))
                    continue;
                if (!Balanced(a, p) || !Balanced(p + length, b))
                    continue;
                if ((rule.Left & KindBit(Side(a, p))) && (rule.Right & KindBit(Side(p + length, b))))
                    return { rule.Kind, p, -1, length };
            }
        }
        const int q = int(s.indexOf(QLatin1Char('('), a));
        if (q > a && q < b && s[b - 1] == QLatin1Char(')')) {
            const QString name = s.mid(a, q - a);
            if (P.FindFunction1(name) && Valid(q + 1, b - 1))
                return { tkFunction1, q };
            if (P.FindFunction2(name))
                for (int c = q + 1; c < b - 1; ++c)
                    if (s[c] == QLatin1Char(',') && Valid(q + 1, c) && Valid(c + 1, b - 1))
                        return { tkFunction2, q, c };
        }
        return {};
    }

    const QString& s;
    const TCustomParser& P;
    std::vector<int> opens, closes;
    std::map<std::pair<int, int>, Info> memo;
};

} // namespace

long double ReferenceEvaluate(const TParser& Parser, const QString& Text)
{
    if (Text.isEmpty())
        return 0;
    const QString s = parser_text::Prepare(Text);
    ReferenceSplit split(s, Parser);
    if (!split.Valid(0, int(s.size())))
        throw ESyntaxError(parser_text::SyntaxErrorMessage(s));

    ParserTree tree;
    struct Pending {
        int a, b, level, node;
    };
    std::vector<Pending> queue;
    int a = 0, b = int(s.size());
    split.Strip(a, b);
    queue.push_back({ a, b, 0, 0 });
    tree.Nodes.emplace_back();
    for (size_t head = 0; head < queue.size(); ++head) {
        const Pending t = queue[head];
        if (int(tree.Order.size()) <= t.level)
            tree.Order.resize(t.level + 1);
        tree.Order[t.level].push_back(t.node);
        const auto info = split.Classify(t.a, t.b);
        const auto child = [&](int slot, int ca, int cb) {
            split.Strip(ca, cb);
            const int index = int(tree.Nodes.size());
            tree.Nodes.emplace_back();
            tree.Nodes[t.node].Child[slot] = index;
            queue.push_back({ ca, cb, t.level + 1, index });
        };
        const QString term = s.mid(t.a, t.b - t.a);
        switch (info.Kind) {
        case tkVariable:
            tree.Nodes[t.node].Kind = okVariable;
            tree.Nodes[t.node].Variable = Parser.FindVariable(term);
            break;
        case tkNumber:
            tree.Nodes[t.node].Kind = okConstant;
            parser_text::ParseNumber(
                term.constData(), int(term.size()), Parser.PascalNumberformat, tree.Nodes[t.node].Constant);
            break;
        case tkMinus:
            tree.Nodes[t.node].Kind = okMinus;
            child(0, t.a + 1, t.b);
            break;
        case tkFunction1:
            tree.Nodes[t.node].Kind = okFunction1;
            tree.Nodes[t.node].Function = Parser.FindFunction1(s.mid(t.a, info.Split - t.a));
            child(0, info.Split + 1, t.b - 1);
            break;
        case tkFunction2:
            tree.Nodes[t.node].Kind = okFunction2;
            tree.Nodes[t.node].Function = Parser.FindFunction2(s.mid(t.a, info.Split - t.a));
            child(0, info.Split + 1, info.Aux);
            child(1, info.Aux + 1, t.b - 1);
            break;
        case tkPower: {
            const QString right = s.mid(info.Split + 1, t.b - info.Split - 1);
            long double v = 0;
            const bool number = split.Classify(info.Split + 1, t.b).Kind == tkNumber
                && parser_text::ParseNumber(right.constData(), int(right.size()), Parser.PascalNumberformat, v);
            tree.Nodes[t.node].Kind = PowerKind(number, v);
            child(0, t.a, info.Split);
            child(1, info.Split + 1, t.b);
            break;
        }
        default:
            tree.Nodes[t.node].Kind = OperationKindOf(info.Kind);
            child(0, t.a, info.Split);
            child(1, info.Split + info.Length, t.b);
            break;
        }
    }
    CheckLevels(tree);

    // Evaluation in the parser's order: deepest level first, breadth-first within.
    std::vector<long double> values(tree.Nodes.size(), 0);
    std::vector<long double*> at(tree.Nodes.size());
    for (size_t i = 0; i < tree.Nodes.size(); ++i) {
        at[i] = tree.Nodes[i].Kind == okVariable ? tree.Nodes[i].Variable : &values[i];
        if (tree.Nodes[i].Kind == okConstant)
            values[i] = tree.Nodes[i].Constant;
    }
    for (auto level = tree.Order.rbegin(); level != tree.Order.rend(); ++level) {
        for (int i : *level) {
            const ParserTreeNode& node = tree.Nodes[i];
            if (node.Kind == okVariable || node.Kind == okConstant)
                continue;
            OperationRecord r;
            r.Kind = node.Kind;
            r.Operand1 = node.Child[0] >= 0 ? at[node.Child[0]] : nullptr;
            r.Operand2 = node.Child[1] >= 0 ? at[node.Child[1]] : nullptr;
            r.Result = at[i];
            r.Routine = node.Function ? node.Function : RoutineOfKind(node.Kind);
            r.Routine(r);
        }
    }
    return *at[0];
}

} // namespace orvek::test
