#include "engine/diagram_text.h"

#include "core/common_vars.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "core/text_pieces.h"
#include "engine/cell.h"
#include "engine/percent_of_text.h"
#include "platform/dialogs.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QIODevice>

namespace orvek {

namespace {

const QString kBeginCell = QStringLiteral("BeginCell=");
const QString kEndCell = QStringLiteral("EndCell=");
const QString kNrChildCells = QStringLiteral("NrChildCells=");
const QString kCrLf = QStringLiteral("\r\n");

// "Trimmed, and NAN made empty": the form number texts are read in.
QString Cleaned(const QString& value)
{
    QString t = TrimControl(value);
    return t == QLatin1String("NAN") ? QString() : t;
}

[[noreturn]] void ThrowNotInteger(const QString& key, const QString& value)
{
    throw EDiagramTextError(QStringLiteral("'%1' is not a valid integer value (%2).").arg(value, key));
}

int IntegerOf(const QString& key, const QString& value)
{
    bool ok = false;
    const int v = TrimControl(value).toInt(&ok);
    if (!ok)
        ThrowNotInteger(key, value);
    return v;
}

quint8 ByteOf(const QString& key, const QString& value)
{
    const int v = IntegerOf(key, value);
    if (v < 0 || v > 255)
        ThrowNotInteger(key, value);
    return quint8(v);
}

using TVstup = TVstupStandardnejNeistoty;

// How a source key is read.
enum class SourceKind {
    Lockable, // TStringRec: lock and text
    LockableList, // TAnsiStringRec: lock, text appended
    TextList, // String appended, no lock
    Text, // String
    Integer,
    Byte,
    LockedByte, // Byte with its lock byte in front
};

struct SourceKey {
    SourceKind kind;
    bool raw = false; // taken as written instead of cleaned
    bool gated = true; // a value line: read only while values are taken
    TStringRec TVstup::*rec = nullptr;
    TAnsiStringRec TVstup::*list = nullptr;
    QString TVstup::*text = nullptr;
    int TVstup::*integer = nullptr;
    quint8 TVstup::*byte = nullptr;
    quint8 TVstup::*lock = nullptr;
};

const QHash<QString, SourceKey>& SourceKeys()
{
    static const QHash<QString, SourceKey> keys = [] {
        QHash<QString, SourceKey> k;
        auto rec = [&](const char* name, TStringRec TVstup::*m, bool raw = false) {
            SourceKey d { SourceKind::Lockable };
            d.rec = m;
            d.raw = raw;
            k.insert(QString::fromLatin1(name), d);
        };
        auto list = [&](const char* name, TAnsiStringRec TVstup::*m) {
            SourceKey d { SourceKind::LockableList };
            d.list = m;
            k.insert(QString::fromLatin1(name), d);
        };
        auto textList = [&](const char* name, QString TVstup::*m) {
            SourceKey d { SourceKind::TextList };
            d.text = m;
            k.insert(QString::fromLatin1(name), d);
        };
        auto text = [&](const char* name, QString TVstup::*m, bool raw = false) {
            SourceKey d { SourceKind::Text };
            d.text = m;
            d.raw = raw;
            k.insert(QString::fromLatin1(name), d);
        };
        auto integer = [&](const char* name, int TVstup::*m) {
            SourceKey d { SourceKind::Integer };
            d.integer = m;
            k.insert(QString::fromLatin1(name), d);
        };
        auto byte = [&](const char* name, quint8 TVstup::*m) {
            SourceKey d { SourceKind::Byte };
            d.byte = m;
            k.insert(QString::fromLatin1(name), d);
        };
        auto lockedByte = [&](const char* name, quint8 TVstup::*m, quint8 TVstup::*l, bool gated) {
            SourceKey d { SourceKind::LockedByte };
            d.byte = m;
            d.lock = l;
            d.gated = gated;
            k.insert(QString::fromLatin1(name), d);
        };
        // Degrees-of-freedom options and the confidence index are read whatever the
        // value switches say.
        lockedByte("ZPSV_1=", &TVstup::ZPSV_1, &TVstup::ZPSV_1Lock, false);
        lockedByte("ZPSV_2_1=", &TVstup::ZPSV_2_1, &TVstup::ZPSV_2_1Lock, false);
        lockedByte("ZPSV_2_2=", &TVstup::ZPSV_2_2, &TVstup::ZPSV_2_2Lock, false);
        lockedByte("ZPSV_2_3=", &TVstup::ZPSV_2_3, &TVstup::ZPSV_2_3Lock, false);
        lockedByte("ZPSV_2_4=", &TVstup::ZPSV_2_4, &TVstup::ZPSV_2_4Lock, false);
        lockedByte("ZPSV_2_5=", &TVstup::ZPSV_2_5, &TVstup::ZPSV_2_5Lock, false);
        lockedByte("ZPSV_2_6=", &TVstup::ZPSV_2_6, &TVstup::ZPSV_2_6Lock, false);
        lockedByte("HS=", &TVstup::HS, &TVstup::HSLock, false);
        lockedByte("TR_1=", &TVstup::TR_1, &TVstup::TR_1Lock, true);

        rec("KO=", &TVstup::KO);
        rec("PSV_1=", &TVstup::PSV_1);
        rec("RN_1=", &TVstup::RN_1, true);
        rec("IS_2_1=", &TVstup::IS_2_1);
        rec("PSV_2_1=", &TVstup::PSV_2_1);
        rec("RN_2_1=", &TVstup::RN_2_1, true);
        rec("IS_2_2=", &TVstup::IS_2_2);
        rec("PSV_2_2=", &TVstup::PSV_2_2);
        rec("RN_2_2=", &TVstup::RN_2_2, true);
        rec("SO_2_3=", &TVstup::SO_2_3);
        rec("PSV_2_3=", &TVstup::PSV_2_3);
        rec("RN_2_3=", &TVstup::RN_2_3, true);
        rec("IS_2_4=", &TVstup::IS_2_4);
        rec("PSV_2_4=", &TVstup::PSV_2_4);
        rec("RN_2_4=", &TVstup::RN_2_4, true);
        rec("IS_2_5=", &TVstup::IS_2_5, true);
        rec("PSV_2_5=", &TVstup::PSV_2_5);
        rec("RN_2_5=", &TVstup::RN_2_5, true);
        rec("PD_2_6=", &TVstup::PD_2_6, true);
        rec("TFa_2_6=", &TVstup::TFa_2_6, true);
        rec("PSV_2_6=", &TVstup::PSV_2_6);
        rec("RN_2_6=", &TVstup::RN_2_6, true);

        integer("PM_3=", &TVstup::PM_3);
        list("VM_3=", &TVstup::VM_3);
        text("PSV_3=", &TVstup::PSV_3);
        text("AP_3=", &TVstup::AP_3);
        text("SO_3=", &TVstup::SO_3);
        text("SOPr_3=", &TVstup::SOPr_3, true);
        text("RSOPr_3=", &TVstup::RSOPr_3, true);

        integer("PM_4=", &TVstup::PM_4);
        list("VM_4=", &TVstup::VM_4);
        rec("PSV_4=", &TVstup::PSV_4);
        text("SOPr_4=", &TVstup::SOPr_4, true);
        text("AP_4=", &TVstup::AP_4);
        rec("SOP=", &TVstup::SOP);

        rec("SO_5=", &TVstup::SO_5, true);
        rec("PSV_5=", &TVstup::PSV_5, true);

        integer("PM_6=", &TVstup::PM_6);
        list("VM_6=", &TVstup::VM_6);
        rec("PSV_6=", &TVstup::PSV_6);
        text("AP_6=", &TVstup::AP_6);
        text("SO_6=", &TVstup::SO_6);
        text("RSO_6=", &TVstup::RSO_6);
        byte("OV_6=", &TVstup::OV_6);

        integer("PM_7=", &TVstup::PM_7);
        list("VM_7=", &TVstup::VM_7);
        textList("DM_7=", &TVstup::DM_7);
        textList("Meral_7=", &TVstup::Meral_7);
        text("SO_7=", &TVstup::SO_7);
        text("RSO_7=", &TVstup::RSO_7);
        text("PSV_7=", &TVstup::PSV_7);
        integer("RPSS_7=", &TVstup::RPSS_7);
        text("CLX_7=", &TVstup::CLX_7);
        text("CLR_7=", &TVstup::CLR_7);
        text("UCL_7=", &TVstup::UCL_7);
        text("LCL_7=", &TVstup::LCL_7);
        text("UWL_7=", &TVstup::UWL_7);
        text("LWL_7=", &TVstup::LWL_7);
        integer("UR_7=", &TVstup::UR_7);
        integer("R_OD_7=", &TVstup::R_OD_7);
        integer("R_DO_7=", &TVstup::R_DO_7);
        textList("NUB_7=", &TVstup::NUB_7);
        integer("OSO_7=", &TVstup::OSO_7);
        text("FD_7=", &TVstup::FD_7);
        integer("OV_7=", &TVstup::OV_7);
        byte("DD_7=", &TVstup::DD_7);
        integer("NPP_7=", &TVstup::NPP_7);
        byte("ZDM_7=", &TVstup::ZDM_7);
        byte("DPD_7=", &TVstup::DPD_7);

        integer("PM_8=", &TVstup::PM_8);
        textList("PBM_8=", &TVstup::PBM_8);
        list("VM_8=", &TVstup::VM_8);
        textList("DM_8=", &TVstup::DM_8);
        textList("Meral_8=", &TVstup::Meral_8);
        text("SO_8=", &TVstup::SO_8);
        text("RSO_8=", &TVstup::RSO_8);
        text("PSV_8=", &TVstup::PSV_8);
        integer("RPSS_8=", &TVstup::RPSS_8);
        text("CLX_8=", &TVstup::CLX_8);
        text("CLR_8=", &TVstup::CLR_8);
        integer("SV_UCL_LCL_8=", &TVstup::SV_UCL_LCL_8);
        text("UCL_8=", &TVstup::UCL_8);
        text("LCL_8=", &TVstup::LCL_8);
        text("UWL_8=", &TVstup::UWL_8);
        text("LWL_8=", &TVstup::LWL_8);
        integer("UR_8=", &TVstup::UR_8);
        integer("R_OD_8=", &TVstup::R_OD_8);
        integer("R_DO_8=", &TVstup::R_DO_8);
        textList("NUB_8=", &TVstup::NUB_8);
        text("FD_8=", &TVstup::FD_8);
        integer("OV_8=", &TVstup::OV_8);
        byte("DD_8=", &TVstup::DD_8);
        integer("NPP_8=", &TVstup::NPP_8);
        byte("ZDM_8=", &TVstup::ZDM_8);
        byte("DPD_8=", &TVstup::DPD_8);

        integer("PM_9=", &TVstup::PM_9);
        list("VM_9=", &TVstup::VM_9);
        rec("PSV_9=", &TVstup::PSV_9, true);
        text("AP_9=", &TVstup::AP_9, true);
        text("SO_9=", &TVstup::SO_9, true);
        text("RSO_9=", &TVstup::RSO_9, true);
        byte("OV_9=", &TVstup::OV_9);

        integer("PM_10=", &TVstup::PM_10);
        list("VM_10=", &TVstup::VM_10);
        text("PSV_10=", &TVstup::PSV_10, true);
        text("AP_10=", &TVstup::AP_10, true);
        text("SO_10=", &TVstup::SO_10, true);
        text("SOPr_10=", &TVstup::SOPr_10, true);
        text("RSOPr_10=", &TVstup::RSOPr_10, true);
        integer("OV_10=", &TVstup::OV_10);
        return k;
    }();
    return keys;
}

// The value keys of a cell (read only while values are taken).
bool IsCellValueKey(const QString& key)
{
    static const QStringList keys = { "VarValue=", "VarPren=", "VarCombUn=", "VarRelUn=", "VarRelRN=", "VarNrSV=",
        "SumFormula=", "SumFormulaDetails=", "RSN=", "Cov=", "CovFactor=", "MaticaKorelKoef=" };
    return keys.contains(key);
}

// A value that ends like a lock suffix ("~@#" and one character) would lose those
// characters to a lock when read back; a written lock of 0 keeps it whole.
QString GuardLockLike(const QString& value)
{
    const qsizetype n = value.size();
    if (n >= 4 && QStringView(value).mid(n - 4, 3) == QLatin1String("~@#"))
        return value + QLatin1String("~@#0");
    return value;
}

// Writer helpers: one field line, and a long field with its lock on a line of its own.
class LineWriter {
public:
    LineWriter(QString& text, const QString& indent)
        : text_(text)
        , indent_(indent)
    {
    }
    // A field without a lock is written as it stands; a field that carries one is
    // written with its lock, or guarded when the lock is 0.
    void Field(const char* key, const QString& value) { text_ += kCrLf + indent_ + QLatin1String(key) + value + ';'; }
    void Field(const char* key, const QString& value, quint8 lock)
    {
        text_ += kCrLf + indent_ + QLatin1String(key) + (lock ? value + LockSuffix(lock) : GuardLockLike(value)) + ';';
    }
    void FieldIfSet(const char* key, const QString& value)
    {
        if (!value.isEmpty())
            Field(key, value);
    }
    void FieldIfSet(const char* key, const QString& value, quint8 lock)
    {
        if (!value.isEmpty())
            Field(key, value, lock);
    }
    void Rec(const char* key, const TStringRec& rec) { Field(key, rec.Text, rec.Lock); }
    void RecIfSet(const char* key, const TStringRec& rec) { FieldIfSet(key, rec.Text, rec.Lock); }
    void Number(const char* key, int value, quint8 lock = 0) { Field(key, QString::number(value), lock); }
    void Long(const char* key, const QString& value)
    {
        AppendChunkedKeyLines(QLatin1String(key), indent_, value, text_);
    }
    void Long(const char* key, const QString& value, quint8 lock)
    {
        AppendChunkedKeyLines(QLatin1String(key), indent_, value, text_, true);
        if (lock != 0)
            text_ += kCrLf + indent_ + QLatin1String(key) + LockSuffix(lock) + ';';
    }

private:
    QString& text_;
    const QString& indent_;
};

void WriteSourceInputs(LineWriter& w, const TVstupStandardnejNeistoty& u)
{
    switch (u.TSN) {
    case 0:
        w.RecIfSet("KO=", u.KO);
        w.Number("TR_1=", u.TR_1, u.TR_1Lock);
        w.RecIfSet("PSV_1=", u.PSV_1);
        w.RecIfSet("RN_1=", u.RN_1);
        break;
    case 1:
        w.RecIfSet("IS_2_1=", u.IS_2_1);
        w.RecIfSet("PSV_2_1=", u.PSV_2_1);
        w.RecIfSet("RN_2_1=", u.RN_2_1);
        break;
    case 2:
        w.RecIfSet("IS_2_2=", u.IS_2_2);
        w.RecIfSet("PSV_2_2=", u.PSV_2_2);
        w.RecIfSet("RN_2_2=", u.RN_2_2);
        break;
    case 3:
        w.RecIfSet("SO_2_3=", u.SO_2_3);
        w.RecIfSet("PSV_2_3=", u.PSV_2_3);
        w.RecIfSet("RN_2_3=", u.RN_2_3);
        break;
    case 4:
        w.RecIfSet("IS_2_4=", u.IS_2_4);
        w.RecIfSet("PSV_2_4=", u.PSV_2_4);
        w.RecIfSet("RN_2_4=", u.RN_2_4);
        break;
    case 5:
        w.RecIfSet("IS_2_5=", u.IS_2_5);
        w.RecIfSet("PSV_2_5=", u.PSV_2_5);
        w.RecIfSet("RN_2_5=", u.RN_2_5);
        break;
    case 10:
        w.RecIfSet("TFa_2_6=", u.TFa_2_6);
        w.RecIfSet("PD_2_6=", u.PD_2_6);
        w.RecIfSet("PSV_2_6=", u.PSV_2_6);
        w.RecIfSet("RN_2_6=", u.RN_2_6);
        break;
    case 6:
        if (u.PM_3 < 1)
            break;
        w.Number("PM_3=", u.PM_3);
        w.Long("VM_3=", u.VM_3.Text, u.VM_3.Lock);
        w.Field("PSV_3=", u.PSV_3);
        w.Field("AP_3=", u.AP_3);
        w.Field("SO_3=", u.SO_3);
        w.Field("SOPr_3=", u.SOPr_3);
        w.Field("RSOPr_3=", u.RSOPr_3);
        break;
    case 7:
        if (u.PM_4 < 1)
            break;
        w.Number("PM_4=", u.PM_4);
        w.Long("VM_4=", u.VM_4.Text, u.VM_4.Lock);
        w.Rec("SOP=", u.SOP);
        w.Field("SOPr_4=", u.SOPr_4);
        w.Field("AP_4=", u.AP_4);
        w.Rec("PSV_4=", u.PSV_4);
        break;
    case 8:
        w.RecIfSet("SO_5=", u.SO_5);
        w.RecIfSet("PSV_5=", u.PSV_5);
        break;
    case 9:
        if (u.PM_6 < 1)
            break;
        w.Number("PM_6=", u.PM_6);
        w.Long("VM_6=", u.VM_6.Text, u.VM_6.Lock);
        w.Rec("PSV_6=", u.PSV_6);
        w.Field("AP_6=", u.AP_6);
        w.Field("SO_6=", u.SO_6);
        w.Field("RSO_6=", u.RSO_6);
        w.Number("OV_6=", u.OV_6);
        break;
    case 11:
        if (u.PM_7 < 1)
            break;
        w.Number("PM_7=", u.PM_7);
        w.Field("SO_7=", u.SO_7);
        w.Field("RSO_7=", u.RSO_7);
        w.Field("PSV_7=", u.PSV_7);
        w.Number("RPSS_7=", u.RPSS_7);
        w.Field("CLX_7=", u.CLX_7);
        w.Field("CLR_7=", u.CLR_7);
        w.Field("UCL_7=", u.UCL_7);
        w.Field("LCL_7=", u.LCL_7);
        w.Field("UWL_7=", u.UWL_7);
        w.Field("LWL_7=", u.LWL_7);
        w.Number("UR_7=", u.UR_7);
        w.Number("R_OD_7=", u.R_OD_7);
        w.Number("R_DO_7=", u.R_DO_7);
        w.Field("FD_7=", u.FD_7);
        w.Number("OSO_7=", u.OSO_7);
        w.Number("OV_7=", u.OV_7);
        w.Number("DD_7=", u.DD_7);
        w.Number("NPP_7=", u.NPP_7);
        w.Number("ZDM_7=", u.ZDM_7);
        w.Number("DPD_7=", u.DPD_7);
        w.Long("Meral_7=", u.Meral_7);
        w.Long("DM_7=", u.DM_7);
        w.Long("NUB_7=", u.NUB_7);
        w.Long("VM_7=", u.VM_7.Text, u.VM_7.Lock);
        break;
    case 12:
        if (u.PM_8 < 1)
            break;
        w.Number("PM_8=", u.PM_8);
        w.Field("SO_8=", u.SO_8);
        w.Field("RSO_8=", u.RSO_8);
        w.Field("PSV_8=", u.PSV_8);
        w.Number("RPSS_8=", u.RPSS_8);
        w.Field("CLX_8=", u.CLX_8);
        w.Field("CLR_8=", u.CLR_8);
        w.Number("SV_UCL_LCL_8=", u.SV_UCL_LCL_8);
        w.Field("UCL_8=", u.UCL_8);
        w.Field("LCL_8=", u.LCL_8);
        w.Field("UWL_8=", u.UWL_8);
        w.Field("LWL_8=", u.LWL_8);
        w.Number("UR_8=", u.UR_8);
        w.Number("R_OD_8=", u.R_OD_8);
        w.Number("R_DO_8=", u.R_DO_8);
        w.Field("FD_8=", u.FD_8);
        w.Number("OV_8=", u.OV_8);
        w.Number("DD_8=", u.DD_8);
        w.Number("NPP_8=", u.NPP_8);
        w.Number("ZDM_8=", u.ZDM_8);
        w.Number("DPD_8=", u.DPD_8);
        w.Long("PBM_8=", u.PBM_8);
        w.Long("Meral_8=", u.Meral_8);
        w.Long("DM_8=", u.DM_8);
        w.Long("NUB_8=", u.NUB_8);
        w.Long("VM_8=", u.VM_8.Text, u.VM_8.Lock);
        break;
    case 13:
        if (u.PM_9 < 1)
            break;
        w.Number("PM_9=", u.PM_9);
        w.Long("VM_9=", u.VM_9.Text, u.VM_9.Lock);
        w.Rec("PSV_9=", u.PSV_9);
        w.Field("AP_9=", u.AP_9);
        w.Field("SO_9=", u.SO_9);
        w.Field("RSO_9=", u.RSO_9);
        w.Number("OV_9=", u.OV_9);
        break;
    case 14:
        if (u.PM_10 < 1)
            break;
        w.Number("PM_10=", u.PM_10);
        w.Long("VM_10=", u.VM_10.Text, u.VM_10.Lock);
        w.Field("PSV_10=", u.PSV_10);
        w.Field("AP_10=", u.AP_10);
        w.Field("SO_10=", u.SO_10);
        w.Number("OV_10=", u.OV_10);
        break;
    default:
        break;
    }
}

// The degrees-of-freedom option line of the method (and the confidence index of
// method 4); other methods have none.
void WriteDegreesOfFreedomOption(LineWriter& w, const TVstupStandardnejNeistoty& u)
{
    switch (u.TSN) {
    case 0:
        w.Number("ZPSV_1=", u.ZPSV_1, u.ZPSV_1Lock);
        break;
    case 1:
        w.Number("ZPSV_2_1=", u.ZPSV_2_1, u.ZPSV_2_1Lock);
        break;
    case 2:
        w.Number("ZPSV_2_2=", u.ZPSV_2_2, u.ZPSV_2_2Lock);
        break;
    case 3:
        w.Number("ZPSV_2_3=", u.ZPSV_2_3, u.ZPSV_2_3Lock);
        break;
    case 4:
        w.Number("ZPSV_2_4=", u.ZPSV_2_4, u.ZPSV_2_4Lock);
        w.Number("HS=", u.HS, u.HSLock);
        break;
    case 5:
        w.Number("ZPSV_2_5=", u.ZPSV_2_5, u.ZPSV_2_5Lock);
        break;
    case 10:
        w.Number("ZPSV_2_6=", u.ZPSV_2_6, u.ZPSV_2_6Lock);
        break;
    default:
        break;
    }
}

} // namespace

QString TrimControl(const QString& text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin].unicode() <= ' ')
        ++begin;
    while (end > begin && text[end - 1].unicode() <= ' ')
        --end;
    return text.mid(begin, end - begin);
}

