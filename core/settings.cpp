#include "core/settings.h"

#include "core/common_vars.h"
#include "core/files.h"
#include "platform/registry.h"

#include <QtEndian>
#include <cmath>

namespace orvek {

namespace {

constexpr double kExponentBelowLimits[] = { 0.1, 0.01, 0.001, 1E-4, 1E-5, 1E-6, 1E-7 };
constexpr double kExponentAboveLimits[] = { 99, 999, 9999, 99999, 999999, 9999999 };

// Integers rounded half to even, as every zoomed length is.
int RoundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

// A stored folder is usable when it exists and is writable where it is.
bool UsableFolder(const QString& path)
{
    if (path.isEmpty() || !DirectoryExists(path))
        return false;
    quint8 type = DriveTypeOfLetter(path);
    return type == DRIVE_FIXED || type == DRIVE_REMOTE;
}

QString DefaultTreesDir()
{
    return AppDir + "Examples";
}
QString DefaultReportsDir()
{
    return AppDir + "Reports";
}
QString DefaultAdminBackupDir()
{
    return AppDir + "AdminBackup/";
}

void ApplyPathRules()
{
    if (!UsableFolder(TreesDir))
        TreesDir = DefaultTreesDir();
    if (!UsableFolder(ReportsDir))
        ReportsDir = DefaultReportsDir();
    if (!UsableFolder(AdminBackupDir))
        AdminBackupDir = DefaultAdminBackupDir();
}

template <size_t N> QByteArray IntsToBytes(const std::array<qint32, N>& values)
{
    QByteArray bytes(int(N * 4), '\0');
    for (size_t i = 0; i < N; ++i)
        qToLittleEndian<qint32>(values[i], bytes.data() + i * 4);
    return bytes;
}

template <size_t N> void BytesToInts(const QByteArray& bytes, std::array<qint32, N>& values)
{
    for (size_t i = 0; i < N; ++i)
        values[i] = qFromLittleEndian<qint32>(bytes.constData() + i * 4);
}

// Reading goes value by value: a value that is missing or of another form keeps the
// default already in its variable, and the reading goes on with the next one.
class SettingsReader {
public:
    explicit SettingsReader(TRegistry& reg)
        : reg_(reg)
    {
    }

