#pragma once
// The floating tool windows of special characters: rows of flat buttons bound to the
// special-edit actions. Esc hides them. Closing the box's window with its close box
// stops it serving any editor and discards it.

#include <QDialog>

namespace orvek {

class TfSetSpecialCharactersVariable : public QDialog {
    Q_OBJECT
public:
    explicit TfSetSpecialCharactersVariable(QWidget* owner = nullptr);

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ApplyCaption();
};

class TfSetSpecialCharacters : public QDialog {
    Q_OBJECT
public:
    explicit TfSetSpecialCharacters(QWidget* owner = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

inline TfSetSpecialCharactersVariable* fSetSpecialCharactersVariable = nullptr;
inline TfSetSpecialCharacters* fSetSpecialCharacters = nullptr;

} // namespace orvek
