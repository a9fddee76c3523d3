#pragma once
// The special-character and formatting actions shared by every formatted-text editor,
// and the routines that carry their requests out in a rich edit.

#include <QObject>

#include <array>

class QAction;
class QWidget;

namespace orvek {

class TCustomRichEdit98;

class TActionListSpecialEdit : public QObject {
    Q_OBJECT
public:
    explicit TActionListSpecialEdit(QObject* owner = nullptr);

    QAction *aBold, *aItalic, *aUnderline, *aSuperScript, *aSubScript;
    // Greek letters.
    QAction *aRo, *aNy, *aCapitalPi, *aFy, *aGrecke_x, *aGrecke_velke_x, *aLambda, *aOmega, *aCapitalOmega,
        *aCapitalPsi, *aCapitalDelta, *aAlpha, *aBeta, *aGamma, *aEpsilon, *aPi, *aCapitalSigma, *aSigma, *aMi, *aDelta,
        *aLambda_velke, *aGrecke_v_male, *aGrecke_u_male, *aGrecke_t_male, *aGrecke_q_male, *aGrecke_k_male,
        *aGrecke_i_male, *aGrecke_h_male, *aGrecke_f_male, *aGrecke_c_male, *aGrecke_V_velke, *aGrecke_Q_velke,
        *aGrecke_G_velke, *aGrecke_F_velke, *aGrecke_z_male, *aGrecke_J_velke, *aGrecke_y_male;
    QAction *aPlusMinus, *aGreaterThanOrEqual, *aLessThanOrEqual, *aDegree, *aMultiplicity;
    QAction *aMinus, *aPlus, *aDelenie, *aLeftParenthesis, *aRightParenthesis;
    QAction *aLeftRightParentheses, *aDruhaMocnina, *aTretiaMocnina, *aStvrtaMocnina, *aDruhaMocnina_lenIndex,
        *aDruhaOdmocnina, *aExp, *a_x_na_y, *aFunction_Tan, *aFunction_ArcTan;
    QAction *aFunction_CoTan, *aFunction_Cos, *aFunction_Cosh, *aFunction_Sin, *aFunction_Sinh, *aFunction_log2,
        *aFunction_log10, *aFunction_logN, *aFunction_ln;
    // Accented letters: aChar128 ... aChar165 by their code-page-437 position.
    QAction* aChar(int position) const;
    QList<QAction*> Actions() const { return actions_; }
    // The insert action that raises Request.
    QAction* InsertAction(int request) const { return insertActions_[size_t(request)]; }

private:
    QAction* Make(const QString& name, const QString& text, bool checkable = false);
    QList<QAction*> actions_;
    std::array<QAction*, 66> insertActions_ {};
    std::array<QAction*, 38> charActions_ {};
};

// Created at start-up; the main window puts its actions into its menus and tool bar.
inline TActionListSpecialEdit* ActionListSpecialEdit = nullptr;

// The Windows-1252 code an accented-letter action requests (aChar128 → 199), 0 for a
// position without an action.
int AccentedCharCode(int position);

void EnableSpecialEditActions();
// Inserts every requested fragment at the caret of Edit and clears the insert requests.
void InsertPendingSpecialEdit(int FontSize, TCustomRichEdit98& Edit);
// Inserts the Windows-1252 letter CharCode in Arial of FontSize at the caret.
void InsertSpecialCharCode(int FontSize, int CharCode, TCustomRichEdit98& Edit);

} // namespace orvek