void StripKeyLineEnd(QString& line)
{
    line = TrimControl(line);
    if (line.endsWith(';'))
        line.chop(1);
}

void AppendChunkedKeyLines(
    const QString& key, const QString& indent, const QString& value, QString& text, bool guardLockLike)
{
    // Every line break becomes "@@@". A line feed without its carriage return (lines as
    // Qt's editors give them) is a line break too, so that two lines never run together.
    // The line feed of a break stays and starts a new physical line, which the reader
    // joins back, unless the next line holds a "=": read on its own, it could be taken
    // for a field or the end of the block, so it stays on the key line instead.
    QString v;
    v.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != '\r' && c != '\n') {
            v += c;
            continue;
        }
        const bool crLf = c == '\r' && i + 1 < value.size() && value[i + 1] == '\n';
        if (crLf)
            ++i;
        v += QLatin1String("@@@");
        if (c == '\n' || crLf) {
            qsizetype end = i + 1;
            while (end < value.size() && value[end] != '\r' && value[end] != '\n')
                ++end;
            if (!QStringView(value).mid(i + 1, end - i - 1).contains('='))
                v += '\n';
        }
    }
    constexpr int kPiece = 80;
    qsizetype start = 0;
    do {
        // 80 characters: a surrogate pair counts once and is never split.
        qsizetype pos = start;
        for (int count = 0; count < kPiece && pos < v.size(); ++count)
            pos += (v[pos].isHighSurrogate() && pos + 1 < v.size() && v[pos + 1].isLowSurrogate()) ? 2 : 1;
        QString piece = v.mid(start, pos - start);
        // Only a piece read as a key line loses a lock-like end; after a line feed the
        // rest is a continuation line, which is taken as it stands.
        if (guardLockLike && !piece.contains('\n'))
            piece = GuardLockLike(piece);
        text += kCrLf + indent + key + piece + ';';
        start = pos;
    } while (start < v.size());
}

