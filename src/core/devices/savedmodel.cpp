#include "devices/savedmodel.h"

#include "settings/settings.h"

namespace qm {

SelectModelResult activatesavedmodel(const DeviceTable& table, SettingsStore& settings,
                                     ActiveModel& activemodel) {
    const std::string saved = getsetting(settings, kSettingModel, kDefaultModel);
    const StartupModel startup = startupmodelnumber(saved, table.modelcount());
    if (startup.savedefault) savesetting(settings, kSettingModel, kDefaultModel);
    activemodel.modelnumber = startup.modelnumber;
    return selectmodel(table, startup.modelnumber, activemodel);
}

}  // namespace qm
