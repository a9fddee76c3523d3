#pragma once
// The requests of the special-character and formatting actions. An action only records
// its request here and raises SpecialEditPending; the editor the palette serves polls
// the flag, carries the requests out at its caret and clears them.

#include <array>
#include <cstddef>

namespace orvek {

// One insert request per insert action, named after the action without its "a".
enum class TInsertAction : int {
    // Greek letters, in the order they are inserted.
    Ro,
    Ny,
    CapitalPi,
    Fy,
    Grecke_x,
    Grecke_velke_x,
    Lambda,
    Omega,
    CapitalOmega,
    CapitalPsi,
    CapitalDelta,
    Alpha,
    Beta,
    Gamma,
    Epsilon,
    Pi,
    CapitalSigma,
    Sigma,
    Mi,
    Delta,
    Lambda_velke,
    Grecke_v_male,
    Grecke_u_male,
    Grecke_t_male,
    Grecke_q_male,
    Grecke_k_male,
    Grecke_i_male,
    Grecke_h_male,
    Grecke_f_male,
    Grecke_c_male,
    Grecke_V_velke,
    Grecke_Q_velke,
    Grecke_G_velke,
    Grecke_F_velke,
    Grecke_z_male,
    Grecke_J_velke,
    Grecke_y_male,
    // Signs.
    PlusMinus,
    GreaterThanOrEqual,
    LessThanOrEqual,
    Degree,
    Multiplicity,
    // Operators.
    Minus,
    Plus,
    Delenie,
    LeftParenthesis,
    RightParenthesis,
    // Templates, at most one per request.
    LeftRightParentheses,
    DruhaMocnina,
    TretiaMocnina,
    StvrtaMocnina,
    DruhaMocnina_lenIndex,
    DruhaOdmocnina,
    Exp,
    x_na_y,
    Function_Tan,
    Function_ArcTan,
    // Functions, at most one per request.
    Function_CoTan,
    Function_Cos,
    Function_Cosh,
    Function_Sin,
    Function_Sinh,
    Function_log2,
    Function_log10,
    Function_logN,
    Function_ln,
    Count
};
constexpr int InsertActionCount = int(TInsertAction::Count);
static_assert(InsertActionCount == 66);

inline bool BoldOn = false, ItalicOn = false, UnderlineOn = false, SuperScriptOn = false, SubScriptOn = false;
inline std::array<bool, InsertActionCount> InsertRequest {};
// The Windows-1252 code of a requested accented letter; 100 or less requests none.
inline int PendingCharCode = 0;
inline bool SpecialEditPending = false;
inline bool SpecialEditActionsEnabled = false;

inline bool& InsertRequested(TInsertAction action)
{
    return InsertRequest[std::size_t(action)];
}

// Sets every insert request False.
void ClearSpecialEditFlags();

} // namespace orvek
