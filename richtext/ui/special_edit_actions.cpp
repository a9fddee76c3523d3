#include "richtext/ui/special_edit_actions.h"

#include "core/special_edit.h"
#include "platform/ui/rich_edit98.h"

#include <QAction>

namespace orvek {

namespace {

const QString CRLF = "\r\n";
const QString H1
    = "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1051\\deftab708{\\fonttbl {\\f0\\froman\\fprq2\\fcharset2 "
      "Symbol;}}"
    + CRLF + "\\uc1\\pard\\tx720\\lang1033\\ulnone\\f0\\";
const QString H2 = "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1051{\\fonttbl{\\f0\\froman\\fprq2\\fcharset2 Symbol;}}"
    + CRLF + "\\uc1\\pard\\lang1033\\f0\\";
const QString H3 = H1 + "fs";
const QString H4 = "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1051{\\fonttbl{\\f0\\fnil\\fcharset1 Arial;}}" + CRLF
    + "\\uc1\\pard\\lang1033\\";
const QString H5 = H4 + "fs";
const QString H6 = "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1051{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}" + CRLF
    + "\\uc1\\pard\\lang1033\\super\\fs";
const QString H7 = "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1051{\\fonttbl{\\f0\\froman\\fprq2\\fcharset2 Symbol;}}"
    + CRLF + "\\uc1\\pard\\lang1033\\f0\\fs";
const QString H8 = "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1051{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}" + CRLF
    + "\\uc1\\pard\\lang1033\\sub\\fs";

struct GreekLetter {
    TInsertAction request;
    const char* name;
    char symbol; // the Latin letter whose Symbol-font glyph is the Greek letter
    const char* shown; // the action's caption
};

const GreekLetter kGreek[] = {
    { TInsertAction::Ro, "aRo", 'r', "ρ" },
    { TInsertAction::Ny, "aNy", 'n', "ν" },
    { TInsertAction::CapitalPi, "aCapitalPi", 'P', "Π" },
    { TInsertAction::Fy, "aFy", 'j', "φ" },
    { TInsertAction::Grecke_x, "aGrecke_x", 'x', "ξ" },
    { TInsertAction::Grecke_velke_x, "aGrecke_velke_x", 'X', "Ξ" },
    { TInsertAction::Lambda, "aLambda", 'l', "λ" },
    { TInsertAction::Omega, "aOmega", 'w', "ω" },
    { TInsertAction::CapitalOmega, "aCapitalOmega", 'W', "Ω" },
    { TInsertAction::CapitalPsi, "aCapitalPsi", 'Y', "Ψ" },
    { TInsertAction::CapitalDelta, "aCapitalDelta", 'D', "Δ" },
    { TInsertAction::Alpha, "aAlpha", 'a', "α" },
    { TInsertAction::Beta, "aBeta", 'b', "β" },
    { TInsertAction::Gamma, "aGamma", 'g', "γ" },
    { TInsertAction::Epsilon, "aEpsilon", 'e', "ε" },
    { TInsertAction::Pi, "aPi", 'p', "π" },
    { TInsertAction::CapitalSigma, "aCapitalSigma", 'S', "Σ" },
    { TInsertAction::Sigma, "aSigma", 's', "σ" },
    { TInsertAction::Mi, "aMi", 'm', "μ" },
    { TInsertAction::Delta, "aDelta", 'd', "δ" },
    { TInsertAction::Lambda_velke, "aLambda_velke", 'L', "Λ" },
    { TInsertAction::Grecke_v_male, "aGrecke_v_male", 'v', "ϖ" },
    { TInsertAction::Grecke_u_male, "aGrecke_u_male", 'u', "υ" },
    { TInsertAction::Grecke_t_male, "aGrecke_t_male", 't', "τ" },
    { TInsertAction::Grecke_q_male, "aGrecke_q_male", 'q', "θ" },
    { TInsertAction::Grecke_k_male, "aGrecke_k_male", 'k', "κ" },
    { TInsertAction::Grecke_i_male, "aGrecke_i_male", 'i', "ι" },
    { TInsertAction::Grecke_h_male, "aGrecke_h_male", 'h', "η" },
    { TInsertAction::Grecke_f_male, "aGrecke_f_male", 'f', "ϕ" },
    { TInsertAction::Grecke_c_male, "aGrecke_c_male", 'c', "χ" },
    { TInsertAction::Grecke_V_velke, "aGrecke_V_velke", 'V', "ς" },
    { TInsertAction::Grecke_Q_velke, "aGrecke_Q_velke", 'Q', "Θ" },
    { TInsertAction::Grecke_G_velke, "aGrecke_G_velke", 'G', "Γ" },
    { TInsertAction::Grecke_F_velke, "aGrecke_F_velke", 'F', "Φ" },
    { TInsertAction::Grecke_z_male, "aGrecke_z_male", 'z', "ζ" },
    { TInsertAction::Grecke_J_velke, "aGrecke_J_velke", 'J', "ϑ" },
    { TInsertAction::Grecke_y_male, "aGrecke_y_male", 'y', "ψ" },
};

struct AccentedLetter {
    int position;
    int code;
};

const AccentedLetter kAccented[] = { { 128, 199 }, { 129, 252 }, { 130, 233 }, { 131, 226 }, { 132, 228 }, { 133, 224 },
    { 134, 229 }, { 135, 231 }, { 136, 234 }, { 137, 235 }, { 138, 232 }, { 139, 239 }, { 140, 238 }, { 141, 236 },
    { 142, 196 }, { 143, 197 }, { 144, 201 }, { 147, 244 }, { 148, 246 }, { 149, 242 }, { 150, 251 }, { 151, 249 },
    { 153, 214 }, { 154, 220 }, { 160, 225 }, { 161, 237 }, { 162, 243 }, { 163, 250 }, { 164, 241 }, { 165, 209 } };

QByteArray Bytes(const QString& fragment)
{
    return fragment.toLatin1();
}

void Put(TCustomRichEdit98& edit, const QString& fragment)
{
    edit.SetRTFText(Bytes(fragment));
}

void CaretBack(TCustomRichEdit98& edit, int count)
{
    edit.SetSelStart(qMax(0, edit.SelStart() - count));
    edit.SetSelLength(0);
}

// What is typed next at the caret comes in the normal script; the text around it keeps
// its own (the word rule of the selection attributes would reach into it).
void NormalStyle(TCustomRichEdit98& edit)
{
    QTextCharFormat format = edit.currentCharFormat();
    format.setVerticalAlignment(QTextCharFormat::AlignNormal);
    edit.setCurrentCharFormat(format);
}

} // namespace

int AccentedCharCode(int position)
{
    for (const AccentedLetter& a : kAccented)
        if (a.position == position)
            return a.code;
    return 0;
}

QAction* TActionListSpecialEdit::Make(const QString& name, const QString& text, bool checkable)
{
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setCheckable(checkable);
    actions_.append(action);
    return action;
}

TActionListSpecialEdit::TActionListSpecialEdit(QObject* owner)
    : QObject(owner)
{
    setObjectName("ActionListSpecialEdit");
    auto format = [this](const QString& name, const QString& text, bool* state) {
        QAction* a = Make(name, text, true);
        connect(a, &QAction::triggered, this, [this, a, state](bool on) {
            *state = on;
            if (on && a == aSuperScript) {
                aSubScript->setChecked(false);
                SubScriptOn = false;
            } else if (on && a == aSubScript) {
                aSuperScript->setChecked(false);
                SuperScriptOn = false;
            }
            SpecialEditPending = true;
        });
        return a;
    };
    aBold = format("aBold", "B", &BoldOn);
    aItalic = format("aItalic", "I", &ItalicOn);
    aUnderline = format("aUnderline", "U", &UnderlineOn);
    aSuperScript = format("aSuperScript", "x²", &SuperScriptOn);
    aSubScript = format("aSubScript", "x₂", &SubScriptOn);

    auto insert = [this](const char* name, const QString& text, TInsertAction request) {
        QAction* a = Make(name, text);
        insertActions_[size_t(request)] = a;
        connect(a, &QAction::triggered, this, [request] {
            InsertRequested(request) = true;
            SpecialEditPending = true;
        });
        return a;
    };
    QAction** greek[] = { &aRo, &aNy, &aCapitalPi, &aFy, &aGrecke_x, &aGrecke_velke_x, &aLambda, &aOmega,
        &aCapitalOmega, &aCapitalPsi, &aCapitalDelta, &aAlpha, &aBeta, &aGamma, &aEpsilon, &aPi, &aCapitalSigma,
        &aSigma, &aMi, &aDelta, &aLambda_velke, &aGrecke_v_male, &aGrecke_u_male, &aGrecke_t_male, &aGrecke_q_male,
        &aGrecke_k_male, &aGrecke_i_male, &aGrecke_h_male, &aGrecke_f_male, &aGrecke_c_male, &aGrecke_V_velke,
        &aGrecke_Q_velke, &aGrecke_G_velke, &aGrecke_F_velke, &aGrecke_z_male, &aGrecke_J_velke, &aGrecke_y_male };
    static_assert(std::size(greek) == std::size(kGreek));
    for (size_t i = 0; i < std::size(kGreek); ++i)
        *greek[i] = insert(kGreek[i].name, QString::fromUtf8(kGreek[i].shown), kGreek[i].request);

    using A = TInsertAction;
    aPlusMinus = insert("aPlusMinus", "±", A::PlusMinus);
    aGreaterThanOrEqual = insert("aGreaterThanOrEqual", "≥", A::GreaterThanOrEqual);
    aLessThanOrEqual = insert("aLessThanOrEqual", "≤", A::LessThanOrEqual);
    aDegree = insert("aDegree", "°", A::Degree);
    aMultiplicity = insert("aMultiplicity", "×", A::Multiplicity);
    aMinus = insert("aMinus", "-", A::Minus);
    aPlus = insert("aPlus", "+", A::Plus);
    aDelenie = insert("aDelenie", "/", A::Delenie);
    aLeftParenthesis = insert("aLeftParenthesis", "(", A::LeftParenthesis);
    aRightParenthesis = insert("aRightParenthesis", ")", A::RightParenthesis);
    aLeftRightParentheses = insert("aLeftRightParentheses", "()", A::LeftRightParentheses);
    aDruhaMocnina = insert("aDruhaMocnina", "()²", A::DruhaMocnina);
    aTretiaMocnina = insert("aTretiaMocnina", "()³", A::TretiaMocnina);
    aStvrtaMocnina = insert("aStvrtaMocnina", "()⁴", A::StvrtaMocnina);
    aDruhaMocnina_lenIndex = insert("aDruhaMocnina_lenIndex", "²", A::DruhaMocnina_lenIndex);
    aDruhaOdmocnina = insert("aDruhaOdmocnina", "√()", A::DruhaOdmocnina);
    aExp = insert("aExp", "e⁽⁾", A::Exp);
    a_x_na_y = insert("a_x_na_y", "()⁽⁾", A::x_na_y);
    aFunction_Tan = insert("aFunction_Tan", "Tan()", A::Function_Tan);
    aFunction_ArcTan = insert("aFunction_ArcTan", "ArcTan()", A::Function_ArcTan);
    aFunction_CoTan = insert("aFunction_CoTan", "CoTan()", A::Function_CoTan);
    aFunction_Cos = insert("aFunction_Cos", "Cos()", A::Function_Cos);
    aFunction_Cosh = insert("aFunction_Cosh", "Cosh()", A::Function_Cosh);
    aFunction_Sin = insert("aFunction_Sin", "Sin()", A::Function_Sin);
    aFunction_Sinh = insert("aFunction_Sinh", "Sinh()", A::Function_Sinh);
    aFunction_log2 = insert("aFunction_log2", "log₂()", A::Function_log2);
    aFunction_log10 = insert("aFunction_log10", "log()", A::Function_log10);
    aFunction_logN = insert("aFunction_logN", "log₍₎()", A::Function_logN);
    aFunction_ln = insert("aFunction_ln", "ln()", A::Function_ln);

    for (const AccentedLetter& letter : kAccented) {
        QAction* a = Make(QString("aChar%1").arg(letter.position), QString(QChar(letter.code)));
        charActions_[size_t(letter.position - 128)] = a;
        const int code = letter.code;
        connect(a, &QAction::triggered, this, [code] {
            PendingCharCode = code;
            SpecialEditPending = true;
        });
    }
}

QAction* TActionListSpecialEdit::aChar(int position) const
{
    return position >= 128 && position <= 165 ? charActions_[size_t(position - 128)] : nullptr;
}

void EnableSpecialEditActions()
{
    SpecialEditActionsEnabled = true;
    if (ActionListSpecialEdit)
        for (QAction* a : ActionListSpecialEdit->Actions())
            a->setEnabled(true);
}

void InsertSpecialCharCode(int FontSize, int CharCode, TCustomRichEdit98& Edit)
{
    // The letter goes in as its Unicode value: under the code-page-1250 header a raw
    // Windows-1252 byte would read as another letter (224 "à" as "ŕ").
    const QString S = QString::number(2 * FontSize);
    Put(Edit,
        "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1051\\deftab708{\\fonttbl {\\f0\\fnil\\fcharset0 Arial;}}" + CRLF
            + "{\\colortbl ;\\red0\\green0\\blue0;}" + CRLF + "\\uc1\\pard\\tx720\\cf1\\lang1033\\f0\\fs" + S + "\\u"
            + QString::number(CharCode) + "?}" + CRLF);
}

void InsertPendingSpecialEdit(int FontSize, TCustomRichEdit98& Edit)
{
    const QString S = QString::number(2 * FontSize);
    const int style = Edit.SelAttributes().SubscriptStyle();
    const QString P = style == 1 ? "sub\\" : style == 2 ? "super\\" : "";
    auto withPrefix = [&](const QString& header, const QString& chars) {
        Put(Edit, header + P + "fs" + S + " " + chars + "}" + CRLF);
    };
    auto plain = [&](const QString& header, const QString& chars) { Put(Edit, header + S + " " + chars + "}" + CRLF); };
    auto on = [](TInsertAction a) { return InsertRequested(a); };
    using A = TInsertAction;

    // 1. Greek letters.
    for (const GreekLetter& g : kGreek) {
        if (!on(g.request))
            continue;
        const bool h2 = g.request == A::Ro || g.request == A::Ny;
        withPrefix(h2 ? H2 : H1, QString(QChar(g.symbol)));
    }
    // 2. Signs in the Symbol font.
    const std::pair<A, const char*> signs[] = { { A::PlusMinus, "\\'b1}" }, { A::GreaterThanOrEqual, "\\'b3}" },
        { A::LessThanOrEqual, "\\'a3}" }, { A::Degree, "\\'b0}" } };
    for (const auto& [request, escape] : signs)
        if (on(request))
            Put(Edit, H3 + S + escape + CRLF);
    if (on(A::Multiplicity))
        Put(Edit, H1 + P + "fs" + S + "\\'b4}" + CRLF);
    // 3. Operators.
    const std::pair<A, const char*> operators[] = { { A::Minus, "-" }, { A::Plus, "+" }, { A::Delenie, "/" },
        { A::LeftParenthesis, "(" }, { A::RightParenthesis, ")" } };
    for (const auto& [request, text] : operators)
        if (on(request))
            withPrefix(H4, text);
    // 4. At most one template.
    if (on(A::LeftRightParentheses)) {
        withPrefix(H4, "(");
        withPrefix(H4, ")");
        NormalStyle(Edit);
        CaretBack(Edit, 1);
    } else if (on(A::DruhaMocnina) || on(A::TretiaMocnina) || on(A::StvrtaMocnina)) {
        plain(H5, "(");
        plain(H5, ")");
        plain(H6, on(A::DruhaMocnina) ? "2" : on(A::TretiaMocnina) ? "3" : "4");
        NormalStyle(Edit);
        CaretBack(Edit, 2);
    } else if (on(A::DruhaMocnina_lenIndex)) {
        plain(H6, "2");
        NormalStyle(Edit);
    } else if (on(A::DruhaOdmocnina)) {
        Put(Edit, H7 + S + "\\'d6}" + CRLF);
        plain(H5, "(");
        plain(H5, ")");
        NormalStyle(Edit);
        CaretBack(Edit, 1);
    } else if (on(A::Exp)) {
        plain(H5, "e");
        plain(H6, "(");
        plain(H6, ")");
        NormalStyle(Edit);
        CaretBack(Edit, 1);
    } else if (on(A::x_na_y)) {
        plain(H5, "(");
        plain(H5, ")");
        plain(H6, "(");
        plain(H6, ")");
        CaretBack(Edit, 3);
        NormalStyle(Edit);
    } else if (on(A::Function_Tan)) {
        withPrefix(H4, "Tan");
        withPrefix(H4, "(");
        withPrefix(H4, ")");
        CaretBack(Edit, 1);
    }
    // 5. Arc tangent.
    if (on(A::Function_ArcTan)) {
        withPrefix(H4, "ArcTan");
        withPrefix(H4, "(");
        plain(H5, ")");
        CaretBack(Edit, 1);
    }
    // 6. At most one function.
    const std::pair<A, const char*> functions[]
        = { { A::Function_CoTan, "CoTan" }, { A::Function_Cos, "Cos" }, { A::Function_Cosh, "Cosh" },
              { A::Function_Sin, "Sin" }, { A::Function_Sinh, "Sinh" }, { A::Function_log2, "log" },
              { A::Function_log10, "log" }, { A::Function_logN, "log" }, { A::Function_ln, "ln" } };
    for (const auto& [request, name] : functions) {
        if (!on(request))
            continue;
        withPrefix(H4, name);
        if (request == A::Function_log2)
            Put(Edit, H4 + "sub\\fs" + S + " 2}" + CRLF);
        if (request == A::Function_logN) {
            Put(Edit, H8 + S + " (}" + CRLF);
            Put(Edit, H8 + S + " )}" + CRLF);
        }
        withPrefix(H4, "(");
        withPrefix(H4, ")");
        CaretBack(Edit, request == A::Function_logN ? 3 : 1);
        break;
    }
    // 7.
    ClearSpecialEditFlags();
}

} // namespace orvek