    QString Path(const char* name, const QString& fallback)
    {
        auto value = reg_.ReadString(name);
        return value && UsableFolder(*value) ? *value : fallback;
    }
    template <typename T> void Int(const char* name, T& target)
    {
        if (auto value = reg_.ReadInteger(name))
            target = static_cast<T>(*value);
    }
    void Bool(const char* name, bool& target)
    {
        if (auto value = reg_.ReadBool(name))
            target = *value;
    }
    template <size_t N> void Ints(const char* name, std::array<qint32, N>& target)
    {
        if (auto bytes = reg_.ReadBinary(name, int(N * 4)))
            BytesToInts(*bytes, target);
    }
    // A layout of an older program version is replaced by an empty one, which
    // CheckTableLayouts then fills with the default columns.
    void Layout(const char* name, TTableInfo& target)
    {
        auto bytes = reg_.ReadBinary(name, TTableInfo::kSize);
        if (!bytes)
            return;
        TTableInfo stored = TTableInfo::FromBytes(*bytes);
        if (stored.HasCurrentTag()) {
            target = stored;
        } else {
            target = TTableInfo();
            reg_.WriteBinary(name, target.ToBytes());
        }
    }

private:
    TRegistry& reg_;
};

} // namespace

QByteArray TTableInfo::ToBytes() const
{
    QByteArray bytes(kSize, '\0');
    const QByteArray t = tag.left(10);
    bytes[0] = char(t.size());
    for (int i = 0; i < t.size(); ++i)
        bytes[1 + i] = t[i];
    bytes.replace(12, 20, IntsToBytes(order));
    bytes.replace(32, 20, IntsToBytes(width));
    return bytes;
}

TTableInfo TTableInfo::FromBytes(const QByteArray& bytes)
{
    TTableInfo info;
    if (bytes.size() != kSize)
        return info;
    int length = qMin(int(quint8(bytes[0])), 10);
    info.tag = bytes.mid(1, length);
    BytesToInts(bytes.mid(12, 20), info.order);
    BytesToInts(bytes.mid(32, 20), info.width);
    return info;
}

void DeriveExponentLimits()
{
    if (ExponentBelowIndex < std::size(kExponentBelowLimits))
        ExponentBelowLimit = kExponentBelowLimits[ExponentBelowIndex];
    if (ExponentAboveIndex < std::size(kExponentAboveLimits))
        ExponentAboveLimit = kExponentAboveLimits[ExponentAboveIndex];
}

void LoadSettings()
{
    TRegistry reg;
    if (!reg.KeyExists(SetupKeyPath)) {
        SaveSettings();
        return;
    }
    if (!reg.OpenKey(SetupKeyPath, false))
        return;
    SettingsReader read(reg);

    TreesDir = read.Path("PathForTrees", DefaultTreesDir());
    ReportsDir = read.Path("DefaultDirToSave", DefaultReportsDir());
    AdminBackupDir = read.Path("LastAdminBackupPath", DefaultAdminBackupDir());

    if (auto zoom = reg.ReadFloat("ZoomCoefficient"))
        ZoomCoefficient = (std::isfinite(*zoom) && *zoom >= 0.5 && *zoom <= 3.5) ? *zoom : 1.0;
    read.Int("CellHeight", CellHeight);
    read.Int("CellWidth", CellWidth);
    read.Int("HorizontalBondWidth", HorizontalBondWidth);
    read.Int("BeginHorizontalBond", BeginHorizontalBond);
    read.Int("VertDistanceBetweenCells", VertDistanceBetweenCells);
    read.Int("HorizPlusMinus", HorizPlusMinus);
    read.Int("VertPlusMinus", VertPlusMinus);
    read.Int("PlusMinusWidth", PlusMinusWidth);
    read.Int("PlusMinusHeight", PlusMinusHeight);
    read.Int("CellColorFilledVal", CellColorFilledVal);
    read.Int("CellColorUnFilledVal", CellColorUnFilledVal);
    read.Int("CellColorChecked", CellColorChecked);
    read.Int("CellColorFilledNeistota", CellColorFilledNeistota);
    read.Int("CellColorUnFilledNeistota", CellColorUnFilledNeistota);
    read.Int("CellColorNeaktivnaNeistota", CellColorNeaktivnaNeistota);
    read.Int("BackgroundColor", BackgroundColor);
    if (auto size = reg.ReadInteger("DefaultFontSize"))
        MarkupFontSize = DefaultFontSize = *size;
    read.Int("CellFontSize", CellFontSize);
    read.Bool("PovolenaZmenaFarbyOznacenejBunky", PovolenaZmenaFarbyOznacenejBunky);
    read.Bool("CommentsPasteToTempates", CommentsPasteToTempates);
    read.Bool("ZeroToCalculations", ZeroToCalculations);
    if (auto digits = reg.ReadInteger("PocetPlatnychCislic"))
        SignificantDigits = (*digits >= 1 && *digits <= 8) ? quint8(*digits) : quint8(2);
    read.Int("ExponencialnyTvarPod", ExponentBelowIndex);
    read.Int("ExponencialnyTvarNad", ExponentAboveIndex);
    read.Ints("RelativeWindowSize_OrvekDB", WindowSizeOrvekDB);
    read.Ints("RelativeWindowSize_Orvek1", WindowSizeOrvek1);
    read.Layout("Orvek1TableInfo", Orvek1TableInfo);
    read.Layout("OrvekDBTableInfo", OrvekDBTableInfo);

    read.Int("LastLoggedInUserID", LastLoggedInUserID);
    DeriveExponentLimits();
    if (CellHeight == 0)
        CellHeight = 18;
    if (CellWidth == 0)
        CellWidth = 5 * CellHeight;
    if (HorizontalBondWidth == 0)
        HorizontalBondWidth = CellHeight;
    if (BeginHorizontalBond == 0)
        BeginHorizontalBond = CellWidth / 3;
    if (VertDistanceBetweenCells == 0)
        VertDistanceBetweenCells = 4;
    // A language the string table has no column for would leave every caption empty.
    if (auto language = reg.ReadInteger("LanguageID"))
        LanguageID = (*language >= 0 && *language <= 2) ? quint8(*language) : EditionFlag;
    read.Int("PocetStartov", StartCount);
    if (auto hundredths = reg.ReadInteger("PreviewPrinter_FooterMargin")) {
        float margin = float(*hundredths) / 100.0f;
        PreviewFooterMargin = (margin < 0.1f || margin > 2.0f) ? 0.5f : margin;
    }
    if (auto font = reg.ReadString("CellFontName"); font && !font->isEmpty())
        CellFontName = *font;
    if (auto seconds = reg.ReadInteger("AutoObnovaPrihlasenychUsers"))
        LoggedUsersRefreshSeconds = (*seconds <= 0 || *seconds > 100) ? 5 : *seconds;
    reg.CloseKey();
}

void SaveSettings()
{
    TRegistry reg;
    if (!reg.OpenKey(SetupKeyPath, true))
        return;
    ApplyPathRules();
    Orvek1TableInfo.tag = TTableInfo::kTag;
    OrvekDBTableInfo.tag = TTableInfo::kTag;
    // Values are written in a fixed order; the first failure ends the writing.
    const bool written = reg.WriteString("PathForTrees", TreesDir) && reg.WriteString("DefaultDirToSave", ReportsDir)
        && reg.WriteString("LastAdminBackupPath", AdminBackupDir) && reg.WriteFloat("ZoomCoefficient", ZoomCoefficient)
        && reg.WriteInteger("CellHeight", CellHeight) && reg.WriteInteger("CellWidth", CellWidth)
        && reg.WriteInteger("HorizontalBondWidth", HorizontalBondWidth)
        && reg.WriteInteger("BeginHorizontalBond", BeginHorizontalBond)
        && reg.WriteInteger("VertDistanceBetweenCells", VertDistanceBetweenCells)
        && reg.WriteInteger("HorizPlusMinus", HorizPlusMinus) && reg.WriteInteger("VertPlusMinus", VertPlusMinus)
        && reg.WriteInteger("PlusMinusWidth", PlusMinusWidth) && reg.WriteInteger("PlusMinusHeight", PlusMinusHeight)
        && reg.WriteInteger("CellColorFilledVal", int(CellColorFilledVal))
        && reg.WriteInteger("CellColorUnFilledVal", int(CellColorUnFilledVal))
        && reg.WriteInteger("CellColorChecked", int(CellColorChecked))
        && reg.WriteInteger("DefaultFontSize", DefaultFontSize) && reg.WriteInteger("CellFontSize", CellFontSize)
        && reg.WriteInteger("CellColorFilledNeistota", int(CellColorFilledNeistota))
        && reg.WriteInteger("CellColorUnFilledNeistota", int(CellColorUnFilledNeistota))
        && reg.WriteInteger("CellColorNeaktivnaNeistota", int(CellColorNeaktivnaNeistota))
        && reg.WriteBool("PovolenaZmenaFarbyOznacenejBunky", PovolenaZmenaFarbyOznacenejBunky)
        && reg.WriteInteger("BackgroundColor", int(BackgroundColor)) && reg.WriteInteger("LanguageID", LanguageID)
        && reg.WriteBool("CommentsPasteToTempates", CommentsPasteToTempates)
        && reg.WriteBool("ZeroToCalculations", ZeroToCalculations)
        && reg.WriteInteger("PocetPlatnychCislic", SignificantDigits)
        && reg.WriteInteger("ExponencialnyTvarPod", ExponentBelowIndex)
        && reg.WriteInteger("ExponencialnyTvarNad", ExponentAboveIndex)
        && reg.WriteBool("MoreGroupsOfFolders", MoreGroupsOfFolders)
        && reg.WriteBinary("RelativeWindowSize_OrvekDB", IntsToBytes(WindowSizeOrvekDB))
        && reg.WriteBinary("RelativeWindowSize_Orvek1", IntsToBytes(WindowSizeOrvek1))
        && reg.WriteBinary("Orvek1TableInfo", Orvek1TableInfo.ToBytes())
        && reg.WriteBinary("OrvekDBTableInfo", OrvekDBTableInfo.ToBytes()) &&
        // Rounded, not truncated: a margin of 0.29 must not shrink on every save.
        reg.WriteInteger("PreviewPrinter_FooterMargin", int(std::lround(PreviewFooterMargin * 100.0)))
        && reg.WriteString("CellFontName", CellFontName) && reg.WriteInteger("PocetStartov", StartCount)
        && reg.WriteInteger("LastLoggedInUserID", LastLoggedInUserID)
        && reg.WriteInteger("AutoObnovaPrihlasenychUsers", LoggedUsersRefreshSeconds);
    Q_UNUSED(written);
    reg.CloseKey();
}

void SetDefaultDiagramSettings()
{
    HighlightMode = 0;
    ZoomCoefficient = 1.0;
    ZoomPresetIndex = 3;
    CellHeight = RoundHalfEven(18 * ZoomCoefficient);
    CellWidth = 250;
    CellColorFilledVal = 0x00FFFF;
    CellColorUnFilledVal = 0x41BCFE;
    CellColorChecked = 0x00FF00;
    CellColorFilledNeistota = 0xFFFFA8;
    CellColorUnFilledNeistota = 0xFEBC8B;
    CellColorNeaktivnaNeistota = 0xFFA4FF;
    BackgroundColor = 0xFFFFFF;
    HighlightColors = { 0x0000FF, 0xC0C0C0, 0x00FFFF, 0xFF8000, 0x0000FF, 0xC0C0C0, 0xFF0000 };
    PovolenaZmenaFarbyOznacenejBunky = true;
    HorizontalBondWidth = CellHeight;
    BeginHorizontalBond = CellWidth / 3;
    HorizPlusMinus = VertPlusMinus = 1;
    PlusMinusWidth = PlusMinusHeight = 9;
    DiagramOriginX = DiagramOriginY = 20;
    MarkupFontName = "Arial";
    CellFontName = MarkupFontName;
    CellFontSize = 10;
    MarkupFontSize = int(std::trunc(ZoomCoefficient * 10)) > 5 ? CellHeight / 2 - 1 : 0;
    VertDistanceBetweenCells = CellHeight / 5;
    ScaleLayoutToZoom();
}

void ScaleLayoutToZoom()
{
    ZoomedCellHeight = RoundHalfEven(CellHeight * ZoomCoefficient);
    ZoomedCellWidth = RoundHalfEven(CellWidth * ZoomCoefficient);
    ZoomedHorizontalBondWidth = RoundHalfEven(HorizontalBondWidth * ZoomCoefficient);
    ZoomedBeginHorizontalBond = RoundHalfEven(BeginHorizontalBond * ZoomCoefficient);
    ZoomedVertDistance = RoundHalfEven(VertDistanceBetweenCells * ZoomCoefficient);
    ZoomedPlusMinusWidth = RoundHalfEven(PlusMinusWidth * ZoomCoefficient);
    ZoomedPlusMinusHeight = RoundHalfEven(PlusMinusHeight * ZoomCoefficient);
    ZoomedHorizPlusMinus = HorizPlusMinus;
    ZoomedVertPlusMinus = VertPlusMinus;
    ZoomedPlusMinusSlot = ZoomedPlusMinusWidth + 4;
    // Zoom 0.3 and 0.4 give 0: the platform's default height.
    const int n = int(std::trunc(ZoomCoefficient * 10));
    DefaultFontSize = n > 4 ? n - 1 : 0;
}

void UpdateZoomPresetText()
{
    ZoomPresetFactors[0] = float(ZoomCoefficient);
    QString percent = QString::number(RoundHalfEven(ZoomCoefficient * 100));
    if (percent.size() == 2)
        percent.prepend("  ");
    ZoomPresetTexts[0] = percent + "%";
    ZoomPresetIndex = 0;
}

void CheckTableLayouts()
{
    auto outside = [](const auto& values, int count, int low, int high) {
        for (int i = 0; i < count; ++i)
            if (values[i] < low || values[i] > high)
                return true;
        return false;
    };
    if (outside(Orvek1TableInfo.order, 5, 3, 7)) {
        Orvek1TableInfo.order = { 6, 3, 5, 4, 7 };
        Orvek1TableInfo.width = { 69, 45, 58, 70, 50 };
    }
    if (outside(OrvekDBTableInfo.order, 4, 2, 5)) {
        const qint32 fifthOrder = OrvekDBTableInfo.order[4], fifthWidth = OrvekDBTableInfo.width[4];
        OrvekDBTableInfo.order = { 3, 4, 5, 2, fifthOrder };
        OrvekDBTableInfo.width = { 90, 56, 106, 81, fifthWidth };
    }
}

void SaveLastRecordOfUser(int userID, int recordID)
{
    if (userID <= 0)
        return;
    TRegistry reg;
    if (reg.OpenKey(SetupKeyPath, true))
        reg.WriteInteger(QString("UserID%1").arg(userID), recordID);
}

void LoadLastRecordOfUser(int userID, int& recordID)
{
    if (userID <= 0)
        return;
    recordID = 0;
    TRegistry reg;
    if (reg.OpenKey(SetupKeyPath, false))
        if (auto stored = reg.ReadInteger(QString("UserID%1").arg(userID)))
            recordID = *stored;
}

void WriteDBStatus(const QString& text)
{
    TRegistry reg;
    if (reg.OpenKey(SetupKeyPath, true))
        reg.WriteString("DBStatus", text);
}

void ReadDBStatus(QString& text)
{
    text.clear();
    TRegistry reg;
    if (reg.OpenKey(SetupKeyPath, false))
        text = reg.ReadString("DBStatus").value_or(QString());
}

void ReadUserDataPath()
{
    TRegistry reg;
    if (reg.OpenKey(SetupKeyPath, false))
        if (auto path = reg.ReadString("PathToUserData"))
            UserDataDir = *path;
}

} // namespace orvek
