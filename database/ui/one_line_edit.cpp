#include "database/ui/one_line_edit.h"

#include <QLineEdit>
#include <memory>

namespace orvek {

QString FirstLineOf(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text.at(i) == QLatin1Char('\r') || text.at(i) == QLatin1Char('\n'))
            return text.left(i);
    return text;
}

void KeepOneLine(QLineEdit* edit)
{
    auto last = std::make_shared<QString>(edit->text());
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, last](const QString& text) {
        if (!text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n'))) {
            *last = text;
            return;
        }
        // The inserted part lies between what the old and the new text share at their
        // start and at their end.
        const QString& old = *last;
        qsizetype prefix = 0;
        while (prefix < old.size() && prefix < text.size() && old.at(prefix) == text.at(prefix))
            ++prefix;
        qsizetype suffix = 0;
        while (suffix < old.size() - prefix && suffix < text.size() - prefix
            && old.at(old.size() - 1 - suffix) == text.at(text.size() - 1 - suffix))
            ++suffix;
        const QString inserted = FirstLineOf(text.mid(prefix, text.size() - prefix - suffix));
        const QString fixed = FirstLineOf(text.left(prefix)) + inserted + text.right(suffix);
        edit->setText(fixed);
        edit->setCursorPosition(int(qMin(fixed.size(), prefix + inserted.size())));
    });
}

} // namespace orvek
