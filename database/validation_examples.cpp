#include "database/validation_examples.h"

#include "core/common_vars.h"
#include "database/template_storage.h"

#include <QDir>
#include <QFileInfo>

namespace orvek {

const std::array<TValidationExample, 8>& ValidationExamples()
{
    static const std::array<TValidationExample, 8> examples { {
        { "Action_S2", 920, "S2_Kalibracia_zavazia_s_nominalnou_hmotnostou_10_kg.stm",
            "S2_Calibration_of_a_weight_of_nominal_value_10_kg.stm" },
        { "Action_S3", 800, "S3_Kalibracia_etalonu_elektrickeho_odporu.stm",
            "S3_Calibration_of_a_nominal_10_kOhm_standard_resistor.stm" },
        { "Action_S4", 801, "S4_Kalibracia_koncovej_mierky_s_nominalnou_dlzkou_50_mm.stm",
            "S4_Calibration_of_a_gauge_block_of_nominal_length_50_mm.stm" },
        { "Action_S5_1", 802, "S5_1_Kalibracia_termoelektrickeho_snimaca_teploty_typu_N_Teplota_pece.stm",
            "S5_1_Calibration_of_a_type_N_thermocouple_at_1000_C_Furnace_temperature.stm" },
        { "Action_S5_2", 803, "S5_2_Kalibracia_termoelektrickeho_snimaca_teploty_typu_N_pri_1000_C.stm",
            "S5_2_Calibration_of_a_type_N_thermocouple_at_1000_C.stm" },
        { "Action_S6", 933, "S6_Kalibracia_snimaca_vykonu_pri_frekvencii_18_GHz.stm",
            "S6_Calibration_of_a_power_sensor_at_a_frequency_of_18_GHz.stm" },
        { "Action_S7", 934, "S7_Kalibracia_koaxialneho_stupnoviteho_utlmoveho_clena_pri_nastaveni_30_dB.stm",
            "S7_Calibration_of_a_coaxial_step_attenuator_at_a_setting_of_30_dB_incremental_loss.stm" },
        { "Action_PSV", 942, "Validacia_vypoctu_efektivneho_poctu_stupnov_volnosti.stm",
            "Validation_of_calculation_of_degree_of_freedom.stm" },
    } };
    return examples;
}

const TValidationExample* ValidationExampleOf(const QString& action)
{
    for (const TValidationExample& example : ValidationExamples())
        if (action == QLatin1String(example.Action))
            return &example;
    return nullptr;
}

QString ValidationFolder(int languageId)
{
    return AppDir + (languageId == 1 ? QStringLiteral("Validation/SK/") : QStringLiteral("Validation/EN/"));
}

QString ValidationFileName(const TValidationExample& example, int languageId)
{
    return QString::fromLatin1(languageId == 1 ? example.SlovakFile : example.EnglishFile);
}

QString ValidationTemplateName(const QString& fileName)
{
    QString name = fileName;
    name.chop(4);
    return name.replace(QLatin1Char('_'), QLatin1Char(' '));
}

TExampleLookup FindOrImportValidationExample(
    QSqlDatabase& db, const TTemplateTarget& target, const QString& folder, const QString& fileName)
{
    TExampleLookup lookup;
    const QString name = ValidationTemplateName(fileName);
    lookup.TemplateID = FindValidationTemplate(db, target.GroupID, name);
    if (lookup.TemplateID != 0 || !QFileInfo(folder).isDir())
        return lookup;
    const QString path = QDir(folder).filePath(fileName);
    if (!QFileInfo::exists(path))
        return lookup;
    TTemplateTarget into = target;
    if (!EnsureValidationFolder(db, target.GroupID, into.FolderID, &lookup.Error))
        return lookup;
    int id = 0;
    if (ImportModelFile(
            db, into, kValidationCreator, path, name, TImportNaming::BlanksForUnderscores, id, &lookup.Error)) {
        lookup.TemplateID = id;
        lookup.Imported = true;
        lookup.FolderID = into.FolderID;
    }
    return lookup;
}

} // namespace orvek
