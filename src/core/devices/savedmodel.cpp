#include "devices/savedmodel.h"

#include "devices/findmodel.h"
#include "settings/settings.h"

namespace qm {

SelectModelResult activatesavedmodel(const DeviceTable& table, SettingsStore& settings,
                                     ActiveModel& activemodel) {
    const std::string saved = getsetting(settings, kSettingModel, kDefaultModel);
    // A name written into the settings by hand ("16F877A") must not be read by its leading
    // number as model 16; any other text is read as it always was.
    const int32_t named = findmodel(table, saved);
    const StartupModel startup =
        named != 0 ? StartupModel{named, false} : startupmodelnumber(saved, table.modelcount());
    if (startup.savedefault) savesetting(settings, kSettingModel, kDefaultModel);
    activemodel.modelnumber = startup.modelnumber;
    return selectmodel(table, startup.modelnumber, activemodel);
}

}  // namespace qm
