#pragma once
// An edit that checks its text when the focus leaves it and takes the focus back
// when the check fails, and an integer edit with optional bounds built on it.

#include <QLineEdit>
#include <functional>
#include <stdexcept>

namespace orvek {

class TValidCustomEdit : public QLineEdit {
    Q_OBJECT
public:
    // Called with the result of a failed check, which the handler may change.
    using TInvalidEvent = std::function<void(QObject* sender, bool& valid)>;

    // The text of the edit does not validate.
    class EConvertError : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    explicit TValidCustomEdit(QWidget* parent = nullptr);

    bool AllowEmpty = true;
    bool BeepOnInvalid = true;
    TInvalidEvent OnInvalid;

    // Empty: the text was empty at the last validation; Valid: its result.
    bool Empty() const { return empty_; }
    bool Valid() const { return valid_; }

    // Checks the text: an empty text is valid with AllowEmpty, otherwise the class's
    // check decides; a failure beeps (BeepOnInvalid) and goes through OnInvalid.
    bool Validate();

    // A press of this button ends the window without keeping its input: leaving the
    // edit for it does not take the focus back.
    static void MarkAsCancel(QWidget* button);

protected:
    virtual bool IsValidText() { return true; }
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool empty_ = true;
    bool valid_ = true;
};

class TIntegerEdit : public TValidCustomEdit {
    Q_OBJECT
public:
    class ERangeError : public std::range_error {
    public:
        using std::range_error::range_error;
    };

    explicit TIntegerEdit(QWidget* parent = nullptr);

    bool UseBounds = false;

    // The validated value; throws EConvertError "Invalid validation text".
    int GetValue();
    // With UseBounds a value outside MinValue..MaxValue throws ERangeError "Value out of
    // bound"; otherwise it is stored and shown.
    void SetValue(int value);
    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    // With UseBounds a bound that would exclude the current value throws ERangeError.
    void SetMinValue(int value);
    void SetMaxValue(int value);

protected:
    bool IsValidText() override;

private:
    int value_ = 0;
    int min_ = 0;
    int max_ = 0;
};

} // namespace orvek
