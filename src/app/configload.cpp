#include "app/configload.h"

#include "app/configstate.h"
#include "app/settingsstore.h"
#include "app/startup.h"
#include "common/datetext.h"
#include "common/paths.h"
#include "common/val.h"
#include "grid/calibrationstate.h"
#include "grid/gridcontext.h"
#include "grid/gridfileoperations.h"
#include "grid/transform.h"

int GridCountFromSetting(const QString& text)
{
    const double value = Val(text);
    if (value == 2)
        return 2;
    if (value == 3)
        return 3;
    return 1;
}

QString ResultsFilePathFor(const QString& txtVideoDirText, const QDate& date)
{
    return JoinPath(VideoDirectoryFromText(txtVideoDirText),
                    MakeDatedFileName(QStringLiteral("JumpMeasurementResults"), date));
}

QString LabelColorFromSettings(SettingsStore& settings)
{
    const QString stored = settings.ReadSetting(QStringLiteral("labelcolor"));
    if (stored.isEmpty()) {
        settings.WriteSetting(QStringLiteral("labelcolor"), QStringLiteral("default"));
        return QStringLiteral("default");
    }
    if (stored == QLatin1String("white") || stored == QLatin1String("black")
        || stored == QLatin1String("yellow"))
        return stored;
    return QStringLiteral("default");
}

void ApplyTournamentTypeSetting(ConfigState& config, const QString& value)
{
    const TournamentType type = TournamentTypeFromSetting(value);
    config.barefootMode = type == TournamentType::Barefoot;
    config.sitSkiMode = type == TournamentType::SitSki;
}

QString GridFileKey(int grid)
{
    return QStringLiteral("grid%1File").arg(grid);
}

GridFileStatus GridFileStatusOf(const SettingsStore& settings, int grid)
{
    return PathExistsByKind(settings.ReadSetting(GridFileKey(grid)), 0) ? GridFileStatus::Present
                                                                         : GridFileStatus::Missing;
}

QString GridStatusPicture(GridFileStatus status)
{
    return status == GridFileStatus::Present ? QStringLiteral("SmallSmiley.jpg")
                                             : QStringLiteral("SmallCaution.jpg");
}

namespace {

// Clears reportInProgress however the reload ends.
class ReportInProgress {
public:
    explicit ReportInProgress(ConfigState& config) : m_config(config) { m_config.reportInProgress = true; }
    ~ReportInProgress() { m_config.reportInProgress = false; }
    ReportInProgress(const ReportInProgress&) = delete;
    ReportInProgress& operator=(const ReportInProgress&) = delete;

private:
    ConfigState& m_config;
};

} // namespace

void ReloadConfiguredGrids(GridContext& context, const GridFileLoader& load)
{
    const ReportInProgress guard(context.config);
    for (int grid = CalibrationState::maxGrids; grid >= 1; --grid) {
        const QString path = context.settings.ReadSetting(GridFileKey(grid));
        if (!PathExistsByKind(path, 0))
            continue;
        context.calibration.currentGrid = grid;
        if (load)
            load(context, path, grid);
        else
            load_grid_file_by_path(context, path, grid);
    }
}

QString SaveModeFromSetting(const QString& value)
{
    if (value == QLatin1String("Save") || value == QLatin1String("NoSave"))
        return value;
    return QStringLiteral("Ask");
}
