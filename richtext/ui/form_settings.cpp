#include "richtext/ui/form_settings.h"

#include "core/common_vars.h"
#include "platform/registry.h"
#include "richtext/ui/font_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>
#include <QWidget>

namespace orvek {

namespace {

int ReadInt(const TRegistry& reg, const QString& name, int current)
{
    const auto text = reg.ReadString(name);
    if (!text)
        return current;
    bool ok = false;
    const int value = text->trimmed().toInt(&ok);
    return ok ? value : current;
}

bool ReadFlag(const TRegistry& reg, const QString& name, bool current)
{
    const auto text = reg.ReadString(name);
    if (!text)
        return current;
    bool ok = false;
    const int value = text->trimmed().toInt(&ok);
    return ok ? value != 0 : current;
}

QString ReadText(const TRegistry& reg, const QString& name, const QString& current)
{
    const auto text = reg.ReadString(name);
    return text ? *text : current;
}

QString StateName(Qt::WindowStates state)
{
    if (state & Qt::WindowMinimized)
        return "MINIMIZED";
    if (state & Qt::WindowMaximized)
        return "MAXIMIZED";
    return "NORMAL";
}

// The kept controls of Root in creation order; font dialogs come last, as their own pass.
QList<QObject*> KeptObjects(QObject* root)
{
    QList<QObject*> result;
    for (QObject* child : root->findChildren<QObject*>()) {
        if (child->objectName().isEmpty())
            continue;
        if (qobject_cast<QLineEdit*>(child) || qobject_cast<QPlainTextEdit*>(child) || qobject_cast<QTextEdit*>(child)
            || qobject_cast<QCheckBox*>(child) || qobject_cast<QRadioButton*>(child)
            || qobject_cast<QListWidget*>(child) || qobject_cast<QComboBox*>(child))
            result.append(child);
    }
    return result;
}

QList<TFontDialog*> FontDialogs(QObject* root)
{
    QList<TFontDialog*> result;
    for (TFontDialog* d : root->findChildren<TFontDialog*>())
        if (!d->objectName().isEmpty())
            result.append(d);
    return result;
}

} // namespace

TFormSettings::TFormSettings(QWidget* owner)
    : QObject(owner)
    , owner_(owner)
{
    setObjectName("FormSettings1");
}

QWidget* TFormSettings::OwnerWindow() const
{
    return owner_ && owner_->isWindow() ? owner_.data() : nullptr;
}

QString TFormSettings::KeyName() const
{
    if (!keyName_.isEmpty() || !owner_)
        return keyName_;
    QString title = ProgramTitle;
    if (title.isEmpty() && qApp)
        title = QApplication::applicationDisplayName();
    return "Software\\" + title + "\\" + owner_->objectName();
}

void TFormSettings::LoadSettings()
{
    QWidget* window = OwnerWindow();
    if (!window)
        return;
    const QString key = KeyName();
    TRegistry reg;
    if (SavePosition && reg.OpenKey(key + "\\Position", false)) {
        QRect r = window->geometry();
        r.moveLeft(ReadInt(reg, "Left", r.left()));
        r.moveTop(ReadInt(reg, "Top", r.top()));
        r.setWidth(ReadInt(reg, "Width", r.width()));
        r.setHeight(ReadInt(reg, "Height", r.height()));
        window->setGeometry(r);
        const QString state = ReadText(reg, "WindowState", "Normal").toUpper();
        Qt::WindowStates s = window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
        if (state == "MINIMIZED")
            s |= Qt::WindowMinimized;
        else if (state == "MAXIMIZED")
            s |= Qt::WindowMaximized;
        window->setWindowState(s);
        reg.CloseKey();
    }
    if (!LoadValues || !reg.OpenKey(key + "\\Values", false))
        return;
    QObject* root = RootControl ? static_cast<QObject*>(RootControl.data()) : window;
    for (QObject* o : KeptObjects(root)) {
        const QString name = o->objectName();
        if (auto* e = qobject_cast<QLineEdit*>(o))
            e->setText(ReadText(reg, name, e->text()));
        else if (auto* m = qobject_cast<QPlainTextEdit*>(o))
            m->setPlainText(ReadText(reg, name, m->toPlainText()));
        else if (auto* t = qobject_cast<QTextEdit*>(o))
            t->setPlainText(ReadText(reg, name, t->toPlainText()));
        else if (auto* c = qobject_cast<QCheckBox*>(o))
            c->setChecked(ReadFlag(reg, name, c->isChecked()));
        else if (auto* rb = qobject_cast<QRadioButton*>(o))
            rb->setChecked(ReadFlag(reg, name, rb->isChecked()));
        else if (auto* l = qobject_cast<QListWidget*>(o))
            l->setCurrentRow(ReadInt(reg, name, l->currentRow()));
        else if (auto* cb = qobject_cast<QComboBox*>(o))
            cb->setCurrentIndex(ReadInt(reg, name, cb->currentIndex()));
    }
    for (TFontDialog* d : FontDialogs(root)) {
        const QString n = d->objectName();
        QFont& f = d->Font;
        f.setFamily(ReadText(reg, n + "_Name", f.family()));
        const int size = ReadInt(reg, n + "_Size", f.pointSize());
        if (size > 0)
            f.setPointSize(size);
        d->Color = quint32(ReadInt(reg, n + "_Color", int(d->Color)));
        f.setBold(ReadFlag(reg, n + "_Bold", f.bold()));
        f.setItalic(ReadFlag(reg, n + "_Italic", f.italic()));
        f.setUnderline(ReadFlag(reg, n + "_Underline", f.underline()));
        f.setStrikeOut(ReadFlag(reg, n + "_StrikeOut", f.strikeOut()));
    }
    reg.CloseKey();
}

void TFormSettings::SaveSettings()
{
    QWidget* window = OwnerWindow();
    if (!window)
        return;
    const QString key = KeyName();
    TRegistry reg;
    if (SavePosition && reg.OpenKey(key + "\\Position", true)) {
        const Qt::WindowStates state = window->windowState();
        if (!(state & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))) {
            const QRect r = window->geometry();
            reg.WriteString("Left", QString::number(r.left()));
            reg.WriteString("Top", QString::number(r.top()));
            reg.WriteString("Width", QString::number(r.width()));
            reg.WriteString("Height", QString::number(r.height()));
        }
        reg.WriteString("WindowState", StateName(state));
        reg.CloseKey();
    }
    if (!SaveValues || !reg.OpenKey(key + "\\Values", true))
        return;
    auto flag = [](bool b) { return QString(b ? "1" : "0"); };
    QObject* root = RootControl ? static_cast<QObject*>(RootControl.data()) : window;
    for (QObject* o : KeptObjects(root)) {
        const QString name = o->objectName();
        if (auto* e = qobject_cast<QLineEdit*>(o))
            reg.WriteString(name, e->text());
        else if (auto* m = qobject_cast<QPlainTextEdit*>(o))
            reg.WriteString(name, m->toPlainText());
        else if (auto* t = qobject_cast<QTextEdit*>(o))
            reg.WriteString(name, t->toPlainText());
        else if (auto* c = qobject_cast<QCheckBox*>(o))
            reg.WriteString(name, flag(c->isChecked()));
        else if (auto* rb = qobject_cast<QRadioButton*>(o))
            reg.WriteString(name, flag(rb->isChecked()));
        else if (auto* l = qobject_cast<QListWidget*>(o))
            reg.WriteString(name, QString::number(l->currentRow()));
        else if (auto* cb = qobject_cast<QComboBox*>(o))
            reg.WriteString(name, QString::number(cb->currentIndex()));
    }
    for (TFontDialog* d : FontDialogs(root)) {
        const QString n = d->objectName();
        const QFont& f = d->Font;
        reg.WriteString(n + "_Name", f.family());
        reg.WriteString(n + "_Size", QString::number(f.pointSize()));
        reg.WriteString(n + "_Color", QString::number(d->Color));
        reg.WriteString(n + "_Bold", flag(f.bold()));
        reg.WriteString(n + "_Italic", flag(f.italic()));
        reg.WriteString(n + "_Underline", flag(f.underline()));
        reg.WriteString(n + "_StrikeOut", flag(f.strikeOut()));
    }
    reg.CloseKey();
}

} // namespace orvek