namespace {

void TellHostOfSubtree(TCell& cell)
{
    cell.Changed();
    for (int i = 0; i < cell.ChildCount(); ++i)
        TellHostOfSubtree(*cell.Child(i));
}

} // namespace

THeldCellChanges::THeldCellChanges(TCell* cell)
    : cell_(cell)
{
    ++depth_;
}

THeldCellChanges::~THeldCellChanges()
{
    if (--depth_ > 0 || !cell_ || !cell_->Host())
        return;
    TCell* root = cell_;
    while (root->FParent)
        root = root->FParent;
    TellHostOfSubtree(*root);
}

TDiagramLineReader::TDiagramLineReader(QIODevice& device)
    : device_(device)
{
    if (device_.isSequential())
        return;
    buffered_ = true;
    start_ = device_.pos();
    bytes_ = device_.readAll();
}

TDiagramLineReader::~TDiagramLineReader()
{
    if (buffered_)
        device_.seek(start_ + next_);
}

bool TDiagramLineReader::AtEnd() const
{
    return buffered_ ? next_ >= bytes_.size() : device_.atEnd();
}

QString TDiagramLineReader::ReadLine()
{
    QByteArrayView line;
    QByteArray read;
    if (buffered_) {
        const qsizetype lineFeed = bytes_.indexOf('\n', next_);
        const qsizetype end = lineFeed < 0 ? bytes_.size() : lineFeed + 1;
        line = QByteArrayView(bytes_).sliced(next_, end - next_);
        next_ = end;
    } else {
        read = device_.readLine();
        line = read;
    }
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

QString TCell::SaveToText()
{
    FTextBuffer.clear();
    AppendText(FTextBuffer);
    QString result;
    result.swap(FTextBuffer);
    return result;
}

// Children write into their parent's text, so that a deep tree is not copied once per
// level.
void TCell::AppendText(QString& t)
{
    if (FParent)
        FIndent = FParent->FIndent + "  ";
    const QString fieldIndent = FIndent + "  ";
    LineWriter w(t, fieldIndent);

    t += kCrLf + FIndent + kBeginCell + QString::number(FId) + ';';
    w.Number("CellType=", FCellType, FCellTypeLock);
    w.Rec("CellName=", FCellName);
    if (StoreCellComments && !FCellComment.Text.isEmpty())
        w.Long("CellComment=", FCellComment.Text, FCellComment.Lock);
    w.RecIfSet("VarSumbol=", FSymbol);

    if (FCellType == kEquationCell) {
        w.RecIfSet("VarName=", FQuantityName);
        w.RecIfSet("VarUnit=", FUnit);
        w.Field("Equation=", FEquation, FEquationLock);
        w.Number("Cov=", FCoverage, FCoverageLock);
        if (StoreCellComments) {
            w.RecIfSet("VarValue=", FValue);
            w.FieldIfSet("VarCombUn=", FCombinedUncertainty);
            w.FieldIfSet("VarRelUn=", FRelativeUncertainty);
            w.FieldIfSet("VarRelRN=", FRelativeExpandedUncertainty);
            w.FieldIfSet("VarNrSV=", FDegreesOfFreedom);
            w.FieldIfSet("RSN=", FExpandedUncertainty);
            w.RecIfSet("CovFactor=", FCoverageFactor);
            if (!FCorrelationMatrix.Text.isEmpty())
                w.Long("MaticaKorelKoef=", FCorrelationMatrix.Text, FCorrelationMatrix.Lock);
        }
    } else if (FCellType == kQuantityCell) {
        w.RecIfSet("VarName=", FQuantityName);
        w.RecIfSet("VarUnit=", FUnit);
        w.Number("ValueType=", FValueType, FValueTypeLock);
        if (StoreCellComments) {
            w.RecIfSet("VarValue=", FValue);
            if (FValueType == 0) {
                if (!FValue.Text.isEmpty())
                    w.Number("VarPren=", FValueTransferred);
                w.FieldIfSet("VarCombUn=", FCombinedUncertainty);
                w.FieldIfSet("VarRelUn=", FRelativeUncertainty);
                w.FieldIfSet("VarRelRN=", FRelativeExpandedUncertainty);
                w.FieldIfSet("VarNrSV=", FDegreesOfFreedom);
            } else if (FValueType == 2) {
                w.FieldIfSet("VarCombUn=", FCombinedUncertainty);
                w.FieldIfSet("VarRelUn=", FRelativeUncertainty);
                w.FieldIfSet("VarRelRN=", FRelativeExpandedUncertainty);
                w.RecIfSet("SumFormula=", FSumFormula);
                if (!FSumFormulaDetails.Text.isEmpty())
                    w.Long("SumFormulaDetails=", FSumFormulaDetails.Text, FSumFormulaDetails.Lock);
            }
        }
    } else if (FCellType == kUncertaintyCell) {
        const TVstupStandardnejNeistoty& u = FUncertaintyInput;
        w.Number("TSN=", u.TSN, u.TSNLock);
        w.Number("USType=", u.USType);
        w.Number("Active=", FActive ? 1 : 0, FActiveLock);
        WriteDegreesOfFreedomOption(w, u);
        if (StoreCellComments) {
            w.FieldIfSet("HSN=", u.HSN);
            w.FieldIfSet("EDate=", u.EDate);
            WriteSourceInputs(w, u);
        }
    }

    w.Number("NrChildCells=", ChildCount());
    for (auto& child : FChildren)
        child->AppendText(t);
    t += kCrLf + FIndent + kEndCell + QString::number(FId) + ';';
}

void TCell::RestoreCommentLineBreaks()
{
    FCellComment.Text.replace(QLatin1String("@@@"), QLatin1String("\r"));
}

void TCell::ApplySourceKey(const QString& key, const QString& value)
{
    TVstupStandardnejNeistoty& u = FUncertaintyInput;
    if (key == QLatin1String("HSN=")) {
        u.HSN = Cleaned(value);
        FCombinedUncertainty = u.HSN;
        return;
    }
    if (key == QLatin1String("EDate=")) {
        u.EDate = value;
        return;
    }
    const SourceKey& d = SourceKeys()[key];
    QString v = value;
    switch (d.kind) {
    case SourceKind::Lockable: {
        TStringRec& r = u.*d.rec;
        r.Lock = StripLockSuffix(v);
        r.Text = d.raw ? v : Cleaned(v);
        if (key == QLatin1String("IS_2_1=") && r.Text == QLatin1String("SQRT(3)*"))
            r.Text = QStringLiteral("SQRT(3)");
        break;
    }
    case SourceKind::LockableList: {
        TAnsiStringRec& r = u.*d.list;
        if (const quint8 lock = StripLockSuffix(v))
            r.Lock = lock;
        r.Text += v;
        break;
    }
    case SourceKind::TextList:
        u.*d.text += v;
        break;
    case SourceKind::Text:
        u.*d.text = d.raw ? v : Cleaned(v);
        break;
    case SourceKind::Integer:
        u.*d.integer = IntegerOf(key, v);
        break;
    case SourceKind::Byte:
        u.*d.byte = ByteOf(key, v);
        if (key == QLatin1String("DD_7=") || key == QLatin1String("DD_8="))
            ChartType = u.*d.byte;
        break;
    case SourceKind::LockedByte:
        u.*d.lock = StripLockSuffix(v);
        u.*d.byte = ByteOf(key, v);
        break;
    }
    // Relative results are derived from what was read; a stored relative line read later
    // overrides them.
    auto derive = [](const QString& s, const QString& mean, QString& relative) {
        if (!s.isEmpty() && s != QLatin1String("0"))
            relative = PercentOfText(s, mean);
    };
    if (key == QLatin1String("SO_6="))
        derive(u.SO_6, u.AP_6, u.RSO_6);
    else if (key == QLatin1String("SOPr_3="))
        derive(u.SOPr_3, u.AP_3, u.RSOPr_3);
    else if (key == QLatin1String("SO_9="))
        derive(u.SO_9, u.AP_9, u.RSO_9);
}

void TCell::ParseKeyLine(const QString& line)
{
    const qsizetype eq = line.indexOf('=');
    const QString key = eq < 0 ? QString() : line.left(eq + 1);
    const QString value = eq < 0 ? QString() : line.mid(eq + 1);
    bool recognised = false;
    bool commentLine = false;

    // A value line is read only while values are taken; the first one may ask whether
    // they are to be taken at all.
    auto valueGate = [&recognised]() {
        if (!LoadValuesOnPaste)
            return false;
        recognised = true;
        if (AskOnPaste) {
            if (MessageDlg(GetString(250), TMsgDlgType::mtConfirmation, mbYes | mbNo) == mrYes)
                AskOnPaste = false;
            else
                LoadValuesOnPaste = false;
        }
        return LoadValuesOnPaste;
    };

    QString v = value;
    if (key.isEmpty()) {
        // not a key line
    } else if (key == QLatin1String("CellType=")) {
        recognised = true;
        FCellTypeLock = StripLockSuffix(v);
        FCellType = ByteOf(key, v);
    } else if (key == QLatin1String("CellName=")) {
        recognised = true;
        FCellName.Lock = StripLockSuffix(v);
        FCellName.Text = v;
        FitCaption();
    } else if (key == QLatin1String("VarSumbol=") || key == QLatin1String("VarUnit=")
        || key == QLatin1String("VarName=")) {
        recognised = true;
        TStringRec& r = key == QLatin1String("VarSumbol=") ? FSymbol
            : key == QLatin1String("VarUnit=")             ? FUnit
                                                           : FQuantityName;
        r.Lock = StripLockSuffix(v);
        r.Text = v;
    } else if (key == QLatin1String("ValueType=")) {
        recognised = true;
        FValueTypeLock = StripLockSuffix(v);
        FValueType = ByteOf(key, v);
        if (FValueType == 2)
            FDegreesOfFreedom = QStringLiteral("Nekonecno");
    } else if (key == QLatin1String("CellComment=")) {
        // Comments are always read, except from a paste while the comment switch is off.
        if (CommentsPasteToTempates || !ReadingClipboardPaste) {
            recognised = true;
            commentLine = true;
            CommentContinuation = true;
            if (const quint8 lock = StripLockSuffix(v))
                FCellComment.Lock = lock;
            FCellComment.Text += v;
        }
    } else if (IsCellValueKey(key)) {
        if (valueGate()) {
            if (key == QLatin1String("VarValue=")) {
                FValue.Lock = StripLockSuffix(v);
                FValue.Text = Cleaned(v);
            } else if (key == QLatin1String("VarPren=")) {
                FValueTransferred = ByteOf(key, v);
            } else if (key == QLatin1String("VarCombUn=")) {
                FCombinedUncertainty = Cleaned(v);
            } else if (key == QLatin1String("VarRelUn=")) {
                FRelativeUncertainty = Cleaned(v);
            } else if (key == QLatin1String("VarRelRN=")) {
                FRelativeExpandedUncertainty = Cleaned(v);
            } else if (key == QLatin1String("VarNrSV=")) {
                FDegreesOfFreedom = Cleaned(v);
            } else if (key == QLatin1String("RSN=")) {
                FExpandedUncertainty = Cleaned(v);
            } else if (key == QLatin1String("SumFormula=")) {
                FSumFormula.Lock = StripLockSuffix(v);
                FSumFormula.Text = v;
            } else if (key == QLatin1String("SumFormulaDetails=") || key == QLatin1String("MaticaKorelKoef=")) {
                TStringRec& r = key == QLatin1String("SumFormulaDetails=") ? FSumFormulaDetails : FCorrelationMatrix;
                if (const quint8 lock = StripLockSuffix(v))
                    r.Lock = lock;
                r.Text += v;
            } else if (key == QLatin1String("Cov=")) {
                FCoverageLock = StripLockSuffix(v);
                FCoverage = ByteOf(key, Cleaned(v));
            } else if (key == QLatin1String("CovFactor=")) {
                FCoverageFactor.Lock = StripLockSuffix(v);
                FCoverageFactor.Text = Cleaned(v);
            }
        }
    } else if (key == QLatin1String("TSN=")) {
        recognised = true;
        SourceKeysLoaded = true;
        FUncertaintyInput.TSNLock = StripLockSuffix(v);
        bool ok = false;
        const int method = TrimControl(v).toInt(&ok);
        // A method that does not convert, or is not one of the fifteen, leaves it unchanged.
        if (ok && method >= 0 && method <= 14)
            FUncertaintyInput.TSN = quint8(method);
    } else if (key == QLatin1String("Perc=")) {
        recognised = true;
        const QString t = TrimControl(v);
        if (t == QLatin1String("0"))
            FUncertaintyInput.USType = 1;
        else if (t == QLatin1String("1"))
            FUncertaintyInput.USType = 2;
    } else if (key == QLatin1String("USType=")) {
        recognised = true;
        bool ok = false;
        const int kind = TrimControl(v).toInt(&ok);
        if (ok && kind >= 0 && kind <= 255)
            FUncertaintyInput.USType = quint8(kind);
    } else if (key == QLatin1String("HSN=") || key == QLatin1String("EDate=") || SourceKeys().contains(key)) {
        const bool gated = key == QLatin1String("HSN=") || key == QLatin1String("EDate=") || SourceKeys()[key].gated;
        if (!gated) {
            recognised = true;
            ApplySourceKey(key, v);
        } else if (valueGate()) {
            ApplySourceKey(key, v);
        }
    } else if (key == QLatin1String("Active=")) {
        recognised = true;
        FActiveLock = StripLockSuffix(v);
        bool ok = false;
        const int active = TrimControl(v).toInt(&ok);
        if (ok)
            FActive = active != 0;
    } else if (key == QLatin1String("Equation=")) {
        recognised = true;
        FEquationLock = StripLockSuffix(v);
        FEquation = v;
        FNormalizedEquation = v;
        FNormalizedEquation.remove(' ');
    }

    if (recognised && !commentLine)
        CommentContinuation = false;
    else if (!recognised && CommentContinuation)
        FCellComment.Text += TrimControl(line);
}

void TCell::ReadCellBlock(TDiagramLineReader& file, const QString& blockId, int depth)
{
    const QString endLine = kEndCell + blockId;
    while (!file.AtEnd()) {
        QString line = file.ReadLine();
        StripKeyLineEnd(line);
        if (line == endLine)
            break;
        if (line.startsWith(kNrChildCells)) {
            RestoreCommentLineBreaks();
            RefreshDisplay();
            const QString count = line.mid(kNrChildCells.size());
            bool ok = false;
            const qint64 n = TrimControl(count).toLongLong(&ok);
            if (!ok)
                ThrowNotInteger(kNrChildCells, count);
            if (n > 0)
                LoadChildrenFromText(file, n, depth + 1);
        } else {
            ParseKeyLine(line);
        }
    }
}

void TCell::LoadChildrenFromText(TDiagramLineReader& file, qint64 count, int depth)
{
    if (depth >= kMaxDiagramDepth)
        throw EDiagramTextError(
            QStringLiteral("The diagram is nested deeper than %1 levels and cannot be read.").arg(kMaxDiagramDepth));
    // The count is a claim of the text: reading stops at its end whatever it says.
    for (qint64 i = 0; i < count && !file.AtEnd(); ++i) {
        QString line = file.ReadLine();
        CommentContinuation = false;
        StripKeyLineEnd(line);
        if (!line.startsWith(kBeginCell))
            continue;
        TCell* child = AddChild(TPrenosInfoDoNovejBunky());
        child->ClearFields();
        child->ReadCellBlock(file, line.mid(kBeginCell.size()), depth);
    }
}

bool TCell::LoadFromReader(TDiagramLineReader& file, bool asChild, QString* error)
{
    TSuspendedUpdates suspended(FHost);
    THeldCellChanges held(this);
    SourceKeysLoaded = false;
    CommentContinuation = false;
    // A root is placed at the diagram's origin; a cell inside a tree keeps its row.
    if (!asChild && !FParent) {
        int x = DiagramOriginX, y = DiagramOriginY;
        LayoutSubtree(x, y);
    }
    try {
        QString line;
        int blankLines = 0;
        for (;;) {
            if (file.AtEnd())
                return true;
            line = file.ReadLine();
            if (!TrimControl(line).isEmpty())
                break;
            if (++blankLines > 10)
                return true;
        }
        StripKeyLineEnd(line);
        if (!line.startsWith(kBeginCell))
            return true;
        const QString blockId = line.mid(kBeginCell.size());
        TCell* target = this;
        if (asChild)
            target = AddChild(TPrenosInfoDoNovejBunky());
        target->ClearFields();
        target->ReadCellBlock(file, blockId, asChild ? 1 : 0);
        if (!asChild)
            PropagateUnitToSources();
        RefreshDisplay();
        return true;
    } catch (const EDiagramTextError& e) {
        if (error)
            *error = e.Message();
        RefreshDisplay();
        return false;
    }
}

namespace {

bool OpenDiagramFile(QFile& file, QString* error)
{
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open %1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    if (file.size() > kMaxDiagramTextBytes) {
        if (error)
            *error
                = QStringLiteral("%1 is too large to be a diagram (%2 bytes).").arg(file.fileName()).arg(file.size());
        return false;
    }
    return true;
}

bool CheckDeviceSize(QIODevice& device, QString* error)
{
    if (!device.isSequential() && device.size() > kMaxDiagramTextBytes) {
        if (error)
            *error = QStringLiteral("The text is too large to be a diagram (%1 bytes).").arg(device.size());
        return false;
    }
    return true;
}

} // namespace

bool TCell::LoadFromDevice(QIODevice& device, QString* error)
{
    if (!CheckDeviceSize(device, error))
        return false;
    TDiagramLineReader reader(device);
    return LoadFromReader(reader, false, error);
}

bool TCell::LoadFromFile(const QString& fileName, QString* error)
{
    QFile file(fileName);
    if (!OpenDiagramFile(file, error))
        return false;
    return LoadFromDevice(file, error);
}

bool TCell::LoadChildFromDevice(QIODevice& device, QString* error)
{
    if (!CheckDeviceSize(device, error))
        return false;
    TDiagramLineReader reader(device);
    return LoadFromReader(reader, true, error);
}

bool TCell::LoadChildFromFile(const QString& fileName, QString* error)
{
    QFile file(fileName);
    if (!OpenDiagramFile(file, error))
        return false;
    return LoadChildFromDevice(file, error);
}

} // namespace orvek
